#include "model/experiment.h"

#include "model/assertion.h"
#include "model/block.h"
#include "model/data_list.h"
#include "model/errors.h"
#include "model/exp_attribute.h"
#include "model/experiment_running.h"
#include "model/read_file.h"
#include "model/report.h"
#include "model/text.h"
#include "model/ui_port.h"
#include "model/write_file.h"
#include "outputs/exp_file.h"
#include "outputs/exp_file_lists.h"
#include "outputs/output.h"
#include "outputs/output_list.h"
#include "scripts/exp_obj_clipboard.h"
#include "scripts/flow/blank_script.h"
#include "shell/draw_block.h"

namespace {

const char* const BlankNodeText = "      ";
const char* const UnclaimedBox = "A box of the block diagram shows no block...aborting read";

void Warn(const std::string& text) { UiPort().ShowMessage(text, "", TMessageKind::Warning); }

// The title a saved experiment takes: the file's name without its folders (either
// separator), and without ".exp" and what follows it.
std::string TitleOfFile(const std::string& fileName) {
  std::string title = TrimText(fileName);
  const auto separator = title.find_last_of("\\/");
  if (separator != std::string::npos) title.erase(0, separator + 1);
  const auto extension = title.find(".exp");
  if (extension != std::string::npos) title.erase(extension);
  return title;
}

}  // namespace

TExperiment::TExperiment() {
  Poutputlist = std::make_unique<TOutputList>(this, AttributeTree.Add(nullptr, ""));
  Pdatasinglelist =
      std::make_unique<TDataSingleList>(this, AttributeTree.Add(nullptr, "Single Variables"));
  Pdataarraylist =
      std::make_unique<TDataArrayList>(this, AttributeTree.Add(nullptr, "Array Variables"));
  Psingleexpfilelist =
      std::make_unique<TSingleExpFileList>(this, AttributeTree.Add(nullptr, "Single Files"));
  Pmultiexpfilelist =
      std::make_unique<TMultiExpFileList>(this, AttributeTree.Add(nullptr, "Multiple Files"));
  SetTitle(Title);
  UiPort().ExperimentChanged(0, 1);
}

TExperiment::~TExperiment() {
  // The held copy record lets go of what it names while all of it still exists.
  Pclipboard.reset();
  Clearing = true;
  // The blocks go first, each with its commands in order: that frees memory in the
  // order it was taken (a file's order), which a closing 100,000-command experiment
  // needs to be quick; leaving, the references tell their attributes. The attributes
  // follow, with the commands of no block that still use them.
  while (TTreeNode* node = ExperimentTree.GetFirstNode()) {
    if (auto* object = static_cast<TExperimentObject*>(node->GetData()))
      delete object;  // deletes its node
    else
      node->Delete();
  }
  Poutputlist.reset();
  Pdatasinglelist.reset();
  Pdataarraylist.reset();
  Psingleexpfilelist.reset();
  Pmultiexpfilelist.reset();
  QORV_ASSERT(Pblankscript==0);  // the blank line went with its block
}

TExpObjClipboard& TExperiment::GetClipboard() {
  if (!Pclipboard) Pclipboard = std::make_unique<TExpObjClipboard>(this);
  return *Pclipboard;
}

void TExperiment::SetTitle(const std::string& title) {
  Title = title;
  UiPort().SetCaption("Qorv Current Experiment: " + Title);
}

TBlock* TExperiment::AddBlock(TDrawBlock* box) {
  TTreeNode* node = ExperimentTree.Add(nullptr, "No Title");
  auto* block = new TBlock(this, node, box);
  QORV_ASSERT_AS(block->GetDrawBlock() != nullptr, "block->DrawBlock!=0");
  if (ExperimentTree.Count() == 1) {
    box->SetTitle("Start Block");  // the box passes the title on
    block->SetAsStartBlock();
    SelectBlock(node);
  } else {
    block->SetTitle(box->GetCaption());
  }
  return block;
}

TBlock* TExperiment::AddBlock(const std::string& title) {
  auto* block = new TBlock(this, ExperimentTree.Add(nullptr, title));
  block->SetTitle(title);
  return block;
}

void TExperiment::SelectBlock(TTreeNode* node) {
  // Starting from a block's node (or none) the blank line takes the selection.
  const bool fromBlock = !node || node->GetLevel() == 0;
  if (!node) node = ExperimentTree.GetFirstNode();
  if (!node) return;
  while (node->GetParent()) node = node->GetParent();
  TBlock* block = BlockOfNode(node);
  QORV_ASSERT_AS(block != nullptr,
                 "node!=0&&node->Level==TExperimentObject::aiBLOCK&&node->Data!=0");
  if (ExperimentRunning) {
    UiPort().SetStatusText(1, "");
  } else {
    if (!Pblankscript) {
      TTreeNode* blanknode = ExperimentTree.AddChild(node, BlankNodeText);
      Pblankscript = new TBlankScript(block, blanknode, this);
      ExperimentTree.SetSelected(blanknode);
    } else if (Pblankscript->Pblock != block) {
      QORV_ASSERT(Pblankscript->AExpNode!=0);
      Pblankscript->AExpNode->MoveTo(node, TNodeAttachMode::naAddChild);
      Pblankscript->SetBlock();
      if (fromBlock) ExperimentTree.SetSelected(Pblankscript->AExpNode);
    }
    UiPort().SetStatusText(1, block->GetTitle());
  }
  // The tree view takes the keyboard focus itself.
  node->SetExpanded(true);
}

TTreeNode* TExperiment::MoveBlankScript(TTreeNode* node) {
  if (!Pblankscript) return nullptr;
  TTreeNode* blanknode = Pblankscript->AExpNode;
  QORV_ASSERT_AS(blanknode != nullptr, "blanknode!=0");
  QORV_ASSERT_AS(Pblankscript->Pblock != nullptr, "Pblankscript->Block!=0");
  TTreeNode* following = blanknode->GetNextSibling();
  if (!node) {
    blanknode->MoveTo(Pblankscript->Pblock->AExpNode, TNodeAttachMode::naAddChild);
  } else if (node->GetLevel() == 0) {
    blanknode->MoveTo(node, TNodeAttachMode::naAddChild);  // a block: its end
  } else if (node != blanknode) {
    TScript* previous = ScriptOfNode(node->GetPrevSibling());
    if (previous && previous != Pblankscript && previous->CanHaveChildren())
      blanknode->MoveTo(previous->AExpNode, TNodeAttachMode::naAddChild);
    else
      blanknode->MoveTo(node, TNodeAttachMode::naInsert);
  }
  Pblankscript->SetBlock();
  ExperimentTree.SetSelected(blanknode);
  return following;
}

TBlock* TExperiment::GetCurrentBlock() const {
  return Pblankscript ? Pblankscript->Pblock : nullptr;
}

void TExperiment::GetBlockVariables(TBlock* block, std::vector<TData*>& list) const {
  QORV_ASSERT(Pdatasinglelist!=0&&Pdataarraylist!=0);
  list.clear();
  Pdatasinglelist->GetDataOfBlock(block, list);
  Pdataarraylist->GetDataOfBlock(block, list);
}

void TExperiment::GetAllVariables(std::vector<TData*>& list) const {
  QORV_ASSERT(Pdatasinglelist!=0&&Pdataarraylist!=0);
  std::vector<TData*> arrays;
  Pdatasinglelist->GetAll(list);
  Pdataarraylist->GetAll(arrays);
  list.insert(list.end(), arrays.begin(), arrays.end());
}

TExperiment::TBlankPlace TExperiment::RemoveBlankScript() {
  TBlankPlace place;
  if (!Pblankscript) return place;
  TTreeNode* blanknode = Pblankscript->AExpNode;
  QORV_ASSERT_AS(blanknode != nullptr, "blanknode!=0");
  QORV_ASSERT_AS(Pblankscript->Pblock != nullptr, "Pblankscript->Block!=0");
  place.Block = Pblankscript->Pblock;
  place.Parent = blanknode->GetParent();
  place.Next = blanknode->GetNextSibling();
  place.WasSelected = ExperimentTree.GetSelected() == blanknode;
  if (!place.WasSelected) place.Selected = ExperimentTree.GetSelected();
  TBlankScript* blank = Pblankscript;
  blank->ClearExperiment();
  Pblankscript = nullptr;
  delete blank;  // takes itself out of its block
  return place;
}

void TExperiment::RestoreBlankScript(const TBlankPlace& place) {
  if (!place.Block) return;
  SelectBlock(place.Block->AExpNode);
  if (!Pblankscript) return;  // a run is active
  TTreeNode* blanknode = Pblankscript->AExpNode;
  if (place.Next)
    blanknode->MoveTo(place.Next, TNodeAttachMode::naInsert);
  else
    blanknode->MoveTo(place.Parent, TNodeAttachMode::naAddChild);
  Pblankscript->SetBlock();
  ExperimentTree.SetSelected(place.WasSelected ? blanknode : place.Selected);
}

TBlock* TExperiment::PreRunCheck() {
  // Nothing to run: refused without a word (deleting the last block has said so).
  if (!HasBlocks()) return nullptr;
  const TBlankPlace blank = RemoveBlankScript();
  TBlock* start = nullptr;
  try {
    start = CheckBlocks();
  } catch (...) {
    RestoreBlankScript(blank);
    throw;
  }
  if (!start) RestoreBlankScript(blank);
  return start;
}

TBlock* TExperiment::CheckBlocks() {
  QORV_ASSERT(Psingleexpfilelist!=0);
  QORV_ASSERT(Pmultiexpfilelist!=0);
  bool filesReady = false;
  try {
    filesReady = Psingleexpfilelist->RunCheck() && Pmultiexpfilelist->RunCheck();
  } catch (const EFileError& failure) {
    // A numbered file found no unused number: "No file" after the user's No, or its
    // numbers are used up.
    UiPort().ShowMessage(failure.what(), "", TMessageKind::Information);
    return nullptr;
  }
  if (!filesReady) return nullptr;
  const std::vector<TBlock*> blocks = Blocks();
  TBlock* startblock = nullptr;
  for (TBlock* block : blocks) {
    if (!block->PrepareForRun()) return nullptr;
    // Of several start flags the first counts.
    if (block->IsStartBlock() && !startblock) startblock = block;
  }
  if (!startblock) {
    Warn("There is no start block, the experiment will not run.");
    return nullptr;
  }
  if (blocks.size() > 1 && !startblock->HasNextBlock()) {
    Warn("Start block must point to the next block");
    return nullptr;
  }
  return startblock;
}

TBlock* TExperiment::Run() {
  TBlock* startblock = PreRunCheck();
  if (startblock) Running = true;
  return startblock;
}

void TExperiment::SelectFirstBlock() {
  Running = false;
  TTreeNode* firstnode = ExperimentTree.GetFirstNode();
  QORV_ASSERT(firstnode!=0);
  SelectBlock(firstnode);
}

void TExperiment::ResetOutputsAndFiles() {
  QORV_ASSERT(Poutputlist!=0);
  QORV_ASSERT(Psingleexpfilelist!=0);
  QORV_ASSERT(Pmultiexpfilelist!=0);
  // An output failing its end of run must not leave a data file open with its lines.
  try {
    Poutputlist->EndRun();
  } catch (...) {
    Psingleexpfilelist->EndRun();
    Pmultiexpfilelist->EndRun();
    throw;
  }
  Psingleexpfilelist->EndRun();
  Pmultiexpfilelist->EndRun();
}

void TExperiment::Save(TWriteFile& writer) {
  QORV_ASSERT(Poutputlist!=0&&Pdatasinglelist!=0&&Pdataarraylist!=0);
  SetTitle(TitleOfFile(writer.GetFileName()));
  writer.WriteString(Title);
  const TBlankPlace blank = RemoveBlankScript();
  try {
    const std::vector<TBlock*> blocks = Blocks();
    writer.WriteBool(!blocks.empty());
    for (std::size_t i = 0; i < blocks.size(); ++i) {
      blocks[i]->Save(writer);
      writer.WriteBool(i + 1 < blocks.size());
    }
    Poutputlist->Save(writer);
    Psingleexpfilelist->Save(writer);
    Pmultiexpfilelist->Save(writer);
    if (!blocks.empty()) {
      Pdatasinglelist->Save(writer);
      Pdataarraylist->Save(writer);
    }
  } catch (...) {
    RestoreBlankScript(blank);
    throw;
  }
  FileName = writer.GetFileName();
  UiPort().ExperimentChanged(0, 0);
  RestoreBlankScript(blank);
}

void TExperiment::Load(TReadFile& reader, std::vector<TDrawBlock*>& boxes) {
  QORV_ASSERT(Poutputlist!=0&&Pdatasinglelist!=0&&Pdataarraylist!=0);
  SetTitle(reader.ReadString());
  bool more;
  reader.ReadBool(more);
  const bool hasBlocks = more;
  std::vector<TBlock*> blocks;
  while (more) {
    blocks.push_back(new TBlock(this, ExperimentTree.Add(nullptr, "No Title")));
    blocks.back()->Load(reader, boxes);  // takes its box out of the list
    reader.ReadBool(more);
  }
  // A box left over would have no block to save.
  if (!boxes.empty()) throw EReadError(UnclaimedBox);
  Poutputlist->Load(reader);
  Psingleexpfilelist->Load(reader);
  Pmultiexpfilelist->Load(reader);
  if (hasBlocks) {
    // The variables bind their users together once all are read (exp_attribute.h).
    DeferAttributeUsers(reader);
    try {
      Pdatasinglelist->Load(reader, blocks);
      Pdataarraylist->Load(reader, blocks);
    } catch (...) {
      BindDeferredUsers(reader);  // a variable read before the fault refuses the file first
      throw;
    }
    BindDeferredUsers(reader);
  }
  for (TBlock* block : blocks) block->SetBlockPaths();
  if (TTreeNode* firstnode = ExperimentTree.GetFirstNode()) SelectBlock(firstnode);
  FileName = reader.GetFileName();
  UiPort().ExperimentChanged(0, 0);
}

void TExperiment::SaveBlock(TWriteFile& writer, TBlock* block) {
  QORV_ASSERT(block!=0);
  QORV_ASSERT(Poutputlist!=0&&Pdatasinglelist!=0&&Pdataarraylist!=0);
  block->SaveBlock(writer);
  Poutputlist->SaveBlock(writer, block);
  Pdatasinglelist->SaveBlock(writer, block);
  Pdataarraylist->SaveBlock(writer, block);
  Psingleexpfilelist->SaveBlock(writer, block);
  Pmultiexpfilelist->SaveBlock(writer, block);
}

TBlock* TExperiment::LoadBlock(TReadFile& reader, TDrawBlock*& box) {
  QORV_ASSERT_AS(box != nullptr, "file!=0&&drawblock!=0");
  auto* block = new TBlock(this, ExperimentTree.Add(nullptr, "No Title"), box);
  box = nullptr;  // the block owns it now
  const TAttributeMark mark = MarkAttributes();
  try {
    block->LoadBlock(reader);
    Poutputlist->LoadBlock(reader);
    Pdatasinglelist->LoadBlock(reader, block);
    Pdataarraylist->LoadBlock(reader, block);
    Psingleexpfilelist->LoadBlock(reader);
    Pmultiexpfilelist->LoadBlock(reader);
  } catch (...) {
    delete block;  // with its box and what was read into it
    RemoveAttributesAfter(mark);
    throw;
  }
  block->RefreshTexts(false);
  return block;
}

TExperiment::TAttributeMark TExperiment::MarkAttributes() const {
  return {Poutputlist->GetCount(), Psingleexpfilelist->GetCount(), Pmultiexpfilelist->GetCount()};
}

void TExperiment::RemoveAttributesAfter(const TAttributeMark& mark) {
  while (Poutputlist->GetCount() > mark.Outputs)
    delete Poutputlist->GetOutput(Poutputlist->GetCount() - 1);  // deletes its node
  const auto trim = [](TExpFileList& list, int count) {
    while (list.GetCount() > count) delete list.GetFiles().back();
  };
  trim(*Psingleexpfilelist, mark.SingleFiles);
  trim(*Pmultiexpfilelist, mark.MultipleFiles);
}

void TExperiment::CheckAfterRead() {
  for (TBlock* block : Blocks()) block->CheckAfterRead();
}

void TExperiment::WriteReport(TReport& report, const TReportOptions& options) const {
  if (options.Commands) {
    report.AddHeading("Command Listing", true);
    report.AddLine("");
    for (TBlock* block : Blocks()) block->ListScripts(report);
  }
  const auto part = [&report](bool chosen, const char* heading, int count, const char* none,
                              const auto& list) {
    if (!chosen) return;
    report.AddLine("");
    report.AddHeading(heading, true);
    report.AddLine("");
    if (count == 0)
      report.AddLine(none);
    else
      list.WriteReport(report);
  };
  part(options.Outputs, "Output Listing", Poutputlist->GetCount(), "No outputs", *Poutputlist);
  part(options.SingleVariables, "Single Varible Listing", Pdatasinglelist->GetCount(),
       "No single variables", *Pdatasinglelist);
  part(options.ArrayVariables, "Array Variable Listing", Pdataarraylist->GetCount(),
       "No array variables", *Pdataarraylist);
  part(options.SingleFiles, "Single File Listings", Psingleexpfilelist->GetCount(),
       "No single files", *Psingleexpfilelist);
  part(options.MultipleFiles, "Multiple File Listings", Pmultiexpfilelist->GetCount(),
       "No multiple files", *Pmultiexpfilelist);
}

std::vector<TBlock*> TExperiment::Blocks() const {
  std::vector<TBlock*> blocks;
  for (int i = 0; i < ExperimentTree.Count(); ++i)
    if (TBlock* block = BlockOfNode(ExperimentTree.Item(i))) blocks.push_back(block);
  return blocks;
}
