// The experiment held in memory: its title and file name, the experiment tree of blocks
// and commands, the attribute tree with the five attribute lists, the blank line that
// marks where new commands go, the check before a run and the end of a run, the
// experiment body of experiment files, block export and import, and the experiment
// report.
#pragma once

#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "model/tree_node.h"

class TBlankScript;
class TBlock;
class TData;
class TDataSingleList;
class TDataArrayList;
class TDrawBlock;
class TExpObjClipboard;
class TMultiExpFileList;
class TOutputList;
class TReadFile;
class TReport;
class TSingleExpFileList;
class TWriteFile;

// The parts of the experiment report.
struct TReportOptions {
  bool Commands = false;
  bool Outputs = false;
  bool SingleVariables = false;
  bool ArrayVariables = false;
  bool SingleFiles = false;
  bool MultipleFiles = false;
};

class TExperiment {
public:
  // Makes the five lists with their roots in the attribute tree (outputs, single
  // variables, array variables, single files, multiple files), titles the experiment
  // "Experiment 1", shows the title in the main window's caption and tells the main
  // window that the experiment is not modified (message 2024 with 0 and 1).
  TExperiment();
  // Destroys the blocks, first node first, then the lists; meanwhile no block passes
  // the start flag on or deletes its variables (the lists do) and no message is shown.
  ~TExperiment();
  TExperiment(const TExperiment&) = delete;
  TExperiment& operator=(const TExperiment&) = delete;

  TTree& GetExperimentTree() { return ExperimentTree; }
  TTree& GetAttributeTree() { return AttributeTree; }
  TOutputList* GetOutputList() const { return Poutputlist.get(); }
  TDataSingleList* GetDataSingleList() const { return Pdatasinglelist.get(); }
  TDataArrayList* GetDataArrayList() const { return Pdataarraylist.get(); }
  TSingleExpFileList* GetSingleExpFileList() const { return Psingleexpfilelist.get(); }
  TMultiExpFileList* GetMultiExpFileList() const { return Pmultiexpfilelist.get(); }

  const std::string& GetTitle() const { return Title; }
  // Keeps the title and shows "Qorv Current Experiment: " + title as the caption.
  void SetTitle(const std::string& title);
  // The experiment file last saved or opened; empty before.
  const std::string& GetFileName() const { return FileName; }
  void SetFileName(const std::string& fileName) { FileName = fileName; }

  // A block for a new box of the diagram (required). The only block of the experiment
  // becomes the start block, captioned "Start Block", and the current block; any other
  // takes the box's caption as its title.
  TBlock* AddBlock(TDrawBlock* box);
  // A block without a box, titled title, for code that needs no diagram.
  TBlock* AddBlock(const std::string& title);

  // Makes the block of the node (none: the first block) the current block: the blank
  // line moves to its end (or is made there) and panel 1 of the status bar shows its
  // title. While a run is active only panel 1 is emptied. Nothing without blocks.
  void SelectBlock(TTreeNode* node);
  // Moves the blank line: without a node to the end of its block; into the previous
  // sibling of the node when that command can have children; else just before the node.
  // Answers the node that followed the blank line before; none without a blank line.
  TTreeNode* MoveBlankScript(TTreeNode* node);
  // The block the blank line stands in; none without a blank line.
  TBlock* GetCurrentBlock() const;
  bool HasBlocks() const { return ExperimentTree.GetFirstNode() != nullptr; }
  // The blank line: the insertion point for new commands; none while removed.
  TBlankScript* GetBlankScript() const { return Pblankscript; }
  // The blank line leaves through this.
  void SetBlankScript(TBlankScript* script) { Pblankscript = script; }
  // True while the experiment is being destroyed: blocks then pass no start flag on
  // and show no message.
  bool IsClearing() const { return Clearing; }
  // Set by Run, cleared by SelectFirstBlock at the end of the run.
  bool IsRunning() const { return Running; }

  // The single variables of the block, then its array variables.
  void GetBlockVariables(TBlock* block, std::vector<TData*>& list) const;
  // All single variables, then all array variables.
  void GetAllVariables(std::vector<TData*>& list) const;

  // The check before a run. Removes the blank line, lets the data-file lists and then
  // every block prepare; answers the start block, or none when the run must not start
  // (each refusal has shown why, except that of an empty experiment). A refusal puts
  // the blank line back where it stood.
  TBlock* PreRunCheck();
  // The check before a run; when it accepts, sets the running mark and answers the
  // start block, which the worker thread runs from. A data file that cannot find its
  // number (the search answered No, or the numbers are used up) shows why and refuses.
  TBlock* Run();
  // The end of a run: clears the running mark and selects the first block.
  void SelectFirstBlock();
  // After the worker has ended: the end-of-run steps of the outputs, then of the single
  // and the multiple data files. The data files close also when an output's step fails;
  // that failure is passed on afterwards.
  void ResetOutputsAndFiles();

  // The experiment body of experiment files. The title becomes the file's name; the
  // blank line is not written and stands where it stood afterwards, also when writing
  // fails. Then the file name is the writer's and the main window hears that the
  // experiment is not modified.
  void Save(TWriteFile& writer);
  // Reads the body into this new experiment; boxes are those read with the diagram,
  // each of which must show one block read. EReadError for damaged data.
  void Load(TReadFile& reader, std::vector<TDrawBlock*>& boxes);
  // The body of block files: the block and what its commands use. The writer exports.
  void SaveBlock(TWriteFile& writer, TBlock* block);
  // Reads a block file's body into a new block that takes the box over (box becomes
  // none). On failure the new block is deleted with the box, the outputs and data files
  // read are removed and the error passed on.
  TBlock* LoadBlock(TReadFile& reader, TDrawBlock*& box);
  // How many outputs, single files and multiple files the experiment has: taken before
  // a block import, so that a failed one can remove what it added.
  struct TAttributeMark {
    int Outputs = 0;
    int SingleFiles = 0;
    int MultipleFiles = 0;
  };
  TAttributeMark MarkAttributes() const;
  // Deletes the outputs and data files added after the mark (they stand at the ends of
  // their lists). Their commands must be gone: delete the imported block first.
  void RemoveAttributesAfter(const TAttributeMark& mark);
  // After a whole file is read: every command resolves the identifiers it read.
  void CheckAfterRead();
  // The experiment listing: the parts the options choose, in their order.
  void WriteReport(TReport& report, const TReportOptions& options) const;

  // The one-command clipboard of the experiment, made on first use.
  TExpObjClipboard& GetClipboard();
  // The clipboard when it has been made; none otherwise and while the experiment goes.
  TExpObjClipboard* FindClipboard() const { return Pclipboard.get(); }

  // Guards the variables' values between the worker, which writes them during a run,
  // and the main thread, which shows them meanwhile. Recursive, so that a value made
  // on first use inside a locked write takes it again.
  std::recursive_mutex& GetValueLock() { return ValueLock; }

private:
  // Where the blank line stood while it is removed for a save or a run.
  struct TBlankPlace {
    TBlock* Block = nullptr;  // none: there was no blank line
    TTreeNode* Parent = nullptr;
    TTreeNode* Next = nullptr;       // the node that followed it; none at the end
    TTreeNode* Selected = nullptr;   // the selection apart from the blank line
    bool WasSelected = false;
  };
  TBlankPlace RemoveBlankScript();
  // Makes the blank line again at its place, with the selection as it was.
  void RestoreBlankScript(const TBlankPlace& place);
  // The pre-run check after the blank line is removed.
  TBlock* CheckBlocks();
  // The top-level nodes of the experiment tree, as blocks.
  std::vector<TBlock*> Blocks() const;

  TTree ExperimentTree;
  TTree AttributeTree;
  std::string FileName;
  std::string Title = "Experiment 1";
  bool Running = false;
  TBlankScript* Pblankscript = nullptr;
  std::unique_ptr<TOutputList> Poutputlist;
  std::unique_ptr<TDataSingleList> Pdatasinglelist;
  std::unique_ptr<TDataArrayList> Pdataarraylist;
  bool Clearing = false;
  std::unique_ptr<TMultiExpFileList> Pmultiexpfilelist;
  std::unique_ptr<TSingleExpFileList> Psingleexpfilelist;
  std::recursive_mutex ValueLock;
  std::unique_ptr<TExpObjClipboard> Pclipboard;
};
