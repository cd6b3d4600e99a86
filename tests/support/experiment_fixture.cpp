#include "support/experiment_fixture.h"

#include <algorithm>
#include <thread>
#include <utility>

#include "model/data_list.h"
#include "model/errors.h"
#include "model/experiment_running.h"
#include "model/variable.h"
#include "scripts/flow/blank_script.h"
#include "scripts/flow/comment_script.h"
#include "scripts/flow/else_script.h"
#include "scripts/flow/end_if_script.h"
#include "scripts/flow/if_then_script.h"
#include "scripts/flow/increment_script.h"
#include "scripts/flow/label_script.h"
#include "scripts/flow/repeat_script.h"
#include "scripts/flow/repeat_until_script.h"

using namespace std::chrono_literals;

TBytes B(bool value) { return TBytes{static_cast<std::uint8_t>(value)}; }

TBytes I32(std::int32_t value) { return Le32(static_cast<std::uint32_t>(value)); }

// TExperimentFixture

void TExperimentFixture::TearDown() { ExperimentRunning = false; }

TBlock* TExperimentFixture::NewBlock(const std::string& title) {
  auto* block = new TBlock(&Exp, Tree.Add(nullptr, "No Title"), Parts.AddBlock(title, {}));
  block->SetTitle(title);
  return block;
}

TBlock* TExperimentFixture::AddBlock(const std::string& caption) {
  return Exp.AddBlock(Parts.AddBlock(caption, {}));
}

TDrawLine* TExperimentFixture::Line(TBlock* from, TBlock* to) {
  return Parts.Connect(from->GetDrawBlock(), to->GetDrawBlock());
}

TTreeNode* TExperimentFixture::NewNode(TBlock* block, TScript* parent, const std::string& text) {
  TTreeNode* lines = parent ? parent->AExpNode : block->AExpNode;
  TBlankScript* blank = Exp.GetBlankScript();
  if (blank && blank->AExpNode->GetParent() == lines) return Tree.Insert(blank->AExpNode, text);
  return Tree.AddChild(lines, text);
}

TLogStub* TExperimentFixture::Logged(TBlock* block, const std::string& text, TScript* parent) {
  return new TLogStub(block, NewNode(block, parent, text), text, Ran);
}

TDataSingle* TExperimentFixture::Single(TBlock* block, const std::string& name, int type,
                                        const std::string& initial) {
  auto* variable = static_cast<TDataSingle*>(Exp.GetDataSingleList()->Add(block, type, 1, name));
  if (!initial.empty()) variable->SetInitialValue(initial);
  return variable;
}

TDataArray* TExperimentFixture::Array(TBlock* block, const std::string& name, int type,
                                      std::int32_t size) {
  return static_cast<TDataArray*>(Exp.GetDataArrayList()->Add(block, type, size, name));
}

std::string TExperimentFixture::Outline(const TTreeNode* node, const std::string& separator) {
  std::string text;
  for (TTreeNode* child = node->GetFirstChild(); child; child = child->GetNextSibling()) {
    if (!text.empty()) text += separator;
    text += child->GetText();
    if (child->HasChildren()) text += "[" + Outline(child, separator) + "]";
  }
  return text;
}

TTexts TExperimentFixture::Children(const TTreeNode* node) {
  TTexts texts;
  for (TTreeNode* child = node->GetFirstChild(); child; child = child->GetNextSibling())
    texts.push_back(child->GetText());
  return texts;
}

int TExperimentFixture::Times(const TTexts& texts, const std::string& text) {
  return static_cast<int>(std::count(texts.begin(), texts.end(), text));
}

TBlock* TExperimentFixture::StartRun() {
  Exp.SelectFirstBlock();
  TBlock* start = Exp.Run();
  EXPECT_NE(start, nullptr);
  return start;
}

TTexts TExperimentFixture::TraceOf(TScript* command) {
  TTexts trace;
  command->ExecuteTrace(trace);
  return trace;
}

void TExperimentFixture::Prepare(TBlock* block) {
  block->SetAsStartBlock();
  EXPECT_TRUE(block->PrepareForRun());
}

TTexts TExperimentFixture::Run(TBlock* block) {
  Prepare(block);
  TTexts run;
  for (TScript* s = block->GetFirstScript(); s && run.size() < 1000; s = s->Execute())
    run.push_back(s->GetText());
  return run;
}

TTexts TExperimentFixture::Trace(TBlock* block, int skipped) {
  Prepare(block);
  TTexts trace;
  for (TScript* s = block->GetFirstScript(); s && trace.size() < 1000;) {
    TTexts lines;
    TScript* next = s->ExecuteTrace(lines);
    if (s->GetScriptType() != skipped) trace.insert(trace.end(), lines.begin(), lines.end());
    s = next;
  }
  return trace;
}

TTexts TExperimentFixture::RunOnWorker(TBlock* first, std::function<void()> finished) {
  Ui.Clear();
  Ran.clear();
  Thread = std::make_unique<TExperimentThread>(std::move(finished));
  Thread->SetFirstBlock(first);
  Thread->Start();
  JoinWithin(20s);
  ExperimentRunning = false;  // as the main window does after the join
  return Ui.Texts();
}

void TExperimentFixture::JoinWithin(std::chrono::seconds limit) {
  const auto deadline = std::chrono::steady_clock::now() + limit;
  while (!Thread->Finished() && std::chrono::steady_clock::now() < deadline)
    std::this_thread::sleep_for(1ms);
  if (!Thread->Finished()) {
    ADD_FAILURE() << "the run did not end";
    Thread->Terminate();
  }
  Thread->Join();
}

TBytes TExperimentFixture::Written(const std::function<void(TWriteFile&)>& write,
                                   const std::string& name, std::vector<TVariable*>* exported) {
  TWriteFile writer(Temp.PathOf(name), exported != nullptr);
  write(writer);
  if (exported) *exported = *writer.GetBlockVariableList();
  writer.Commit();
  return Temp.ReadBytes(name);
}

TBytes TExperimentFixture::Written(const std::vector<TScript*>& scripts,
                                   std::vector<TVariable*>* exported) {
  return Written(
      [&scripts](TWriteFile& writer) {
        for (TScript* s : scripts) s->Save(writer);
      },
      "w.qrv", exported);
}

std::string TExperimentFixture::ReadingError(const TBytes& bytes, const std::vector<int>& types,
                                             TData* variable, std::int32_t id) {
  TBlock* block = NewBlock("Read");
  std::string error;
  try {
    ReadInto(block, bytes, types, variable, id);
    block->CheckAfterRead();
  } catch (const EReadError& e) {
    error = e.what();
  }
  delete block;  // with whatever was read
  return error;
}

std::string TExperimentFixture::CheckError(TScript* script) {
  try {
    script->CheckAfterRead();
  } catch (const EReadError& error) {
    return error.what();
  }
  return "";
}

std::unique_ptr<TReadFile> TExperimentFixture::Reader(const TBytes& bytes,
                                                      const std::string& version) {
  auto reader = std::make_unique<TReadFile>(Temp.WriteBytes("r.qrv", bytes));
  reader->SetVersion(version);
  return reader;
}

std::vector<TScript*> TExperimentFixture::ReadInto(TBlock* block, const TBytes& bytes,
                                                   const std::vector<int>& types, TData* variable,
                                                   std::int32_t id) {
  std::unique_ptr<TReadFile> reader = Reader(bytes);
  std::vector<TScript*> read;
  for (int type : types) {
    read.push_back(TBlock::CreateScriptByType(block, type, NewNode(block)));
    read.back()->Load(*reader);
  }
  EXPECT_EQ(reader->BytesLeft(), 0u);
  if (variable)
    for (TVariable* waiting : reader->GetVariableList().Waiting()) waiting->ResolveLoadedLink(variable, id);
  return read;
}

TCommentScript* TExperimentFixture::Comment(const std::string& text, TScript* parent) {
  auto* comment = new TCommentScript(Cur, NewNode(Cur, parent));
  comment->SetComment(text);
  return comment;
}

TLabelScript* TExperimentFixture::Label(const std::string& title, TScript* parent) {
  auto* label = new TLabelScript(Cur, NewNode(Cur, parent));
  label->SetTitle(title);
  return label;
}

TRepeatScript* TExperimentFixture::Repeat(TLabelScript* label, std::int32_t count,
                                          TScript* parent) {
  auto* repeat = new TRepeatScript(Cur, NewNode(Cur, parent));
  repeat->SetLabel(label, count);
  return repeat;
}

TIncrementScript* TExperimentFixture::Increment(TDataSingle* variable, const std::string& step,
                                             TScript* parent) {
  auto* increment = new TIncrementScript(Cur, NewNode(Cur, parent));
  increment->SetUpIncrement(variable, step);
  return increment;
}

TIfThenScript* TExperimentFixture::If(TData* variable, const std::string& constant, int comparison,
                                   TScript* parent) {
  auto* ifthen = new TIfThenScript(Cur, NewNode(Cur, parent));
  ifthen->SetConstantCondition(variable, constant, comparison);
  return ifthen;
}

TElseScript* TExperimentFixture::Else(TScript* parent) {
  return new TElseScript(Cur, NewNode(Cur, parent));
}

TEndIfScript* TExperimentFixture::EndIf(TIfThenScript* ifthen, TElseScript* elsescript,
                                     TScript* parent) {
  auto* endif = new TEndIfScript(Cur, NewNode(Cur, parent));
  endif->LinkSection(ifthen, elsescript);
  return endif;
}

TRepeatUntilScript* TExperimentFixture::Until(TLabelScript* label, TData* variable,
                                           const std::string& constant, int comparison,
                                           TScript* parent) {
  auto* until = new TRepeatUntilScript(Cur, NewNode(Cur, parent));
  until->SetLabel(label);
  until->SetConstantCondition(variable, constant, comparison);
  return until;
}
