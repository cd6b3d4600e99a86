#include "bench_experiments.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <utility>

#include "expressions/comparison.h"
#include "model/block.h"
#include "model/data.h"
#include "model/data_dialogs.h"
#include "model/data_list.h"
#include "model/data_name_list.h"
#include "model/experiment.h"
#include "model/tree_node.h"
#include "model/ui_port.h"
#include "scripts/flow/calculate_script.h"
#include "scripts/flow/comment_script.h"
#include "scripts/flow/end_if_script.h"
#include "scripts/flow/if_then_script.h"
#include "scripts/flow/increment_script.h"
#include "scripts/flow/label_script.h"
#include "scripts/flow/repeat_script.h"
#include "shell/draw_block.h"

namespace QorvBench {

namespace {

// Shows nothing; questions get Yes (or OK); hand-overs run at once. The variable dialog
// answers with the name it was given, as a user renaming a variable would.
class TQuietUiPort final : public TUiPort {
public:
  void ShowMessage(const std::string&, const std::string&, TMessageKind) override {}
  TMessageButton Ask(const std::string&, const std::string&, TMessageKind,
                     TMessageButtons buttons, TMessageButton) override {
    return (buttons & mbYes) ? mbYes : mbOK;
  }
  void RunInMainThread(const std::function<void()>& fn) override { fn(); }
  void ExperimentChanged(int, int) override {}
  int OpenDialog(TDialogRequest& request) override {
    auto* form = dynamic_cast<TDataFormRequest*>(&request);
    if (!form || VariableName.empty()) return 0;
    // The dialog refuses a name another variable has.
    if (form->NameList && form->NameList->HasDataName(VariableName)) return 0;
    form->Name = VariableName;
    return 1;
  }
  void RefreshViews() override {}
  void SetCaption(const std::string&) override {}
  void SetStatusText(int, const std::string&) override {}

  std::string VariableName;
};

// Never destroyed: experiments kept in caches until the program ends still reach it.
TQuietUiPort& QuietPort() {
  static auto* port = new TQuietUiPort;
  return *port;
}

// Removes the directory and what is left in it when the program ends.
struct TTempDirectory {
  TTempDirectory() {
    std::string pattern = (std::filesystem::temp_directory_path() / "qorv-bench-XXXXXX").string();
    if (mkdtemp(pattern.data())) Path = pattern;
  }
  ~TTempDirectory() {
    std::error_code ignored;
    if (!Path.empty()) std::filesystem::remove_all(Path, ignored);
  }
  std::string Path;
};

// A single variable of the block, made as reading a file makes it. The list's own Add
// (the command dialogs' way) sorts the whole list by block position after each variable,
// which today makes adding the variables of 1,000 blocks cubic; the list is the same.
TDataSingle* NewSingle(TExperiment& experiment, TBlock* block, int type, const std::string& name,
                       const std::string& initial) {
  TDataSingleList* list = experiment.GetDataSingleList();
  TTreeNode* node = experiment.GetAttributeTree().AddChild(list->AExpAttNode, "");
  auto* variable = static_cast<TDataSingle*>(list->CreateForLoad(type, node, block));
  variable->SetDataName(name);
  if (!initial.empty()) variable->SetInitialValue(initial);
  return variable;
}

// One command of the mix at the block's insertion point; every fourth kind in turn, so
// that three of four commands hold references that reading binds again.
void AddMixedCommand(TExperiment& experiment, TBlock* block, const TBlockVariables& variables,
                     std::int64_t index) {
  const std::string x = variables.X->GetDataName();
  const std::string n = variables.N->GetDataName();
  const std::string y = variables.Y->GetDataName();
  switch (index % 4) {
    case 0:
      AddCalculate(experiment, block, variables.X, x + "*0.5+1");
      break;
    case 1:
      static_cast<TIncrementScript*>(block->AddScript(TScript::INCREMENT))
          ->SetUpIncrement(variables.N, "1");
      break;
    case 2:
      AddCalculate(experiment, block, variables.Y, y + "+" + n + "/2");
      break;
    default:
      static_cast<TCommentScript*>(block->AddScript(TScript::COMMENT))
          ->SetComment("Step " + std::to_string(index));
      break;
  }
}

}  // namespace

void UseQuietUi() {
  static const bool installed = [] {
    SetUiPort(&QuietPort());
    return true;
  }();
  (void)installed;
}

void AnswerVariableDialog(const std::string& name) { QuietPort().VariableName = name; }

bool SkipSlow() {
  const char* value = std::getenv("QORV_BENCH_SKIP_SLOW");
  return value && std::string(value) == "1";
}

std::int64_t IterationsOr(std::int64_t count) {
  const char* value = std::getenv("QORV_BENCH_ITERATIONS");
  if (!value) return count;
  const long long given = std::atoll(value);
  return given >= 1 ? given : count;
}

const std::string& TempDir() {
  static TTempDirectory directory;
  return directory.Path;
}

std::string VariableName(char letter, std::size_t block) {
  std::string name(1, letter);
  name += std::to_string(block);
  return name;
}

TCalculateScript* AddCalculate(TExperiment& experiment, TBlock* block, TDataSingle* target,
                               const std::string& text) {
  auto* calculate = static_cast<TCalculateScript*>(block->AddScript(TScript::CALCULATE));
  TCalculateExpression compiled = CompileCalculateExpression(&experiment, calculate, text, true);
  calculate->SetUpCalculate(std::move(compiled.List), std::move(compiled.Text), target);
  return calculate;
}

TBenchExperiment::TBenchExperiment(const TShape& shape) : Shape(shape) {
  UseQuietUi();
  Experiment = std::make_unique<TExperiment>();
  TExperiment& experiment = *Experiment;
  const std::int32_t blocks = std::max<std::int32_t>(1, shape.Blocks);

  // Boxes in rows of 40, each line leading to the next box, as the user draws a chain.
  TDrawBlock* previous = nullptr;
  for (std::int32_t k = 0; k < blocks; ++k) {
    const TPoint at{10 + 120 * (k % 40), 10 + 120 * (k / 40)};
    TDrawBlock* box = Parts.AddBlock("Block " + std::to_string(k + 1), at);
    TBlock* block = experiment.AddBlock(box);
    if (previous) Parts.Connect(previous, box);
    previous = box;
    Blocks.push_back(block);
    const auto index = static_cast<std::size_t>(k);
    Variables.push_back({NewSingle(experiment, block, eatFLOAT, VariableName('x', index), ""),
                         NewSingle(experiment, block, eatINTEGER, VariableName('n', index), ""),
                         NewSingle(experiment, block, eatFLOAT, VariableName('y', index), "1.5")});
  }

  switch (shape.Layout) {
    case TLayout::Blocks:
      for (std::size_t k = 0; k < Blocks.size(); ++k) {
        // The blank line moves to the end of the block, where the dialogs add.
        experiment.SelectBlock(Blocks[k]->AExpNode);
        const std::int64_t count = shape.Commands / blocks +
                                   (static_cast<std::int32_t>(k) < shape.Commands % blocks ? 1 : 0);
        for (std::int64_t i = 0; i < count; ++i)
          AddMixedCommand(experiment, Blocks[k], Variables[k], i);
      }
      break;
    case TLayout::IfThen: {
      TBlock* block = Blocks.front();
      experiment.SelectBlock(block->AExpNode);
      auto* ifthen = static_cast<TIfThenScript*>(block->AddScript(TScript::IFTHEN));
      ifthen->SetConstantCondition(Variables.front().N, "0", TComparison::GREATEREQUAL);
      ifthen->SetIncludeElse(false);  // makes the End If
      // In front of the End If the blank line goes into the then-section.
      experiment.MoveBlankScript(ifthen->GetEndPointScript()->AExpNode);
      for (std::int64_t i = 0; i < shape.Commands; ++i)
        AddMixedCommand(experiment, block, Variables.front(), i);
      experiment.MoveBlankScript(nullptr);
      break;
    }
    case TLayout::LabelRepeat: {
      TBlock* block = Blocks.front();
      experiment.SelectBlock(block->AExpNode);
      auto* label = static_cast<TLabelScript*>(block->AddScript(TScript::LABEL));
      label->SetTitle("Loop");
      for (std::int64_t i = 0; i < shape.Commands; ++i)
        AddMixedCommand(experiment, block, Variables.front(), i);
      // Linking the Repeat takes the commands between the two lines into the section.
      static_cast<TRepeatScript*>(block->AddScript(TScript::REPEAT))->SetLabel(label, 3);
      break;
    }
  }
  experiment.SelectBlock(Blocks.front()->AExpNode);
}

TBenchExperiment::~TBenchExperiment() { Experiment.reset(); }

TBenchExperiment& TExperimentCache::Get(const TShape& shape) {
  if (!Built || Built->GetShape().Name != shape.Name) {
    Built.reset();  // the old one goes first: two large experiments need not fit at once
    Built = std::make_unique<TBenchExperiment>(shape);
  }
  return *Built;
}

}  // namespace QorvBench
