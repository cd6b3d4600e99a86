// Base of every command of an experiment: one line of a block in the experiment tree.
// A command runs on the worker thread, is edited through its dialog, saved and loaded,
// moved in the tree, commented out and, for most types, copied to the clipboard.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "model/experiment_object.h"

class TBlock;
class TCopyScript;
class TData;
class TReadFile;
class TReport;
class TWriteFile;

class TScript : public TExperimentObject {
public:
  // Command type numbers: they select the class in the block's factory and stand before
  // each command record in files.
  enum TScriptType {
    SEND = 0,
    SENDGPIB = 1,
    SENDRS232 = 2,
    SERIALPOLL = 3,
    READ = 4,
    PLOT = 5,
    CALCULATE = 6,
    WAIT = 7,
    LABEL = 8,
    REPEAT = 9,
    DECISION = 10,
    REPUNTIL = 11,
    INCREMENT = 12,
    IFTHEN = 13,
    ELSE = 14,
    ENDIF = 15,
    BLANK = 16,
    COMMENT = 17,
    READFILE = 18,
    SENDBINARY = 19,
    CLEARPLOT = 20,
    CONCATENATE = 21,
    CLEARDEVICEBUFFER = 22,
    OUTPUTTOFILE = 23,
    CREATENEWFILE = 24,
  };

  // Node colours, in blue-green-red order.
  static constexpr std::uint32_t OddLevelColour = 0xFF0000;   // blue
  static constexpr std::uint32_t EvenLevelColour = 0x0000FF;  // red

  // A given node gets no image, and the indentation of its level.
  TScript(TBlock* block, TTreeNode* node);

  // Custom drawing: indented lines in their level's colour, comments and commented-out
  // lines in italics, the latter between "/*" and "*/". False: the default drawing.
  bool DrawNode(TNodeStyle& style) override;
  TExperimentType GetExperimentType() const override { return aiSCRIPT; }
  // Opens the dialog of the command's type on it (the command table); answers the
  // dialog's result, 0 for a type without a dialog.
  int Edit() override;
  // Runs the command on the worker thread; answers the command to run next, none at
  // the end of the block. Failures throw EExperimentError.
  virtual TScript* Execute() = 0;
  // Runs as Execute does and appends the trace lines of the debug window.
  virtual TScript* ExecuteTrace(std::vector<std::string>& trace) = 0;
  // May the command go to the clipboard.
  virtual bool CanMakeCopyScript() = 0;
  // Appends one listing line: a tab per level of the node, then the text.
  virtual void AddTextLine(TReport& report);
  // Takes the settings of a copy record (paste).
  virtual void SetUp(TCopyScript* copyscript);
  // A new copy record of the command; none from the base.
  virtual TCopyScript* MakeCopyScript();
  virtual bool DefaultFalseQuery() { return false; }
  virtual bool IsDeviceScript() { return false; }
  // Run preparation: Pnextscript := the command of the next node in run order. False
  // stops the pre-run check (the command has shown why).
  virtual bool SetNextScript();
  // The base record: identifier, commented-out flag.
  virtual void Save(TWriteFile& writer);
  // Reads the base record; the flag only from files of version 1.4 on.
  virtual void Load(TReadFile& reader);
  // Pblock := the block of the command's node.
  virtual void SetBlock();
  // May the command be dropped on the node of the block.
  virtual bool CanMoveTo(TBlock* block, TTreeNode* node);
  // Moves the command to the node it was dropped on.
  virtual void MoveTo(TTreeNode* movenode);
  // The node that follows in run order; none at the end of the block.
  virtual TTreeNode* GetNextNode();
  // After a whole document is read: resolves identifiers, raises EReadError when the
  // command is incomplete.
  virtual void CheckAfterRead() {}
  // The node that takes the selection when this command is deleted.
  virtual TTreeNode* GetFollowingNode() { return GetNextNode(); }
  // Moves the node next to (in front of) or under (last child of) the top command's
  // node; section lines adopt and release their commands through it.
  virtual void MoveNode(TScript* topscript, bool asChild);
  virtual bool CanHaveChildren() { return false; }
  virtual bool IsIndented();
  virtual bool OpensSection() { return false; }
  virtual bool ClosesSection() { return false; }
  // Alternating by level: odd blue, even red.
  virtual std::uint32_t GetNodeColor();
  // The node text of the command.
  virtual std::string GetText() = 0;
  virtual int GetScriptType() const = 0;
  // The variables the command writes; none.
  virtual TData* GetStoredData() { return nullptr; }
  virtual TData* GetSecondStoredData() { return nullptr; }
  // Sets the flag and repaints the views.
  virtual void SetCommentedOut(bool commentedOut);
  virtual bool CanCommentOut() { return true; }
  // True makes the worker run Execute on the main thread.
  virtual bool RunInMainThread() { return false; }
  // The Repeat linked to a Label (none for every other command): a Label with its
  // Repeat opens a section that ends at the Repeat's node.
  virtual TScript* GetRepeatScript() const { return nullptr; }

  // Shows GetText on the command's node (and debug node) and expands their parents.
  void UpdateNodeText();

  bool AbIndented = false;          // drawn as an indented line (level 2 or more)
  TBlock* Pblock;                   // the block that owns the command
  TScript* Pnextscript = nullptr;   // the command run after this one; set before a run
  std::int32_t PreadscriptID = -1;  // the identifier read from a file
  bool AbCommentedOut = false;      // drawn between "/*" and "*/", does nothing when run

protected:
  // The colour of a level.
  static std::uint32_t ColourOfLevel(int level);
};

// The command a node of the experiment tree holds; none for a node without data or
// with a block.
TScript* ScriptOfNode(const TTreeNode* node);
