// Stand-in commands for tests: their type, text and answers are set by the test.
#pragma once

#include <functional>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "model/tree_node.h"
#include "scripts/script.h"
#include "support/fake_ui_port.h"

class TStub : public TScript {
public:
  TStub(TBlock* block, TTreeNode* node, int type, std::string text)
      : TScript(block, node), Type(type), Text(std::move(text)) {}
  // Like a section's opening line, releases its commands in front of itself.
  ~TStub() override {
    while (AExpNode && AExpNode->HasChildren())
      AExpNode->GetFirstChild()->MoveTo(AExpNode, TNodeAttachMode::naInsert);
  }
  int Edit() override { return EditResult; }
  TScript* Execute() override { return Pnextscript; }
  TScript* ExecuteTrace(std::vector<std::string>&) override { return Pnextscript; }
  bool CanMakeCopyScript() override { return true; }
  bool CanHaveChildren() override { return Opens; }
  bool SetNextScript() override { return TScript::SetNextScript() && Runs; }
  void CheckAfterRead() override { ++Checks; }
  std::string GetText() override { return Text; }
  int GetScriptType() const override { return Type; }
  TScript* GetRepeatScript() const override { return Repeat; }

  int Type;
  std::string Text;
  bool Opens = false;
  bool Runs = true;
  int Checks = 0;
  int EditResult = 0;
  TScript* Repeat = nullptr;
};

// A stand-in that logs its text when it runs, notes where it ran, then does its action.
class TLogStub : public TStub {
public:
  TLogStub(TBlock* block, TTreeNode* node, const std::string& text, std::vector<std::string>& log)
      : TStub(block, node, TScript::CALCULATE, text), Log(log) {}
  TScript* Execute() override {
    Log.push_back(Text);
    RanInHandOver = TFakeUiPort::InHandOver();
    RanOn = std::this_thread::get_id();
    if (Action) Action();
    return Next ? Next : Pnextscript;
  }
  bool RunInMainThread() override { return MainThread; }

  std::vector<std::string>& Log;
  std::function<void()> Action;
  TScript* Next = nullptr;  // answered instead of the next command
  bool MainThread = false;
  bool RanInHandOver = false;
  std::thread::id RanOn;
};

// A stand-in for the debug window: notes its runs in Ran, leaves two trace lines ("<text>
// did", "<text> done"), then does its action (which may throw or press a button); its
// edit runs OnEdit.
class TTracedStub : public TStub {
public:
  TTracedStub(TBlock* block, TTreeNode* node, const std::string& text, std::vector<std::string>& ran)
      : TStub(block, node, TScript::CALCULATE, text), Ran(ran) {}
  // A normal run does the action alone.
  TScript* Execute() override {
    if (Action) Action();
    return Pnextscript;
  }
  TScript* ExecuteTrace(std::vector<std::string>& trace) override {
    Ran.push_back(Text);
    trace.push_back(Text + " did");
    trace.push_back(Text + " done");
    if (Action) Action();
    return Pnextscript;
  }
  int Edit() override {
    if (OnEdit) OnEdit();
    return 1;
  }

  std::vector<std::string>& Ran;
  std::function<void()> Action;
  std::function<void()> OnEdit;
};
