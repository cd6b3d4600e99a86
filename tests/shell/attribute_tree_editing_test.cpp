// The attribute tree's editing: presses, pop-up items, double clicks, the Delete key,
// the edits behind the items and the attribute buttons, each marking the experiment
// modified exactly when it changed something and refusing what a run forbids.
#include "shell/attribute_tree_editing.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "model/data_dialogs.h"
#include "model/data_list.h"
#include "model/variable_data.h"
#include "model/experiment_running.h"
#include "outputs/exp_file.h"
#include "outputs/exp_file_lists.h"
#include "outputs/output.h"
#include "outputs/output_form.h"
#include "outputs/output_list.h"
#include "scripts/files/create_new_file_script.h"
#include "scripts/flow/increment_script.h"
#include "scripts/outputs/plot_script.h"
#include "support/experiment_fixture.h"

namespace {

const char* const UsedQuestion =
    "Deleting this may delete one or more scripts.  Do you really want to do this?";

// The display of the output windows: whether each shows.
class TShownView final : public TOutputView {
public:
  void Changed(TOutputForm&) override {}
  void ShowRequested(TOutputForm& form) override { Visible[&form] = true; }
  void HideRequested(TOutputForm& form) override { Visible[&form] = false; }
  bool IsVisible(const TOutputForm& form) const override {
    const auto at = Visible.find(&form);
    return at != Visible.end() && at->second;
  }
  void FormDestroyed(TOutputForm& form) override { Visible.erase(&form); }

  std::map<const TOutputForm*, bool> Visible;
};

// Outlives every window: the experiment's go after the test's members.
TShownView& ShownView() {
  static TShownView view;
  return view;
}

class AttributeTreeEditingTest : public TExperimentFixture {
protected:
  AttributeTreeEditingTest() {
    Cur = Start;
    TOutputForm::SetCreatedHook([](TOutputForm& form) { form.SetView(&ShownView()); });
    // Every dialog is noted by what it was asked to do, and cancelled.
    Ui.SetDialogHandler([this](TDialogRequest& request) {
      Dialogs.push_back(Describe(request));
      return 0;
    });
  }

  ~AttributeTreeEditingTest() override { TOutputForm::SetCreatedHook({}); }

  static std::string Describe(TDialogRequest& request) {
    if (auto* data = dynamic_cast<TDataFormRequest*>(&request))
      return std::string(data->ShowArraySize ? "array " : "variable ") +
             (data->Mode == TDataFormRequest::dmADD ? "many" : "one " + data->Name);
    if (auto* output = dynamic_cast<TOutputDialogRequest*>(&request))
      return output->Output ? "output edit " + output->Output->GetName()
                            : std::string("output ") + (output->List ? "many" : "one");
    if (auto* single = dynamic_cast<TSingleExpFileRequest*>(&request))
      return std::string("single file ") + (single->ShowAdd ? "many" : "one");
    if (auto* multi = dynamic_cast<TMultiExpFileRequest*>(&request))
      return std::string("multiple file ") + (multi->ShowAdd ? "many" : "one");
    return "other";
  }

  // Presses the node as the window forwards a press; the output of earlier steps goes.
  TExpAttPress Press(TTreeNode* node) {
    const TExpAttPress press = Editor.ExpAttViewMouseDown(node);
    Ui.Clear();
    Dialogs.clear();
    return press;
  }
  TExpAttMenuState Menu(TTreeNode* node) { return Editor.ExpAttViewPopupMenuPopup(Press(node)); }
  int Marks() const {
    int marks = 0;
    for (const auto& [modified, refresh] : Ui.ExperimentChanges()) marks += modified != 0;
    return marks;
  }
  TTreeNode* Selected() { return Exp.GetAttributeTree().GetSelected(); }
  // The texts of the list's attributes, in order (a variable's shows its block).
  static TTexts Names(const TTreeNode* list) { return Children(list); }

  TPlotScript* Plot(TOutput* output, TData* y) {
    auto* plot = new TPlotScript(Cur, NewNode(Cur));
    plot->SetUpYOnly(output, y, true, 0, nullptr);
    return plot;
  }
  TSingleExpFile* SingleFile(const std::string& name) {
    TSingleExpFileRequest request;
    request.FileName = Temp.PathOf(name);
    return Exp.GetSingleExpFileList()->Create(request);
  }
  TMultiExpFile* MultiFile(const std::string& base) {
    TMultiExpFileRequest request;
    request.Directory = Temp.Path().string();
    request.BaseName = base;
    request.Extension = "txt";
    request.StartNumber = "0";
    request.Mode = mfMAKENEW;
    return Exp.GetMultiExpFileList()->Create(request);
  }

  TBlock* Start = AddBlock("S");
  TAttributeTreeEditor Editor{Exp};
  TTexts Dialogs;
};

TEST_F(AttributeTreeEditingTest, PressSelectsAndTellsWhatItHit) {
  TDataSingle* x = Single(Start, "x");
  TDataArray* a = Array(Start, "a", eatFLOAT, 4);
  TOutput* graph = Exp.GetOutputList()->NewOutput("G", otGRAPH, 2);
  TSingleExpFile* single = SingleFile("s.txt");
  TMultiExpFile* multi = MultiFile("run");
  Ui.Clear();

  const TTreeNode* outputs = Exp.GetOutputList()->AExpAttNode;
  EXPECT_EQ(Editor.ExpAttViewMouseDown(outputs->GetFirstChild()->GetParent()),
            (TExpAttPress{ATTRIBUTELIST, -1}));
  EXPECT_EQ(Selected(), outputs);
  EXPECT_EQ(Editor.ExpAttViewMouseDown(graph->AExpAttNode), (TExpAttPress{ATTRIBUTE, OUTPUT}));
  EXPECT_EQ(Editor.ExpAttViewMouseDown(x->AExpAttNode), (TExpAttPress{ATTRIBUTE, SINGLEVARIABLE}));
  EXPECT_EQ(Editor.ExpAttViewMouseDown(a->AExpAttNode), (TExpAttPress{ATTRIBUTE, ARRAYVARIABLE}));
  EXPECT_EQ(Editor.ExpAttViewMouseDown(single->AExpAttNode),
            (TExpAttPress{ATTRIBUTE, SINGLEEXPFILE}));
  EXPECT_EQ(Editor.ExpAttViewMouseDown(multi->AExpAttNode), (TExpAttPress{ATTRIBUTE, MULTIEXPFILE}));
  EXPECT_EQ(Selected(), multi->AExpAttNode);
  // Empty space hits nothing and leaves the selection.
  EXPECT_EQ(Editor.ExpAttViewMouseDown(nullptr), (TExpAttPress{-1, -1}));
  EXPECT_EQ(Selected(), multi->AExpAttNode);
  EXPECT_EQ(Marks(), 0);
}

TEST_F(AttributeTreeEditingTest, PopupShowsTheItemsOfTheNodePressed) {
  TDataSingle* x = Single(Start, "x");
  TDataArray* a = Array(Start, "a", eatFLOAT, 4);
  TOutput* graph = Exp.GetOutputList()->NewOutput("G", otGRAPH, 2);
  TSingleExpFile* single = SingleFile("s.txt");
  TMultiExpFile* multi = MultiFile("run");

  // The items shown, in the menu's order.
  const auto shown = [](const TExpAttMenuState& menu) {
    TTexts items;
    const std::pair<const TMenuItemState*, const char*> all[] = {
        {&menu.Add, "Add"},
        {&menu.AddMany, "Add Many"},
        {&menu.Clear, "Clear"},
        {&menu.ClearUnused, "Clear Unused"},
        {&menu.Edit, "Edit"},
        {&menu.Delete, "Delete"},
        {&menu.Show, "Show"},
        {&menu.Plot, "Plot"},
        {&menu.ShowCurrentValue, "Show Current Value"},
        {&menu.OutputToFile, "Output To File"},
        {&menu.CreateNewFile, "Create New File"}};
    for (const auto& [item, text] : all)
      if (item->Visible) items.push_back(text);
    return items;
  };
  for (TExpAttList* list : std::vector<TExpAttList*>{
           Exp.GetOutputList(), Exp.GetDataSingleList(), Exp.GetDataArrayList(),
           Exp.GetSingleExpFileList(), Exp.GetMultiExpFileList()})
    EXPECT_EQ(shown(Menu(list->AExpAttNode)), (TTexts{"Add", "Add Many", "Clear", "Clear Unused"}));
  EXPECT_EQ(shown(Menu(graph->AExpAttNode)), (TTexts{"Edit", "Delete", "Show", "Plot"}));
  for (TData* variable : std::vector<TData*>{x, a})
    EXPECT_EQ(shown(Menu(variable->AExpAttNode)),
              (TTexts{"Edit", "Delete", "Plot", "Show Current Value", "Output To File"}));
  EXPECT_EQ(shown(Menu(single->AExpAttNode)), (TTexts{"Edit", "Delete", "Output To File"}));
  EXPECT_EQ(shown(Menu(multi->AExpAttNode)),
            (TTexts{"Edit", "Delete", "Output To File", "Create New File"}));
  const TExpAttMenuState none = Menu(nullptr);
  EXPECT_TRUE(shown(none).empty());
  EXPECT_FALSE(none.AnyVisible());

  // Everything shown is enabled while no run is active.
  TExpAttMenuState list = Menu(Exp.GetOutputList()->AExpAttNode);
  EXPECT_TRUE(list.Add.Enabled && list.AddMany.Enabled && list.Clear.Enabled &&
              list.ClearUnused.Enabled);
  TExpAttMenuState variable = Menu(x->AExpAttNode);
  EXPECT_TRUE(variable.Edit.Enabled && variable.Delete.Enabled && variable.Plot.Enabled);

  // During a run Delete, Plot and Clear are disabled; the others refuse in their dialogs.
  ExperimentRunning = true;
  list = Menu(Exp.GetOutputList()->AExpAttNode);
  EXPECT_FALSE(list.Clear.Enabled);
  EXPECT_TRUE(list.Add.Enabled && list.AddMany.Enabled && list.ClearUnused.Enabled);
  variable = Menu(x->AExpAttNode);
  EXPECT_FALSE(variable.Delete.Enabled);
  EXPECT_FALSE(variable.Plot.Enabled);
  EXPECT_TRUE(variable.Edit.Enabled && variable.ShowCurrentValue.Enabled &&
              variable.OutputToFile.Enabled);
  EXPECT_FALSE(Menu(graph->AExpAttNode).Plot.Enabled);
  EXPECT_EQ(Marks(), 0);
}

TEST_F(AttributeTreeEditingTest, ShowIsCheckedWhileTheWindowIsVisibleAndTogglesIt) {
  TOutput* graph = Exp.GetOutputList()->NewOutput("G", otGRAPH, 2);
  TOutput* text = Exp.GetOutputList()->NewOutput("T", otTEXT, 1);
  EXPECT_FALSE(Menu(graph->AExpAttNode).ShowChecked);

  Editor.ShowOutputClick();
  EXPECT_TRUE(graph->IsFormVisible());
  EXPECT_TRUE(Menu(graph->AExpAttNode).ShowChecked);
  // Another output's item follows its own window.
  EXPECT_FALSE(Menu(text->AExpAttNode).ShowChecked);

  Press(graph->AExpAttNode);
  Editor.ShowOutputClick();
  EXPECT_FALSE(graph->IsFormVisible());
  EXPECT_FALSE(Menu(graph->AExpAttNode).ShowChecked);
  // Nothing for a node that is not an output.
  Press(Exp.GetOutputList()->AExpAttNode);
  Editor.ShowOutputClick();
  EXPECT_FALSE(graph->IsFormVisible() || text->IsFormVisible());
  EXPECT_EQ(Marks(), 0);
}

TEST_F(AttributeTreeEditingTest, DoubleClickAddsManyEditsOrShowsTheWindow) {
  TDataSingle* x = Single(Start, "x");
  TOutput* graph = Exp.GetOutputList()->NewOutput("G", otGRAPH, 2);
  TSingleExpFile* single = SingleFile("s.txt");
  const auto doubleClick = [&](TTreeNode* node) {
    Press(nullptr);
    Editor.ExpAttViewDblClick(node);
    return Dialogs;
  };

  EXPECT_EQ(doubleClick(Exp.GetDataSingleList()->AExpAttNode), TTexts{"variable many"});
  EXPECT_EQ(doubleClick(Exp.GetDataArrayList()->AExpAttNode), TTexts{"array many"});
  EXPECT_EQ(doubleClick(Exp.GetOutputList()->AExpAttNode), TTexts{"output many"});
  EXPECT_EQ(doubleClick(Exp.GetSingleExpFileList()->AExpAttNode), TTexts{"single file many"});
  EXPECT_EQ(doubleClick(Exp.GetMultiExpFileList()->AExpAttNode), TTexts{"multiple file many"});
  EXPECT_EQ(doubleClick(x->AExpAttNode), TTexts{"variable one x"});
  EXPECT_EQ(Selected(), x->AExpAttNode);
  EXPECT_EQ(doubleClick(single->AExpAttNode), TTexts{"single file one"});

  // An output shows its window instead of its dialog.
  EXPECT_EQ(doubleClick(graph->AExpAttNode), TTexts{});
  EXPECT_TRUE(graph->IsFormVisible());
  EXPECT_EQ(doubleClick(nullptr), TTexts{});
  EXPECT_EQ(Ui.Texts(), TTexts{});
}

TEST_F(AttributeTreeEditingTest, AddAndAddManyOpenTheListsDialogsOneOrSeveral) {
  const auto items = [&](TExpAttList* list) {
    Press(list->AExpAttNode);
    Editor.AddExpAttClick();
    Editor.AddManyExpAttClick();
    return Dialogs;
  };
  EXPECT_EQ(items(Exp.GetOutputList()), (TTexts{"output one", "output many"}));
  EXPECT_EQ(items(Exp.GetDataSingleList()), (TTexts{"variable one ", "variable many"}));
  EXPECT_EQ(items(Exp.GetDataArrayList()), (TTexts{"array one ", "array many"}));
  EXPECT_EQ(items(Exp.GetSingleExpFileList()), (TTexts{"single file one", "single file many"}));
  EXPECT_EQ(items(Exp.GetMultiExpFileList()),
            (TTexts{"multiple file one", "multiple file many"}));

  // On an attribute, neither does anything.
  TDataSingle* x = Single(Start, "x");
  Press(x->AExpAttNode);
  Editor.AddExpAttClick();
  Editor.AddManyExpAttClick();
  EXPECT_EQ(Dialogs, TTexts{});
  EXPECT_EQ(Marks(), 0);
}

TEST_F(AttributeTreeEditingTest, DeletingAUsedAttributeAsksAndNoKeepsBoth) {
  TDataSingle* x = Single(Start, "x");
  TDataSingle* y = Single(Start, "y");
  TIncrementScript* increment = Increment(x);
  TTreeNode* variables = Exp.GetDataSingleList()->AExpAttNode;

  Press(x->AExpAttNode);
  Ui.ScriptAnswers({mbNo});
  EXPECT_FALSE(Editor.DeleteExpAttClick());
  ASSERT_EQ(Ui.Shown().size(), 1u);
  EXPECT_EQ(Ui.Shown()[0].Text, UsedQuestion);
  EXPECT_EQ(Ui.Shown()[0].Caption, "Qorv Message");
  EXPECT_EQ(Ui.Shown()[0].Buttons, mbYes | mbNo);
  EXPECT_EQ(Names(variables), (TTexts{"Start Block: x", "Start Block: y"}));
  EXPECT_EQ(Children(Start->AExpNode).size(), 2u) << "the Increment and the blank line";
  EXPECT_EQ(increment->GetVariable()->GetData(), x);
  EXPECT_EQ(Marks(), 0);

  // Yes: the variable goes with its command, and the experiment is modified.
  Press(x->AExpAttNode);
  Ui.ScriptAnswers({mbYes});
  EXPECT_TRUE(Editor.DeleteExpAttClick());
  EXPECT_EQ(Names(variables), TTexts{"Start Block: y"});
  EXPECT_EQ(Children(Start->AExpNode).size(), 1u) << "only the blank line";
  EXPECT_EQ(Marks(), 1);

  // An unused one goes without a question.
  Press(y->AExpAttNode);
  EXPECT_TRUE(Editor.DeleteExpAttClick());
  EXPECT_EQ(Ui.Texts(), TTexts{});
  EXPECT_EQ(Names(variables), TTexts{});
  EXPECT_EQ(Marks(), 1);

  // A list node is no attribute: nothing is deleted.
  Press(variables);
  EXPECT_FALSE(Editor.DeleteExpAttClick());
  EXPECT_EQ(Marks(), 0);
}

TEST_F(AttributeTreeEditingTest, DeleteKeyActsOnlyOnAnAttributeUnderThePointerOutsideARun) {
  TOutput* graph = Exp.GetOutputList()->NewOutput("G", otGRAPH, 2);
  TOutput* text = Exp.GetOutputList()->NewOutput("T", otTEXT, 1);
  TTreeNode* outputs = Exp.GetOutputList()->AExpAttNode;

  Press(graph->AExpAttNode);
  // Other keys are not the tree's.
  EXPECT_FALSE(Editor.ExpAttViewKeyDown(TTreeKey::CtrlC, true));
  EXPECT_TRUE(Editor.ExpAttViewKeyDown(TTreeKey::Delete, false));
  EXPECT_EQ(Names(outputs), (TTexts{"G", "T"})) << "the pointer is elsewhere";
  ExperimentRunning = true;
  EXPECT_TRUE(Editor.ExpAttViewKeyDown(TTreeKey::Delete, true));
  EXPECT_FALSE(Editor.DeleteExpAttClick());
  EXPECT_EQ(Names(outputs), (TTexts{"G", "T"})) << "a run is active";
  ExperimentRunning = false;
  Press(outputs);
  EXPECT_TRUE(Editor.ExpAttViewKeyDown(TTreeKey::Delete, true));
  EXPECT_EQ(Names(outputs), (TTexts{"G", "T"})) << "a list is not deleted";
  EXPECT_EQ(Marks(), 0);

  Press(graph->AExpAttNode);
  EXPECT_TRUE(Editor.ExpAttViewKeyDown(TTreeKey::Delete, true));
  EXPECT_EQ(Names(outputs), TTexts{"T"});
  EXPECT_EQ(Exp.GetOutputList()->GetOutputs(), std::vector<TOutput*>{text});
  EXPECT_EQ(Marks(), 1);
}

TEST_F(AttributeTreeEditingTest, ClearAsksFirstAndIsRefusedDuringARun) {
  TOutput* graph = Exp.GetOutputList()->NewOutput("G", otGRAPH, 2);
  Exp.GetOutputList()->NewOutput("T", otTEXT, 1);
  TDataSingle* x = Single(Start, "x");
  Plot(graph, x);
  TTreeNode* outputs = Exp.GetOutputList()->AExpAttNode;
  const std::string question =
      "You are about to remove everything from Outputs.\rDo you really want to do this?";

  Press(outputs);
  Ui.ScriptAnswers({mbNo});
  EXPECT_FALSE(Editor.ClearExpAttlistClick());
  EXPECT_EQ(Ui.Texts(), TTexts{question});
  EXPECT_EQ(Names(outputs), (TTexts{"G", "T"}));
  EXPECT_EQ(Marks(), 0);

  ExperimentRunning = true;
  Press(outputs);
  EXPECT_FALSE(Editor.ClearExpAttlistClick());
  EXPECT_EQ(Ui.Texts(), TTexts{}) << "no question during a run";
  EXPECT_EQ(Names(outputs), (TTexts{"G", "T"}));
  ExperimentRunning = false;

  // Yes empties the list, the Plot going with its output.
  Press(outputs);
  Ui.ScriptAnswers({mbYes});
  EXPECT_TRUE(Editor.ClearExpAttlistClick());
  EXPECT_EQ(Names(outputs), TTexts{});
  EXPECT_EQ(Children(Start->AExpNode).size(), 1u) << "only the blank line";
  EXPECT_EQ(Names(Exp.GetDataSingleList()->AExpAttNode), TTexts{"Start Block: x"});
  EXPECT_EQ(Marks(), 1);

  // An empty list asks nothing.
  Press(outputs);
  EXPECT_FALSE(Editor.ClearExpAttlistClick());
  EXPECT_EQ(Ui.Texts(), TTexts{});
  EXPECT_EQ(Marks(), 0);
}

TEST_F(AttributeTreeEditingTest, ClearUnusedKeepsEveryAttributeACommandUses) {
  TDataSingle* a = Single(Start, "a");
  Single(Start, "b");
  TDataSingle* c = Single(Start, "c");
  Single(Start, "d");
  TOutput* used = Exp.GetOutputList()->NewOutput("Used", otGRAPH, 2);
  Exp.GetOutputList()->NewOutput("Spare", otTEXT, 1);
  TMultiExpFile* runs = MultiFile("run");
  MultiFile("spare");
  SingleFile("s.txt");
  Increment(a);
  Plot(used, c);  // c is used by the Plot as well
  auto* create = new TCreateNewFileScript(Cur, NewNode(Cur));
  create->SetFile(runs);

  Press(Exp.GetDataSingleList()->AExpAttNode);
  EXPECT_TRUE(Editor.ClearUnusedClick());
  EXPECT_EQ(Names(Exp.GetDataSingleList()->AExpAttNode),
            (TTexts{"Start Block: a", "Start Block: c"}));
  EXPECT_EQ(Marks(), 1);
  EXPECT_EQ(Ui.Texts(), TTexts{}) << "no question";

  Press(Exp.GetOutputList()->AExpAttNode);
  EXPECT_TRUE(Editor.ClearUnusedClick());
  EXPECT_EQ(Names(Exp.GetOutputList()->AExpAttNode), TTexts{"Used"});
  Press(Exp.GetMultiExpFileList()->AExpAttNode);
  EXPECT_TRUE(Editor.ClearUnusedClick());
  EXPECT_EQ(Exp.GetMultiExpFileList()->GetFiles(), std::vector<TExperimentFile*>{runs});
  Press(Exp.GetSingleExpFileList()->AExpAttNode);
  EXPECT_TRUE(Editor.ClearUnusedClick());
  EXPECT_EQ(Exp.GetSingleExpFileList()->GetCount(), 0);
  // Every command is still there.
  EXPECT_EQ(Children(Start->AExpNode).size(), 4u);

  // Nothing left to clear: nothing changes, nothing is marked.
  Press(Exp.GetDataSingleList()->AExpAttNode);
  EXPECT_FALSE(Editor.ClearUnusedClick());
  EXPECT_EQ(Names(Exp.GetDataSingleList()->AExpAttNode),
            (TTexts{"Start Block: a", "Start Block: c"}));
  EXPECT_EQ(Marks(), 0);
}

TEST_F(AttributeTreeEditingTest, ButtonsRefuseDuringARunAndOtherwiseAddOne) {
  const std::pair<TAttributeButton, std::string> buttons[] = {
      {TAttributeButton::Output, "output"},
      {TAttributeButton::Variable, "variable"},
      {TAttributeButton::Array, "array"},
      {TAttributeButton::SingleFile, "single file"},
      {TAttributeButton::MultiFile, "multifile"}};
  ExperimentRunning = true;
  for (const auto& [button, name] : buttons) {
    Press(nullptr);
    Editor.AttributeButtonClick(button);
    EXPECT_EQ(Ui.Texts(), TTexts{"Cannot add " + name + " while running an experiment."});
    EXPECT_EQ(Dialogs, TTexts{}) << name;
  }
  ExperimentRunning = false;
  Press(nullptr);
  for (const auto& [button, name] : buttons) Editor.AttributeButtonClick(button);
  EXPECT_EQ(Dialogs, (TTexts{"output one", "variable one ", "array one ", "single file one",
                             "multiple file one"}));
  EXPECT_EQ(Ui.Texts(), TTexts{});
}

}  // namespace
