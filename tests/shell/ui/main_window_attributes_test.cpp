// The attribute tree of the main window through its widgets: double clicks on every kind
// of row open the dialog of the row (or an output's window), the pop-up's items for
// lists and attributes with "Show" checked while the window shows, "Clear Unused"
// keeping what commands use, deleting a used variable, the Delete key, and the attribute
// buttons of the tool bar refusing during a run.
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

#include "main_window_widgets.h"
#include "model/attribute_type.h"
#include "model/data.h"
#include "model/data_list.h"
#include "model/ui/variable_dialog.h"
#include "outputs/exp_file.h"
#include "outputs/exp_file_lists.h"
#include "outputs/output.h"
#include "outputs/output_list.h"
#include "outputs/ui/add_output_dialog.h"
#include "outputs/ui/single_file_dialog.h"
#include "scripts/flow/increment_script.h"
#include "scripts/flow/wait_script.h"
#include "shell/ui/dialog_registry.h"
#include "shell/ui/dialog_setup.h"
#include "support/ui/dialog_driver.h"

namespace {

class MainWindowAttributesTest : public TMainWindowWidgetsTest {
protected:
  MainWindowAttributesTest() {
    // The dialogs the application registers at start-up.
    RegisterDialogs(Registry);
    Port.SetDialogRegistry(&Registry);
  }
  ~MainWindowAttributesTest() override {
    CloseWithoutQuestions();
    Port.SetDialogRegistry(nullptr);
  }

  void Start() {
    StartQorv();
    View = TreeView("ExpAttView");
    ASSERT_NE(View, nullptr);
  }
  TTreeNode* ListNode(TExpAttList* list) const { return list->AExpAttNode; }
  QMenu* RightClickNode(const TTreeNode* node) {
    return RightClick(View->viewport(), PointOf(View, node), "ExpAttPopup");
  }
  void DoubleClick(const TTreeNode* node) {
    QTest::mouseDClick(View->viewport(), Qt::LeftButton, {}, PointOf(View, node));
  }
  static QStringList Texts(const TTreeNode* list) {
    QStringList texts;
    for (TTreeNode* node = list->GetFirstChild(); node; node = node->GetNextSibling())
      texts << QString::fromStdString(node->GetText());
    return texts;
  }
  static void Type(QWidget& dialog, const char* name, const QString& text) {
    auto* edit = Control<QLineEdit>(dialog, name);
    edit->clear();
    QTest::keyClicks(edit, text);
  }
  bool Modified() const { return Panel(TQorvForm::spModified) == "Modified"; }
  void ClearModified() { Window->Session().ExperimentChanged(0, 1); }
  // A run that waits in the start block until it is stopped.
  void StartLongRun() {
    AddCommand<TWaitScript>(FirstBlock())->SetTime(600000);
    Trigger("StartButton");
    ASSERT_TRUE(IsRunActive());
  }

  TDialogRegistry Registry;
  TNodeTreeView* View = nullptr;
};

TEST_F(MainWindowAttributesTest, DoubleClicksOpenTheDialogOfTheRowOrTheOutputsWindow) {
  ASSERT_NO_FATAL_FAILURE(Start());
  TDataSingleList* singles = Exp().GetDataSingleList();
  TData* x = singles->Add(FirstBlock(), eatINTEGER, 1, "x");
  TOutput* graph = Exp().GetOutputList()->NewOutput("Volts", otGRAPH, 2);
  Window->RefreshViews();

  // A list adds several: the Variables dialog with its Add button, each Add making one.
  TModalDialogActor<TDataForm> many([](TDataForm& dialog) {
    EXPECT_EQ(dialog.windowTitle(), QString("Variables"));
    EXPECT_TRUE(Control<QPushButton>(dialog, "Add")->isVisible());
    Type(dialog, "VarName", "first");
    ClickControl(dialog, "Add");
    Type(dialog, "VarName", "second");
    ClickControl(dialog, "OK");
  });
  DoubleClick(ListNode(singles));
  EXPECT_TRUE(many.Seen);
  EXPECT_FALSE(many.LeftOpen);
  EXPECT_EQ(Texts(ListNode(singles)),
            (QStringList{"Start Block: x", "Start Block: first", "Start Block: second"}));
  EXPECT_TRUE(Modified());
  ClearModified();

  // A variable opens its own dialog, on its name, without Add.
  TModalDialogActor<TDataForm> edit([](TDataForm& dialog) {
    EXPECT_FALSE(Control<QPushButton>(dialog, "Add")->isVisible());
    EXPECT_EQ(Control<QLineEdit>(dialog, "VarName")->text(), QString("x"));
    Type(dialog, "VarName", "renamed");
    ClickControl(dialog, "OK");
  });
  DoubleClick(x->AExpAttNode);
  EXPECT_TRUE(edit.Seen);
  EXPECT_EQ(QString::fromStdString(x->AExpAttNode->GetText()), QString("Start Block: renamed"));

  // The outputs' list: the Add Output dialog with its Add button.
  TModalDialogActor<TAddOutputForm> outputs([](TAddOutputForm& dialog) {
    EXPECT_TRUE(Control<QPushButton>(dialog, "Add")->isVisible());
    ClickControl(dialog, "Cancel");
  });
  DoubleClick(ListNode(Exp().GetOutputList()));
  EXPECT_TRUE(outputs.Seen);
  EXPECT_FALSE(outputs.LeftOpen);

  // An output shows its window, without a dialog.
  EXPECT_FALSE(graph->IsFormVisible());
  DoubleClick(graph->AExpAttNode);
  EXPECT_TRUE(graph->IsFormVisible());
  EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
  EXPECT_TRUE(Dialogs.Boxes().empty());
}

TEST_F(MainWindowAttributesTest, PopupOffersTheItemsOfTheNodeAndShowIsCheckedWhileTheWindowShows) {
  ASSERT_NO_FATAL_FAILURE(Start());
  TData* x = Exp().GetDataSingleList()->Add(FirstBlock(), eatINTEGER, 1, "x");
  TOutput* graph = Exp().GetOutputList()->NewOutput("Volts", otGRAPH, 2);
  Window->RefreshViews();

  QMenu* popup = RightClickNode(ListNode(Exp().GetOutputList()));
  ASSERT_NE(popup, nullptr);
  EXPECT_EQ(ShownItems(popup), (QStringList{"AddExpAttItem", "AddManyExpAttItem",
                                            "ClearExpAttListItem", "ClearUnusedItem"}));
  QStringList texts;
  for (const QString& name : ShownItems(popup)) texts << Item(popup, name)->text();
  EXPECT_EQ(texts, (QStringList{"Add", "Add Many", "Clear", "Clear Unused"}));
  popup->hide();

  // The commands that start from an attribute show.
  popup = RightClickNode(x->AExpAttNode);
  ASSERT_NE(popup, nullptr);
  EXPECT_EQ(ShownItems(popup), (QStringList{"EditExpAttItem", "DeleteExpAttItem", "PlotItem",
                                            "ShowCurrentValueDataItem", "OutputToFileItem"}));
  EXPECT_TRUE(Item(popup, "DeleteExpAttItem")->isEnabled());
  EXPECT_TRUE(Item(popup, "PlotItem")->isEnabled());
  EXPECT_TRUE(Item(popup, "OutputToFileItem")->isEnabled());
  popup->hide();

  popup = RightClickNode(graph->AExpAttNode);
  ASSERT_NE(popup, nullptr);
  EXPECT_EQ(ShownItems(popup),
            (QStringList{"EditExpAttItem", "DeleteExpAttItem", "ShowOutputItem", "PlotItem"}));
  EXPECT_FALSE(Item(popup, "ShowOutputItem")->isChecked());
  ClickItem(popup, "ShowOutputItem");
  EXPECT_TRUE(graph->IsFormVisible());
  // Checked while the window shows; choosing it then hides the window.
  popup = RightClickNode(graph->AExpAttNode);
  ASSERT_NE(popup, nullptr);
  EXPECT_TRUE(Item(popup, "ShowOutputItem")->isChecked());
  ClickItem(popup, "ShowOutputItem");
  EXPECT_FALSE(graph->IsFormVisible());
  popup = RightClickNode(graph->AExpAttNode);
  ASSERT_NE(popup, nullptr);
  EXPECT_FALSE(Item(popup, "ShowOutputItem")->isChecked());
  popup->hide();

  // "Create New File" is a multiple file's alone.
  TMultiExpFileRequest request;
  request.Directory = Temp.Path().string();
  request.BaseName = "run";
  request.Extension = "txt";
  TMultiExpFile* multi = Exp().GetMultiExpFileList()->Create(request);
  Window->RefreshViews();
  popup = RightClickNode(multi->AExpAttNode);
  ASSERT_NE(popup, nullptr);
  EXPECT_EQ(ShownItems(popup), (QStringList{"EditExpAttItem", "DeleteExpAttItem",
                                            "OutputToFileItem", "CreateNewFileItem"}));
  popup->hide();

  // Empty space offers nothing.
  EXPECT_EQ(RightClick(View->viewport(), BelowAllRows(View), "ExpAttPopup"), nullptr);
}

TEST_F(MainWindowAttributesTest, ClearUnusedKeepsTheAttributesCommandsUse) {
  ASSERT_NO_FATAL_FAILURE(Start());
  TDataSingleList* singles = Exp().GetDataSingleList();
  TData* used = singles->Add(FirstBlock(), eatINTEGER, 1, "used");
  singles->Add(FirstBlock(), eatINTEGER, 1, "spare");
  TData* counter = singles->Add(FirstBlock(), eatINTEGER, 1, "counter");
  singles->Add(FirstBlock(), eatFLOAT, 1, "other");
  for (TData* variable : {used, counter})
    AddCommand<TIncrementScript>(FirstBlock())
        ->SetUpIncrement(static_cast<TDataSingle*>(variable), "1");
  Window->RefreshViews();
  ClearModified();

  QMenu* popup = RightClickNode(ListNode(singles));
  ClickItem(popup, "ClearUnusedItem");
  EXPECT_EQ(Texts(ListNode(singles)), (QStringList{"Start Block: used", "Start Block: counter"}));
  EXPECT_EQ(ExpTree().GetFirstNode()->Count(), 3) << "both Increments and the blank line";
  EXPECT_TRUE(Modified());
  EXPECT_TRUE(Dialogs.Boxes().empty());

  // "Clear" asks; No keeps everything.
  ClearModified();
  Dialogs.ScriptAnswers({mbNo});
  ClickItem(RightClickNode(ListNode(singles)), "ClearExpAttListItem");
  EXPECT_EQ(Dialogs.Texts(), std::vector<std::string>{"You are about to remove everything from "
                                                      "Single Variables.\rDo you really want "
                                                      "to do this?"});
  EXPECT_EQ(Texts(ListNode(singles)), (QStringList{"Start Block: used", "Start Block: counter"}));
  EXPECT_FALSE(Modified());
}

TEST_F(MainWindowAttributesTest, DeletingAUsedVariableAsksAndTheDeleteKeyWantsThePointerOnIt) {
  ASSERT_NO_FATAL_FAILURE(Start());
  TDataSingleList* singles = Exp().GetDataSingleList();
  auto* x = static_cast<TDataSingle*>(singles->Add(FirstBlock(), eatINTEGER, 1, "x"));
  TData* y = singles->Add(FirstBlock(), eatINTEGER, 1, "y");
  AddCommand<TIncrementScript>(FirstBlock())->SetUpIncrement(x, "1");
  Window->RefreshViews();
  ClearModified();

  Dialogs.ScriptAnswers({mbNo});
  ClickItem(RightClickNode(x->AExpAttNode), "DeleteExpAttItem");
  ASSERT_EQ(Dialogs.Boxes().size(), 1u);
  EXPECT_EQ(Dialogs.Boxes()[0].Box.Text.toStdString(),
            "Deleting this may delete one or more scripts.  Do you really want to do this?");
  EXPECT_EQ(Dialogs.Boxes()[0].Box.Caption.toStdString(), "Qorv Message");
  EXPECT_EQ(Texts(ListNode(singles)), (QStringList{"Start Block: x", "Start Block: y"}));
  EXPECT_EQ(ExpTree().GetFirstNode()->Count(), 2) << "the Increment stays";
  EXPECT_FALSE(Modified());

  // The Delete key: only with the pointer on the selected row.
  LeftClick(View, PointOf(View, y->AExpAttNode));
  QCursor::setPos(View->viewport()->mapToGlobal(PointOf(View, x->AExpAttNode)));
  QTest::keyClick(View, Qt::Key_Delete);
  EXPECT_EQ(Texts(ListNode(singles)), (QStringList{"Start Block: x", "Start Block: y"}));
  QCursor::setPos(View->viewport()->mapToGlobal(PointOf(View, y->AExpAttNode)));
  QTest::keyClick(View, Qt::Key_Delete);
  EXPECT_EQ(Texts(ListNode(singles)), QStringList{"Start Block: x"});
  EXPECT_TRUE(Modified());
  EXPECT_EQ(Dialogs.Boxes().size(), 1u) << "an unused variable goes without a question";
}

TEST_F(MainWindowAttributesTest, DuringARunTheButtonsRefuseAndNothingIsDeleted) {
  ASSERT_NO_FATAL_FAILURE(Start());
  TData* x = Exp().GetDataSingleList()->Add(FirstBlock(), eatINTEGER, 1, "x");
  Window->RefreshViews();
  ASSERT_NO_FATAL_FAILURE(StartLongRun());

  const std::pair<const char*, std::string> buttons[] = {
      {"OutputButton", "output"},
      {"AddVariableButton", "variable"},
      {"AddArrayButton", "array"},
      {"AddSingleFileButton", "single file"},
      {"MultiFileBtn", "multifile"}};
  for (const auto& [button, name] : buttons) {
    Dialogs.ClearCalls();
    Dialogs.ScriptAnswers({mbOK});
    Trigger(button);
    EXPECT_EQ(Dialogs.Texts(),
              std::vector<std::string>{"Cannot add " + name + " while running an experiment."});
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
  }
  EXPECT_EQ(Exp().GetOutputList()->GetCount(), 0);

  // Delete and Clear are disabled; the key does nothing over the selected variable.
  QMenu* popup = RightClickNode(x->AExpAttNode);
  ASSERT_NE(popup, nullptr);
  EXPECT_FALSE(Item(popup, "DeleteExpAttItem")->isEnabled());
  EXPECT_TRUE(Item(popup, "EditExpAttItem")->isEnabled());
  popup->hide();
  popup = RightClickNode(ListNode(Exp().GetDataSingleList()));
  ASSERT_NE(popup, nullptr);
  EXPECT_FALSE(Item(popup, "ClearExpAttListItem")->isEnabled());
  popup->hide();
  LeftClick(View, PointOf(View, x->AExpAttNode));
  QCursor::setPos(View->viewport()->mapToGlobal(PointOf(View, x->AExpAttNode)));
  QTest::keyClick(View, Qt::Key_Delete);
  EXPECT_EQ(Texts(ListNode(Exp().GetDataSingleList())), QStringList{"Start Block: x"});
}

TEST_F(MainWindowAttributesTest, TheButtonsOpenTheDialogForOneAttribute) {
  ASSERT_NO_FATAL_FAILURE(Start());
  TModalDialogActor<TAddOutputForm> output([](TAddOutputForm& dialog) {
    EXPECT_FALSE(Control<QPushButton>(dialog, "Add")->isVisible());
    Type(dialog, "OutputTitle", "Volts");
    ClickControl(dialog, "OK");
  });
  Trigger("OutputButton");
  EXPECT_TRUE(output.Seen);
  EXPECT_EQ(Texts(ListNode(Exp().GetOutputList())), QStringList{"Volts"});

  TModalDialogActor<TDataForm> array([](TDataForm& dialog) {
    EXPECT_FALSE(Control<QPushButton>(dialog, "Add")->isVisible());
    EXPECT_TRUE(Control<QLineEdit>(dialog, "ArraySizeEdit")->isVisible());
    ClickControl(dialog, "Cancel");
  });
  Trigger("AddArrayButton");
  EXPECT_TRUE(array.Seen);
  EXPECT_FALSE(array.LeftOpen);

  TModalDialogActor<TSingleExpFileForm> single([](TSingleExpFileForm& dialog) {
    ClickControl(dialog, "Cancel");
  });
  Trigger("AddSingleFileButton");
  EXPECT_TRUE(single.Seen);
  EXPECT_EQ(Exp().GetSingleExpFileList()->GetCount(), 0);
}

}  // namespace
