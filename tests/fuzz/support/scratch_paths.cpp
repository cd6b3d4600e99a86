#include "support/scratch_paths.h"

#include <string>

#include "model/experiment.h"
#include "model/tree_node.h"
#include "model/variable_data.h"
#include "outputs/big_num_form.h"
#include "outputs/exp_file.h"
#include "outputs/exp_file_lists.h"
#include "outputs/output.h"
#include "outputs/output_list.h"
#include "scripts/files/read_file_script.h"
#include "support/quiet_ui_port.h"
#include "support/scratch.h"

namespace {

// The dialogs of the data files answer OK with a name in the folder, a new one each.
int FileDialog(TDialogRequest& request, int& made) {
  const std::string name = "file" + std::to_string(++made);
  if (auto* single = dynamic_cast<TSingleExpFileRequest*>(&request)) {
    single->FileName = scratch::PathOf(name + ".txt");
    return 1;
  }
  if (auto* multiple = dynamic_cast<TMultiExpFileRequest*>(&request)) {
    multiple->Directory = scratch::Folder().string();
    multiple->BaseName = name;
    multiple->Extension = "txt";
    return 1;
  }
  return 0;
}

void ReadGivenFile(TTreeNode* node, const std::string& fileToRead) {
  for (; node; node = node->GetNextSibling()) {
    if (auto* read = dynamic_cast<TReadFileScript*>(ScriptOfNode(node))) {
      TVariableDataSingle* count = read->GetCountVariable();
      read->SetUpReadFile(fileToRead, read->GetReadVariable()->GetData(), read->GetWSDelimiter(),
                          read->GetCleanString(), read->GetDelimiter1(), read->GetDelimiter2(),
                          count ? count->GetData() : nullptr);
    }
    ReadGivenFile(node->GetFirstChild(), fileToRead);
  }
}

}  // namespace

void KeepFilesInScratch(TExperiment& experiment, TQuietUiPort& port,
                        const std::string& fileToRead) {
  int made = 0;
  port.Dialogs = [&made](TDialogRequest& request) { return FileDialog(request, made); };
  for (TExperimentFile* file : experiment.GetSingleExpFileList()->GetFiles()) file->Edit();
  for (TExperimentFile* file : experiment.GetMultiExpFileList()->GetFiles()) file->Edit();
  port.Dialogs = nullptr;
  for (TOutput* output : experiment.GetOutputList()->GetOutputs())
    if (auto* bigNumber = dynamic_cast<TBigNumForm*>(output->GetOutputForm()))
      bigNumber->SetLogParameters(scratch::PathOf("log" + std::to_string(++made) + ".txt"),
                                  bigNumber->GetTimeStamp(), bigNumber->GetDateStamp(),
                                  bigNumber->GetCloseBetweenWrites());
  ReadGivenFile(experiment.GetExperimentTree().GetFirstNode(), fileToRead);
}
