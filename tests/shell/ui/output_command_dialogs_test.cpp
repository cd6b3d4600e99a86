// The dialogs of the commands that write to outputs and data files, driven through the
// main window as a user does: Plot, Output to File, Clear Output and Create New File,
// and their rows in the attribute tree's pop-up menu.
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>

#include "command_dialogs_fixture.h"
#include "main_window_widgets.h"
#include "model/data.h"
#include "model/data_list.h"
#include "model/experiment_running.h"
#include "model/variable_data.h"
#include "outputs/output.h"
#include "outputs/output_list.h"
#include "outputs/plot_index.h"
#include "outputs/exp_file.h"
#include "outputs/exp_file_lists.h"
#include "scripts/files/create_new_file_script.h"
#include "scripts/files/output_to_file_script.h"
#include "scripts/outputs/clear_output_script.h"
#include "scripts/outputs/plot_script.h"
#include "scripts/script.h"
#include "scripts/script_request.h"
#include "scripts/ui/clear_output_dialog.h"
#include "scripts/ui/create_new_file_dialog.h"
#include "scripts/ui/output_to_file_dialog.h"
#include "scripts/ui/plot_dialog.h"
#include "scripts/ui/script_dialogs.h"
#include "shell/ui/dialog_registry.h"
#include "support/ui/dialog_driver.h"

namespace {

void Retype(QComboBox& box, const QString& text) {
  box.setFocus();
  box.lineEdit()->selectAll();
  QTest::keyClick(box.lineEdit(), Qt::Key_Delete);
  QTest::keyClicks(box.lineEdit(), text);
}

void Choose(QComboBox& box, const QString& text) {
  const int item = box.findText(text);
  ASSERT_GE(item, 0) << text.toStdString();
  box.setCurrentIndex(item);
}

QStringList Items(const QComboBox& box) {
  QStringList items;
  for (int i = 0; i < box.count(); ++i) items << box.itemText(i);
  return items;
}

}  // namespace

class TOutputCommandDialogsTest : public TCommandDialogsFixture {
protected:
  using TCommandDialogsFixture::Commands;
  // The start block's commands.
  std::vector<TScript*> Commands() const { return Commands(Start); }
  TData* Single(const char* name, int type) {
    return Exp().GetDataSingleList()->Add(Start, type, 1, name);
  }
  TData* Array(const char* name, int size) {
    return Exp().GetDataArrayList()->Add(Start, eatFLOAT, size, name);
  }
  TSingleExpFile* SingleFile(const char* name) {
    TSingleExpFileRequest request;
    request.FileName = Temp.PathOf(name);
    return Exp().GetSingleExpFileList()->Create(request);
  }
  TMultiExpFile* MultiFile(const char* base) {
    TMultiExpFileRequest request;
    request.Directory = Temp.Path().string();
    request.BaseName = base;
    request.Extension = "txt";
    return Exp().GetMultiExpFileList()->Create(request);
  }
  QMenu* RightClickAttribute(const TTreeNode* node) {
    TNodeTreeView* tree = TreeView("ExpAttView");
    return RightClick(tree->viewport(), PointOf(tree, node), "ExpAttPopup");
  }
  bool Modified() const { return Panel(TQorvForm::spModified) == "Modified"; }
};

using TPlotActor = TModalDialogActor<TPlotScriptForm>;

TEST_F(TOutputCommandDialogsTest, ThePlotButtonRefusesWithoutVariablesOrOutputs) {
  Dialogs.ScriptAnswers({mbOK, mbOK});
  TPlotActor none([](TPlotScriptForm&) {});
  Trigger("PlotButton");
  Single("word", eatSTRING);
  Exp().GetOutputList()->NewOutput("Chart", otGRAPH, 1);
  Trigger("PlotButton");  // a graph cannot plot a string
  QTest::qWait(50);
  EXPECT_FALSE(none.Seen);
  EXPECT_EQ(Dialogs.Texts(),
            (std::vector<std::string>{
                "There are no variables to plot, cannot create a plot command",
                "There are no output to plot to or the outputs cannot plot any of the data, "
                "cannot create a plot command"}));
  EXPECT_TRUE(Commands().empty());
}

TEST_F(TOutputCommandDialogsTest, ThePlotButtonAddsAPlotThatADoubleClickChanges) {
  Single("y", eatFLOAT);
  TData* n = Single("n", eatINTEGER);
  TOutput* graph = Exp().GetOutputList()->NewOutput("Volts", otGRAPH, 2);
  Window->RefreshViews();

  Dialogs.ScriptAnswers({mbOK, mbOK, mbOK});
  TPlotActor add([&](TPlotScriptForm& dialog) {
    EXPECT_EQ(dialog.windowTitle(), QString("Plot"));
    EXPECT_EQ(Control<QPushButton>(dialog, "Help")->property("helpContext").toInt(), 6);
    auto* channel = Control<QComboBox>(dialog, "ChannelComboBox");
    EXPECT_TRUE(channel->isEnabled());
    EXPECT_EQ(Items(*channel), QStringList{"n"});  // the integer singles
    EXPECT_EQ(Control<QLabel>(dialog, "MaxChannelLabel")->text(), QString("(2)"));
    // A graph always has an X: the counter when no variable.
    EXPECT_TRUE(Control<QRadioButton>(dialog, "NoneButton")->isHidden());
    EXPECT_TRUE(Control<QRadioButton>(dialog, "CounterButton")->isChecked());
    EXPECT_TRUE(Control<QWidget>(dialog, "XPanel")->isHidden());
    EXPECT_EQ(Control<QComboBox>(dialog, "YVariableCombo")->currentText(), QString("y"));
    Retype(*channel, "2");
    Press(dialog, "Ok");
    Retype(*channel, "zz");
    Press(dialog, "Ok");
    Retype(*channel, "");
    Press(dialog, "Ok");
    EXPECT_TRUE(dialog.isVisible());
    Retype(*channel, " 1 ");
    Press(dialog, "Ok");
  });
  Trigger("PlotButton");
  ASSERT_TRUE(add.Seen);
  EXPECT_FALSE(add.LeftOpen);
  EXPECT_EQ(Dialogs.Texts(), (std::vector<std::string>{"The channel 2 is out of range.",
                                                        "Invalid plot channel",
                                                        "Invalid plot channel"}));
  Dialogs.ClearCalls();
  ASSERT_EQ(Commands().size(), 1u);
  auto* plot = dynamic_cast<TPlotScript*>(Commands()[0]);
  ASSERT_NE(plot, nullptr);
  EXPECT_EQ(plot->GetOutput(), graph);
  EXPECT_EQ(plot->GetChannel(), 1);
  EXPECT_TRUE(plot->GetUseCounter());
  EXPECT_EQ(plot->GetVariableX(), nullptr);
  EXPECT_EQ(Shown(plot->AExpNode), QString("Volts(1): Plot(Counter, y)"));
  EXPECT_TRUE(Modified());

  // A double click shows it; X becomes the variable n, the channel the variable n.
  Window->Session().ExperimentChanged(0, 1);
  TPlotActor change([&](TPlotScriptForm& dialog) {
    auto* channel = Control<QComboBox>(dialog, "ChannelComboBox");
    EXPECT_EQ(channel->currentText(), QString("1"));
    EXPECT_TRUE(Control<QRadioButton>(dialog, "CounterButton")->isChecked());
    Choose(*channel, "n");
    Control<QRadioButton>(dialog, "VariableButton")->click();
    EXPECT_TRUE(Control<QWidget>(dialog, "XPanel")->isVisible());
    Choose(*Control<QComboBox>(dialog, "XVariableCombo"), "n");
    Press(dialog, "Ok");
  });
  DoubleClick(plot->AExpNode);
  ASSERT_TRUE(change.Seen);
  EXPECT_FALSE(change.LeftOpen);
  ASSERT_NE(plot->GetVariableX(), nullptr);
  EXPECT_EQ(plot->GetVariableX()->GetData(), n);
  EXPECT_FALSE(plot->GetUseCounter());
  EXPECT_EQ(plot->GetPlotIndex()->GetVariable(), n);
  EXPECT_EQ(Shown(plot->AExpNode).toStdString(), plot->GetText());
  EXPECT_EQ(plot->GetText(), "Volts(n): Plot(n, y)");
  EXPECT_TRUE(Modified());

  // Cancel leaves it; the dialog shows what the command has.
  Window->Session().ExperimentChanged(0, 1);
  TPlotActor cancel([&](TPlotScriptForm& dialog) {
    EXPECT_EQ(Control<QComboBox>(dialog, "ChannelComboBox")->currentText(), QString("n"));
    EXPECT_TRUE(Control<QRadioButton>(dialog, "VariableButton")->isChecked());
    EXPECT_EQ(Control<QComboBox>(dialog, "XVariableCombo")->currentText(), QString("n"));
    Control<QRadioButton>(dialog, "CounterButton")->click();
    Press(dialog, "Cancel");
  });
  DoubleClick(plot->AExpNode);
  ASSERT_TRUE(cancel.Seen);
  EXPECT_EQ(plot->GetVariableX()->GetData(), n);
  EXPECT_FALSE(Modified());
  EXPECT_TRUE(Dialogs.Texts().empty());
}

TEST_F(TOutputCommandDialogsTest, ThePlotDialogChecksArrayIndexesAndTheSameXAndY) {
  TData* a = Array("A", 10);
  Single("i", eatINTEGER);
  Exp().GetOutputList()->NewOutput("Big", otBIGNUMBER, 1);
  Exp().GetOutputList()->NewOutput("Log", otTEXT, 1);

  Dialogs.ScriptAnswers({mbOK, mbOK, mbNo});
  TPlotActor add([&](TPlotScriptForm& dialog) {
    auto* outputs = Control<QComboBox>(dialog, "OutputBox");
    auto* index = Control<QComboBox>(dialog, "YArrayIndexCombo");
    EXPECT_FALSE(Control<QComboBox>(dialog, "ChannelComboBox")->isEnabled());
    Choose(*Control<QComboBox>(dialog, "YVariableCombo"), "A");
    EXPECT_TRUE(index->isVisible());
    // A big number shows one value: no entire array.
    EXPECT_EQ(Items(*index), QStringList{"i"});
    Choose(*outputs, "Log");
    EXPECT_EQ(Items(*index), (QStringList{"i", "Entire Array"}));
    Control<QRadioButton>(dialog, "VariableButton")->click();
    EXPECT_EQ(Items(*index), QStringList{"i"});
    Choose(*Control<QComboBox>(dialog, "XVariableCombo"), "A");
    Retype(*Control<QComboBox>(dialog, "XArrayIndexCombo"), "3");
    Retype(*index, "10");
    Press(dialog, "Ok");
    EXPECT_TRUE(FocusedInWindow(index));
    Retype(*index, "x");
    Press(dialog, "Ok");
    Retype(*index, "3");
    Press(dialog, "Ok");  // the same element: No keeps the dialog open
    EXPECT_TRUE(dialog.isVisible());
    Control<QRadioButton>(dialog, "NoneButton")->click();
    Choose(*index, "Entire Array");
    Press(dialog, "Ok");
  });
  Trigger("PlotButton");
  ASSERT_TRUE(add.Seen);
  EXPECT_FALSE(add.LeftOpen);
  ASSERT_EQ(Dialogs.Texts().size(), 3u);
  EXPECT_EQ(Dialogs.Texts()[0], "The maximum index for this array is 9");
  EXPECT_EQ(Dialogs.Texts()[2],
            "The x variable and y variable are the same.\r Do you really want to plot this?");
  ASSERT_EQ(Commands().size(), 1u);
  auto* plot = dynamic_cast<TPlotScript*>(Commands()[0]);
  ASSERT_NE(plot, nullptr);
  EXPECT_EQ(plot->GetVariableY()->GetData(), a);
  EXPECT_TRUE(plot->PlotsEntireArray());
  EXPECT_EQ(plot->GetVariableX(), nullptr);
  EXPECT_FALSE(plot->GetUseCounter());
  EXPECT_EQ(plot->GetOutput()->GetName(), "Log");
}

using TFileActor = TModalDialogActor<TOutputToFileForm>;

QStringList Listed(QDialog& dialog) {
  QStringList rows;
  auto* list = Control<QListWidget>(dialog, "OutputList");
  for (int row = 0; row < list->count(); ++row) rows << list->item(row)->text();
  return rows;
}

TEST_F(TOutputCommandDialogsTest, TheOutputToFileButtonRefusesWithoutVariablesOrFiles) {
  Dialogs.ScriptAnswers({mbOK, mbOK});
  TFileActor none([](TOutputToFileForm&) {});
  Trigger("OutToFile");
  Single("x", eatINTEGER);
  Trigger("OutToFile");
  QTest::qWait(50);
  EXPECT_FALSE(none.Seen);
  EXPECT_EQ(Dialogs.Texts(),
            (std::vector<std::string>{
                "There are no variables to output, cannot create an output to file command",
                "There are no files to write to, cannot create an output to file command."}));
  EXPECT_TRUE(Commands().empty());
}

TEST_F(TOutputCommandDialogsTest, TheOutputToFileButtonAddsACommandThatADoubleClickChanges) {
  TData* x = Single("x", eatFLOAT);
  TData* i = Single("i", eatINTEGER);
  TData* a = Array("A", 5);
  TSingleExpFile* file = SingleFile("data.txt");
  Window->RefreshViews();

  Dialogs.ScriptAnswers({mbOK, mbOK, mbOK, mbOK, mbOK, mbOK});
  TFileActor add([&](TOutputToFileForm& dialog) {
    EXPECT_EQ(dialog.windowTitle(), QString("Output To File"));
    EXPECT_EQ(Control<QPushButton>(dialog, "Help")->property("helpContext").toInt(), 71);
    auto* files = Control<QComboBox>(dialog, "FileBox");
    EXPECT_EQ(files->currentText(), QString("data.txt"));
    Control<QCheckBox>(dialog, "ShowLongFileCheck")->click();
    EXPECT_EQ(files->currentText().toStdString(), Temp.PathOf("data.txt"));
    EXPECT_TRUE(Control<QWidget>(dialog, "NumEdit")->isHidden());
    EXPECT_EQ(Control<QLineEdit>(dialog, "DelEdit")->text(), QString(","));
    auto* variables = Control<QComboBox>(dialog, "VariableCombo");
    auto* index = Control<QComboBox>(dialog, "ArrayCombo");
    Press(dialog, "AddBtn");  // nothing chosen
    Press(dialog, "Ok");      // nothing listed
    Choose(*variables, "x");
    EXPECT_TRUE(index->isHidden());
    Press(dialog, "AddBtn");
    Choose(*variables, "A");
    EXPECT_TRUE(index->isVisible());
    Retype(*index, "5");
    Press(dialog, "AddBtn");  // past the end: nothing added
    Retype(*index, "i");
    Press(dialog, "AddBtn");
    Choose(*index, "Entire Array");
    Press(dialog, "AddBtn");
    EXPECT_EQ(Listed(dialog), (QStringList{"Start Block: x", "Start Block: A[i]", "Start Block: A[Entire Array]"}));
    // The first goes last.
    Control<QListWidget>(dialog, "OutputList")->setCurrentRow(0);
    Press(dialog, "DownBtn");
    Press(dialog, "DownBtn");
    EXPECT_EQ(Listed(dialog), (QStringList{"Start Block: A[i]", "Start Block: A[Entire Array]", "Start Block: x"}));
    Control<QCheckBox>(dialog, "TimeStampCheck")->click();
    Choose(*Control<QComboBox>(dialog, "NoteTypeBox"), "Fixed");
    auto* places = Control<QLineEdit>(dialog, "NumEdit");
    EXPECT_TRUE(places->isVisible());
    Press(dialog, "Ok");
    QTest::keyClicks(places, "2.5");
    Press(dialog, "Ok");
    places->clear();
    QTest::keyClicks(places, "19");
    Press(dialog, "Ok");
    EXPECT_TRUE(FocusedInWindow(places));
    places->clear();
    QTest::keyClicks(places, "18");
    auto* delimiter = Control<QLineEdit>(dialog, "DelEdit");
    delimiter->selectAll();
    QTest::keyClicks(delimiter, ";");
    Press(dialog, "Ok");
  });
  Trigger("OutToFile");
  ASSERT_TRUE(add.Seen);
  EXPECT_FALSE(add.LeftOpen);
  EXPECT_EQ(Dialogs.Texts(),
            (std::vector<std::string>{
                "Nothing to add", "You must specify variables to output.",
                "The maximum index for this array is 4",
                "You must enter a number of decimal places",
                "You must enter an integer number of decimal places greater than zero",
                "You must enter a number of decimal places of 18 or less"}));
  Dialogs.ClearCalls();
  ASSERT_EQ(Commands().size(), 1u);
  auto* command = dynamic_cast<TOutputToFileScript*>(Commands()[0]);
  ASSERT_NE(command, nullptr);
  EXPECT_EQ(command->GetExpFile(), file);
  EXPECT_TRUE(command->GetTimeStamp());
  EXPECT_FALSE(command->GetDateStamp());
  EXPECT_EQ(command->GetDelimiter(), ";");
  EXPECT_EQ(command->GetNotation(), 1);
  EXPECT_EQ(command->GetDecimalPlaces(), 18);
  const std::vector<TOutputToFileEntry> entries = command->GetEntries();
  ASSERT_EQ(entries.size(), 3u);
  EXPECT_EQ(entries[0].Data, a);
  EXPECT_EQ(entries[0].IndexVariable, i);
  EXPECT_EQ(entries[1].Data, a);
  EXPECT_EQ(entries[1].IndexVariable, nullptr);
  EXPECT_EQ(entries[1].Index, -1);
  EXPECT_EQ(entries[2].Data, x);
  EXPECT_EQ(Shown(command->AExpNode), QString("Output To File (data.txt)"));
  EXPECT_TRUE(Modified());

  // A double click shows the command; removing the entire array and OK changes it.
  Window->Session().ExperimentChanged(0, 1);
  Dialogs.ScriptAnswers({mbYes});
  TFileActor change([&](TOutputToFileForm& dialog) {
    EXPECT_EQ(Listed(dialog), (QStringList{"Start Block: A[i]", "Start Block: A[Entire Array]", "Start Block: x"}));
    EXPECT_EQ(Control<QLineEdit>(dialog, "NumEdit")->text(), QString("18"));
    EXPECT_TRUE(Control<QCheckBox>(dialog, "TimeStampCheck")->isChecked());
    Control<QListWidget>(dialog, "OutputList")->setCurrentRow(1);
    Press(dialog, "RemoveBtn");
    Choose(*Control<QComboBox>(dialog, "NoteTypeBox"), "Standard");
    Press(dialog, "Ok");
  });
  DoubleClick(command->AExpNode);
  ASSERT_TRUE(change.Seen);
  EXPECT_FALSE(change.LeftOpen);
  EXPECT_EQ(Dialogs.Texts(),
            std::vector<std::string>{"Do you really wish to remove Start Block: A[Entire Array]?"});
  Dialogs.ClearCalls();
  EXPECT_EQ(command->GetEntries().size(), 2u);
  EXPECT_EQ(command->GetNotation(), 0);
  EXPECT_TRUE(Modified());

  // Cancel leaves it.
  Window->Session().ExperimentChanged(0, 1);
  Dialogs.ScriptAnswers({mbYes});
  TFileActor cancel([&](TOutputToFileForm& dialog) {
    Press(dialog, "RemoveAllBtn");
    EXPECT_TRUE(Listed(dialog).empty());
    Press(dialog, "Cancel");
  });
  DoubleClick(command->AExpNode);
  ASSERT_TRUE(cancel.Seen);
  EXPECT_EQ(command->GetEntries().size(), 2u);
  EXPECT_FALSE(Modified());
}

using TClearActor = TModalDialogActor<TClearScriptForm>;

TEST_F(TOutputCommandDialogsTest, TheClearOutputButtonAddsAClearThatADoubleClickChanges) {
  Dialogs.ScriptAnswers({mbOK});
  {
    TClearActor none([](TClearScriptForm&) {});
    Trigger("ClearOutputBtn");
    QTest::qWait(50);
    EXPECT_FALSE(none.Seen);
  }
  EXPECT_EQ(Dialogs.Texts(), std::vector<std::string>{
                                 "There are no output to clear, cannot create a clear output command"});
  Dialogs.ClearCalls();
  TOutput* volts = Exp().GetOutputList()->NewOutput("Volts", otGRAPH, 1);
  TOutput* log = Exp().GetOutputList()->NewOutput("Log", otTEXT, 1);
  Window->RefreshViews();

  Dialogs.ScriptAnswers({mbOK});
  TClearActor add([&](TClearScriptForm& dialog) {
    EXPECT_EQ(dialog.windowTitle(), QString("Clear Output"));
    EXPECT_EQ(Control<QPushButton>(dialog, "Help")->property("helpContext").toInt(), 67);
    // The warning wraps over two lines, all of them shown.
    auto* warning = Control<QLabel>(dialog, "Label1");
    EXPECT_GE(warning->height(), warning->heightForWidth(warning->width()));
    auto* outputs = Control<QComboBox>(dialog, "OutputBox");
    EXPECT_EQ(Items(*outputs), (QStringList{"Volts", "Log"}));
    EXPECT_EQ(outputs->currentText(), QString("Volts"));
    outputs->setCurrentIndex(-1);
    Press(dialog, "Ok");
    EXPECT_TRUE(dialog.isVisible());
    Choose(*outputs, "Log");
    Press(dialog, "Ok");
  });
  Trigger("ClearOutputBtn");
  ASSERT_TRUE(add.Seen);
  EXPECT_FALSE(add.LeftOpen);
  EXPECT_EQ(Dialogs.Texts(), std::vector<std::string>{"You must select an output"});
  ASSERT_EQ(Commands().size(), 1u);
  auto* clear = dynamic_cast<TClearPlotScript*>(Commands()[0]);
  ASSERT_NE(clear, nullptr);
  EXPECT_EQ(clear->GetOutput(), log);
  EXPECT_EQ(Shown(clear->AExpNode), QString("Clear Log"));
  EXPECT_TRUE(Modified());

  TClearActor cancel([](TClearScriptForm& dialog) {
    EXPECT_EQ(Control<QComboBox>(dialog, "OutputBox")->currentText(), QString("Log"));
    Choose(*Control<QComboBox>(dialog, "OutputBox"), "Volts");
    Press(dialog, "Cancel");
  });
  DoubleClick(clear->AExpNode);
  ASSERT_TRUE(cancel.Seen);
  EXPECT_EQ(clear->GetOutput(), log);
  TClearActor change([](TClearScriptForm& dialog) {
    Choose(*Control<QComboBox>(dialog, "OutputBox"), "Volts");
    Press(dialog, "Ok");
  });
  DoubleClick(clear->AExpNode);
  ASSERT_TRUE(change.Seen);
  EXPECT_EQ(clear->GetOutput(), volts);
  EXPECT_EQ(Shown(clear->AExpNode), QString("Clear Volts"));
}

using TCreateActor = TModalDialogActor<TCreateNewFileForm>;

TEST_F(TOutputCommandDialogsTest, TheCreateNewFileButtonOffersTheMultipleFiles) {
  SingleFile("one.txt");
  Dialogs.ScriptAnswers({mbOK});
  {
    TCreateActor none([](TCreateNewFileForm&) {});
    Trigger("MakeNewFileBtn");
    QTest::qWait(50);
    EXPECT_FALSE(none.Seen);
  }
  EXPECT_EQ(Dialogs.Texts(),
            std::vector<std::string>{"There are no Multiple Files, cannot create this command."});
  Dialogs.ClearCalls();
  TMultiExpFile* run = MultiFile("run");
  TMultiExpFile* scan = MultiFile("scan");
  Window->RefreshViews();

  Dialogs.ScriptAnswers({mbOK});
  TCreateActor add([&](TCreateNewFileForm& dialog) {
    EXPECT_EQ(dialog.windowTitle(), QString("Create a New File"));
    EXPECT_EQ(Control<QPushButton>(dialog, "Help")->property("helpContext").toInt(), 72);
    auto* files = Control<QComboBox>(dialog, "FileBox");
    EXPECT_EQ(Items(*files), (QStringList{"run_X.txt", "scan_X.txt"}));
    Choose(*files, "scan_X.txt");
    Control<QCheckBox>(dialog, "ShowLongFileCheck")->click();
    EXPECT_EQ(files->currentText().toStdString(), scan->GetFullName());
    EXPECT_EQ(files->currentIndex(), 1);
    files->setCurrentIndex(-1);
    Press(dialog, "Ok");
    files->setCurrentIndex(1);
    Press(dialog, "Ok");
  });
  Trigger("MakeNewFileBtn");
  ASSERT_TRUE(add.Seen);
  EXPECT_FALSE(add.LeftOpen);
  EXPECT_EQ(Dialogs.Texts(), std::vector<std::string>{"You must select an experiment file."});
  ASSERT_EQ(Commands().size(), 1u);
  auto* command = dynamic_cast<TCreateNewFileScript*>(Commands()[0]);
  ASSERT_NE(command, nullptr);
  EXPECT_EQ(command->GetFile(), scan);
  EXPECT_EQ(Shown(command->AExpNode), QString("Create New File(scan_X.txt)"));

  TCreateActor change([](TCreateNewFileForm& dialog) {
    auto* files = Control<QComboBox>(dialog, "FileBox");
    EXPECT_EQ(files->currentText(), QString("scan_X.txt"));
    Choose(*files, "run_X.txt");
    Press(dialog, "Ok");
  });
  DoubleClick(command->AExpNode);
  ASSERT_TRUE(change.Seen);
  EXPECT_EQ(command->GetFile(), run);
  EXPECT_EQ(Shown(command->AExpNode), QString("Create New File(run_X.txt)"));
}

TEST_F(TOutputCommandDialogsTest, TheAttributeTreeStartsCommandsFromTheSelectedAttribute) {
  TData* x = Single("x", eatFLOAT);
  TData* word = Single("word", eatSTRING);
  TOutput* graph = Exp().GetOutputList()->NewOutput("Volts", otGRAPH, 1);
  TOutput* log = Exp().GetOutputList()->NewOutput("Log", otTEXT, 1);
  TSingleExpFile* data = SingleFile("data.txt");
  TSingleExpFile* other = SingleFile("other.txt");
  TMultiExpFile* run = MultiFile("run");
  Window->RefreshViews();

  // "Plot" on a string variable: the first output that can show text.
  TPlotActor plot([&](TPlotScriptForm& dialog) {
    EXPECT_EQ(Control<QComboBox>(dialog, "OutputBox")->currentText(), QString("Log"));
    EXPECT_EQ(Control<QComboBox>(dialog, "YVariableCombo")->currentText(), QString("word"));
    Press(dialog, "Ok");
  });
  ClickItem(RightClickAttribute(word->AExpAttNode), "PlotItem");
  ASSERT_TRUE(plot.Seen);
  EXPECT_FALSE(plot.LeftOpen);
  ASSERT_EQ(Commands().size(), 1u);
  auto* plotted = dynamic_cast<TPlotScript*>(Commands()[0]);
  ASSERT_NE(plotted, nullptr);
  EXPECT_EQ(plotted->GetOutput(), log);
  EXPECT_EQ(plotted->GetVariableY()->GetData(), word);

  // "Plot" on an output selects it.
  TPlotActor onOutput([&](TPlotScriptForm& dialog) {
    EXPECT_EQ(Control<QComboBox>(dialog, "OutputBox")->currentText(), QString("Volts"));
    Press(dialog, "Cancel");
  });
  ClickItem(RightClickAttribute(graph->AExpAttNode), "PlotItem");
  ASSERT_TRUE(onOutput.Seen);

  // "Output To File" on a single variable lists it at once; on a file selects it.
  TFileActor fromVariable([&](TOutputToFileForm& dialog) {
    EXPECT_EQ(Listed(dialog), QStringList{"Start Block: x"});
    Press(dialog, "Ok");
  });
  ClickItem(RightClickAttribute(x->AExpAttNode), "OutputToFileItem");
  ASSERT_TRUE(fromVariable.Seen);
  EXPECT_FALSE(fromVariable.LeftOpen);
  ASSERT_EQ(Commands().size(), 2u);
  auto* written = dynamic_cast<TOutputToFileScript*>(Commands()[1]);
  ASSERT_NE(written, nullptr);
  EXPECT_EQ(written->GetExpFile(), data);
  TFileActor fromFile([&](TOutputToFileForm& dialog) {
    EXPECT_EQ(Control<QComboBox>(dialog, "FileBox")->currentText(), QString("other.txt"));
    EXPECT_TRUE(Listed(dialog).empty());
    Press(dialog, "Cancel");
  });
  ClickItem(RightClickAttribute(other->AExpAttNode), "OutputToFileItem");
  ASSERT_TRUE(fromFile.Seen);

  // "Create New File" on a multiple file makes the command without a dialog.
  Window->Session().ExperimentChanged(0, 1);
  ClickItem(RightClickAttribute(run->AExpAttNode), "CreateNewFileItem");
  ASSERT_EQ(Commands().size(), 3u);
  auto* created = dynamic_cast<TCreateNewFileScript*>(Commands()[2]);
  ASSERT_NE(created, nullptr);
  EXPECT_EQ(created->GetFile(), run);
  EXPECT_EQ(Shown(created->AExpNode), QString("Create New File(run_X.txt)"));
  EXPECT_TRUE(Modified());

  // During a run each refuses with its name.
  ExperimentRunning = true;
  Dialogs.ScriptAnswers({mbOK, mbOK});
  QMenu* popup = RightClickAttribute(run->AExpAttNode);
  ClickItem(popup, "OutputToFileItem");
  popup = RightClickAttribute(run->AExpAttNode);
  ClickItem(popup, "CreateNewFileItem");
  EXPECT_EQ(Dialogs.Texts(),
            (std::vector<std::string>{"Cannot add Output To File command while running an experiment.",
                                      "Cannot add Create New File command while running an experiment."}));
  ExperimentRunning = false;
  EXPECT_EQ(Commands().size(), 3u);
  EXPECT_TRUE(Dialogs.Boxes().size() == 2u);
}

TEST_F(TOutputCommandDialogsTest, DuringARunTheOutputToFileDialogOnlyShowsItsCommand) {
  TData* x = Single("x", eatINTEGER);
  TSingleExpFile* file = SingleFile("data.txt");
  Exp().SelectBlock(Start->AExpNode);
  auto* command = static_cast<TOutputToFileScript*>(
      AddScriptToSelectedBlock(Exp(), TScript::OUTPUTTOFILE));
  TOutputToFileEntry entry;
  entry.Data = x;
  command->SetUpFromForm(file, TOutputToFileSettings{}, {entry});
  Window->RefreshViews();

  ExperimentRunning = true;
  QStringList enabled;
  TFileActor look([&](TOutputToFileForm& dialog) {
    EXPECT_EQ(Listed(dialog), QStringList{"Start Block: x"});
    for (const char* name : {"FileBox", "TimeStampCheck", "DateStampCheck", "DelEdit",
                             "VariableCombo", "AddBtn", "NoteTypeBox", "UpBtn", "DownBtn",
                             "RemoveBtn", "RemoveAllBtn", "Ok"})
      if (Control<QWidget>(dialog, name)->isEnabled()) enabled << name;
    Press(dialog, "Cancel");
  });
  command->Edit();
  ExperimentRunning = false;
  ASSERT_TRUE(look.Seen);
  EXPECT_TRUE(enabled.isEmpty()) << enabled.join(", ").toStdString();
}
