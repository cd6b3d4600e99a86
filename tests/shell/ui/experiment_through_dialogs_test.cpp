// An experiment built the way a user builds one, only through the dialogs: the demo's
// meter on the simulated GPIB bus, variables, a graph, a data file, then a loop of
// commands that reads the meter, computes, plots and writes; saved, opened again and run
// to its end, the graph and the file holding one entry per pass.
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTreeWidget>

#include <algorithm>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "communication/ui/device_dialog.h"
#include "main_window_steps.h"
#include "model/data.h"
#include "model/data_list.h"
#include "model/ui/variable_dialog.h"
#include "outputs/exp_file_lists.h"
#include "outputs/graph_form.h"
#include "outputs/output.h"
#include "outputs/output_list.h"
#include "outputs/ui/add_output_dialog.h"
#include "outputs/ui/single_file_dialog.h"
#include "scripts/script.h"
#include "scripts/ui/calculate_dialog.h"
#include "scripts/ui/increment_dialog.h"
#include "scripts/ui/label_dialog.h"
#include "scripts/ui/output_to_file_dialog.h"
#include "scripts/ui/plot_dialog.h"
#include "scripts/ui/read_dialog.h"
#include "scripts/ui/repeat_dialog.h"
#include "scripts/ui/send_dialog.h"
#include "shell/ui/dialog_registry.h"
#include "shell/ui/dialog_setup.h"
#include "support/ui/dialog_driver.h"

namespace {

// Chooses the entry of the combo box by its text, as a user picks it.
void Choose(QWidget& dialog, const char* name, const QString& text) {
  auto* combo = Control<QComboBox>(dialog, name);
  ASSERT_NE(combo, nullptr);
  const int index = combo->findText(text);
  ASSERT_GE(index, 0) << name << ": no " << text.toStdString();
  combo->setCurrentIndex(index);
}

class ExperimentThroughDialogsTest : public TWindowStepsTest {
protected:
  ExperimentThroughDialogsTest() {
    RegisterDialogs(Registry);  // as the application does at start-up
    Port.SetDialogRegistry(&Registry);
  }
  ~ExperimentThroughDialogsTest() override {
    CloseWithoutQuestions();
    Port.SetDialogRegistry(nullptr);
  }

  // Opens the dialog of the class with the action, lets act fill it and press OK; the
  // dialog must have shown and closed.
  template <class TDialog>
  void Through(const char* action, std::function<void(TDialog&)> act) {
    TModalDialogActor<TDialog> actor(std::move(act));
    Trigger(action);
    EXPECT_TRUE(actor.Seen) << action;
    EXPECT_FALSE(actor.LeftOpen) << action;
  }

  // The texts of the start block's commands, nested ones in order, the blank line left out.
  std::vector<std::string> CommandTexts() const {
    std::vector<std::string> texts;
    std::function<void(TTreeNode*)> walk = [&](TTreeNode* parent) {
      for (TTreeNode* node = parent->GetFirstChild(); node; node = node->GetNextSibling()) {
        if (TScript* script = ScriptOfNode(node); script && script->GetScriptType() != TScript::BLANK)
          texts.push_back(script->GetText());
        walk(node);
      }
    };
    walk(BlockOfNode(Exp().GetExperimentTree().GetFirstNode())->AExpNode);
    return texts;
  }

  static std::vector<std::string> Lines(const std::string& path) {
    std::vector<std::string> lines;
    std::ifstream file(path);
    for (std::string line; std::getline(file, line);) lines.push_back(line);
    return lines;
  }

  TDialogRegistry Registry;
};

TEST_F(ExperimentThroughDialogsTest, AnExperimentMadeInTheDialogsIsSavedOpenedAndRun) {
  TDemoInstruments instruments;
  ASSERT_NO_FATAL_FAILURE(StartQorv());
  const std::string dataPath = Temp.PathOf("data.txt");
  const std::string experimentPath = Temp.PathOf("loop.qve");

  // The meter at address 5 of the NI board.
  Through<TDeviceForm>("AddDeviceButton", [](TDeviceForm& dialog) {
    Retype(dialog, "NameEdit", "Meter");
    auto* tree = Control<QTreeWidget>(dialog, "CommunicationTree");
    QTreeWidgetItem* board = nullptr;
    for (int g = 0; g < tree->topLevelItemCount(); ++g)
      if (tree->topLevelItem(g)->text(0) == "NATIONAL_GPIB0") board = tree->topLevelItem(g);
    ASSERT_NE(board, nullptr) << "the simulated NI board is not offered";
    QTreeWidgetItem* address5 = board->child(4);
    tree->scrollToItem(address5);
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, tree->visualItemRect(address5).center());
    ClickControl(dialog, "Ok");
  });
  ASSERT_EQ(ShownDevices(), 1);

  // x takes the readings, n counts the passes, y is computed from x.
  const struct {
    const char* name;
    const char* type;
  } variables[] = {{"x", "FloatButton"}, {"n", "IntButton"}, {"y", "FloatButton"}};
  for (const auto& variable : variables)
    Through<TDataForm>("AddVariableButton", [&](TDataForm& dialog) {
      Retype(dialog, "VarName", variable.name);
      ClickControl(dialog, variable.type);
      ClickControl(dialog, "OK");
    });
  ASSERT_EQ(Exp().GetDataSingleList()->GetCount(), 3);

  Through<TAddOutputForm>("OutputButton", [](TAddOutputForm& dialog) {
    Retype(dialog, "OutputTitle", "Volts");
    ClickControl(dialog, "GraphRadio");
    Retype(dialog, "ChannelEdit", "1");
    ClickControl(dialog, "OK");
  });
  ASSERT_EQ(Exp().GetOutputList()->GetCount(), 1);
  Through<TSingleExpFileForm>("AddSingleFileButton", [&](TSingleExpFileForm& dialog) {
    Retype(dialog, "FileName", QString::fromStdString(dataPath));
    ClickControl(dialog, "OK");
  });
  ASSERT_EQ(Exp().GetSingleExpFileList()->GetCount(), 1);

  // The loop: each pass counts, reads the meter, computes y, plots it and writes it.
  Through<TLabelScriptForm>("AddLabelCmd", [](TLabelScriptForm& dialog) {
    Retype(dialog, "LabelEdit", "Top");
    Press(dialog, "Ok");
  });
  Through<TIncrementScriptForm>("IncrementButton", [](TIncrementScriptForm& dialog) {
    Choose(dialog, "ConstantBox", "n");
    Retype(dialog, "IncEdit", "1");
    Press(dialog, "Ok");
  });
  Through<TSendScriptForm>("SendButton", [](TSendScriptForm& dialog) {
    Retype(dialog, "EditSendCmd", "MEAS?");
    Press(dialog, "Ok");
  });
  Through<TReadScriptForm>("ReadButton", [](TReadScriptForm& dialog) {
    Choose(dialog, "DataComboBox", "x");
    Press(dialog, "Ok");
  });
  Through<TCalculateScriptForm>("CalculatorButton", [](TCalculateScriptForm& dialog) {
    Retype(dialog, "CalculateEdit", "x*2");
    Choose(dialog, "VarComboBox", "F: y");
    Press(dialog, "Ok");
  });
  Through<TPlotScriptForm>("PlotButton", [](TPlotScriptForm& dialog) {
    Control<QRadioButton>(dialog, "VariableButton")->click();
    Choose(dialog, "XVariableCombo", "n");
    Choose(dialog, "YVariableCombo", "y");
    // A graph of one channel plots to channel 0, which cannot be changed.
    EXPECT_EQ(Control<QComboBox>(dialog, "ChannelComboBox")->currentText(), QString("0"));
    Press(dialog, "Ok");
  });
  Through<TOutputToFileForm>("OutToFile", [](TOutputToFileForm& dialog) {
    Choose(dialog, "VariableCombo", "y");
    Press(dialog, "AddBtn");
    Press(dialog, "Ok");
  });
  Through<TRepeatScriptForm>("RepeatButton", [](TRepeatScriptForm& dialog) {
    Retype(dialog, "CountEdit", "5");
    Press(dialog, "Ok");
  });
  EXPECT_TRUE(Dialogs.Texts().empty()) << "a dialog refused: " << Dialogs.Texts().front();
  const std::vector<std::string> built = CommandTexts();
  ASSERT_EQ(built, (std::vector<std::string>{
                       "Top", "Increment n by 1", "Meter: Send(MEAS?) T", "Meter: Read ASCII(x)",
                       "Calculate(y=x*2)", "Volts(0): Plot(n, y)", "Output To File (data.txt)",
                       "Repeat Top 5 times"}));

  // Saved, opened again: the same commands, nothing to save.
  SaveAs(experimentPath);
  ASSERT_EQ(Panel(TQorvForm::spModified), QString(""));
  Dialogs.ScriptFiles({experimentPath});
  Trigger("OpenButton");
  EXPECT_EQ(Window->windowTitle(), QString("Qorv Current Experiment: loop.qve"));
  EXPECT_EQ(CommandTexts(), built);
  ASSERT_EQ(ShownDevices(), 1);

  // Closed dialogs leave no window active offscreen; the user's window takes the key.
  Window->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(Window.get()));
  ASSERT_NO_FATAL_FAILURE(RunToTheEnd());
  TOutput* graph = Exp().GetOutputList()->GetOutput(0);
  ASSERT_NE(graph, nullptr);
  auto* form = dynamic_cast<TGraphForm*>(graph->GetOutputForm());
  ASSERT_NE(form, nullptr);
  ASSERT_GE(form->SeriesCount(), 1);
  const TGraphSeries& series = form->GetSeries(0);
  ASSERT_EQ(series.Count(), 5);
  for (int pass = 0; pass < 5; ++pass) EXPECT_EQ(series.X[pass], pass + 1.0);  // n counts
  const std::vector<std::string> lines = Lines(dataPath);
  ASSERT_EQ(lines.size(), 5u);
  // Each line is the y plotted in its pass, twice the meter's reading.
  for (int pass = 0; pass < 5; ++pass) {
    EXPECT_NEAR(std::stod(lines[pass]), series.Y[pass], 1e-4) << lines[pass];
  }
  // The last pass computed y from the meter's last reading.
  std::vector<TData*> singles;
  Exp().GetDataSingleList()->GetAll(singles);
  const auto x = std::find_if(singles.begin(), singles.end(),
                              [](TData* variable) { return variable->GetDataName() == "x"; });
  ASSERT_NE(x, singles.end());
  EXPECT_NEAR(series.Y[4], 2 * std::stod((*x)->GetValueText()), 1e-4);
  EXPECT_EQ(Dialogs.Texts(), std::vector<std::string>{"Experiment Complete"});
}

}  // namespace
