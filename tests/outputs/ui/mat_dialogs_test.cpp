// The MAT dialogs as a user drives them from a graph or table window: Import > MATLAB File
// with SciPy's files (arrays chosen, refused by name, read as pairs), and Save As Type >
// MATLAB File writing what SciPy reads back, refusing a read-only file.
#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "outputs/graph_form.h"
#include "outputs/table_form.h"
#include "outputs/ui/copy_row_select_dialog.h"
#include "outputs/ui/graph_window.h"
#include "outputs/ui/mat_export_dialog.h"
#include "outputs/ui/mat_import_dialog.h"
#include "outputs/ui/table_window.h"
#include "support/fake_ui_port.h"
#include "support/scipy_files.h"
#include "support/temp_dir.h"
#include "support/ui/dialog_driver.h"

namespace {

using TTexts = std::vector<std::string>;

std::string FileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

QStringList Items(QListWidget* list) {
  QStringList texts;
  for (int i = 0; i < list->count(); ++i) texts << list->item(i)->text();
  return texts;
}

class MatDialogsTest : public ::testing::Test {
protected:
  void SetUp() override {
    ASSERT_EQ(SciPyMissing(), "");
    ASSERT_EQ(MakeSciPyFixtures(Temp.Path().string()), "");
  }
  static QAction* Item(QWidget& window, const char* name) {
    auto* action = window.findChild<QAction*>(name);
    EXPECT_NE(action, nullptr) << name;
    return action;
  }
  // Chooses the array in the import dialog and clicks Add.
  static void AddArray(QDialog& d, int index) {
    Control<QComboBox>(d, "ArrayComboBox")->setCurrentIndex(index);
    Control<QPushButton>(d, "AddButton")->click();
  }

  TFakeUiPort Ui;
  TTempDir Temp;
};

TEST_F(MatDialogsTest, ATableImportsIntegerAndComplexArraysAndRefusesTextAndEmptyOnes) {
  TTableForm form(static_cast<TDeadOutputList*>(nullptr));
  TTableWindow window(form);
  ASSERT_TRUE(Item(window, "ImportMatLabFile")->isEnabled());
  Ui.ScriptFiles({Temp.PathOf("v5.mat")});
  TModalDialogActor<TImportMatLabDataForm> actor([&](TImportMatLabDataForm& d) {
    EXPECT_EQ(d.property("helpContext").toInt(), 47);
    QComboBox* arrays = Control<QComboBox>(d, "ArrayComboBox");
    ASSERT_EQ(arrays->count(), 5);
    EXPECT_EQ(arrays->itemText(4), "E");
    // A: 4 rows previewed under the column numbers, "All" then rows 1 to 4.
    QTableWidget* grid = Control<QTableWidget>(d, "DataGrid");
    EXPECT_EQ(grid->columnCount(), 3);
    EXPECT_EQ(grid->horizontalHeaderItem(2)->text(), "3");
    EXPECT_EQ(grid->item(3, 2)->text(), "32.5");
    EXPECT_EQ(Control<QComboBox>(d, "StartRowCombo")->count(), 5);
    AddArray(d, 1);  // I
    AddArray(d, 2);  // C
    AddArray(d, 3);  // S
    AddArray(d, 4);  // E
    EXPECT_EQ(Items(Control<QListWidget>(d, "SelDataListBox")),
              (QStringList{"I :1 vs 2: Rows 1 to 3", "C :1 vs 2: Rows 1 to 1"}));
    Control<QPushButton>(d, "OK")->click();
  });
  Item(window, "ImportMatLabFile")->trigger();
  EXPECT_TRUE(actor.Seen);
  EXPECT_EQ(Ui.Texts(), (TTexts{"Array S cannot be imported: it holds text.",
                                "Array S cannot be imported: it holds text.", "Array E is empty",
                                "Array E is empty"}));
  ASSERT_EQ(form.SeriesCount(), 2);
  EXPECT_EQ(form.GetSeries(0).X, (std::vector<float>{1, 3, 5}));
  EXPECT_EQ(form.GetSeries(0).Y, (std::vector<float>{-2, -4, -6}));
  EXPECT_EQ(form.GetSeries(1).X, (std::vector<float>{1.5f}));
  EXPECT_EQ(form.GetSeries(1).Y, (std::vector<float>{-3.25f}));
}

TEST_F(MatDialogsTest, AGraphReadsPairsFromTheChosenRowsAndEveryFileVersion) {
  TGraphForm form(static_cast<TDeadOutputList*>(nullptr));
  TGraphWindow window(form);
  const std::int32_t before = form.SeriesCount();
  Ui.ScriptFiles({Temp.PathOf("pairs.mat")});
  TModalDialogActor<TImportMatLabDataForm> pairs([&](TImportMatLabDataForm& d) {
    EXPECT_FALSE(Control<QWidget>(d, "EndRowCombo")->isVisibleTo(&d));
    Control<QComboBox>(d, "StartRowCombo")->setCurrentIndex(90);
    EXPECT_TRUE(Control<QWidget>(d, "EndRowCombo")->isVisibleTo(&d));
    EXPECT_EQ(Control<QComboBox>(d, "EndRowCombo")->count(), 11);  // "End", 91 to 100
    Control<QPushButton>(d, "AddButton")->click();
    EXPECT_EQ(Items(Control<QListWidget>(d, "SelDataListBox")),
              (QStringList{"P :1 vs 2: Rows 90 to 100", "P :3 vs 4: Rows 90 to 100"}));
    Control<QListWidget>(d, "SelDataListBox")->setCurrentRow(0);
    Control<QPushButton>(d, "RemoveButton")->click();
    Control<QPushButton>(d, "OK")->click();
  });
  Item(window, "ImportMatLabFile")->trigger();
  ASSERT_EQ(form.SeriesCount(), before + 1);
  EXPECT_EQ(form.GetSeries(before).Name, "P :2 vs P :3");
  EXPECT_EQ(form.GetSeries(before).X.size(), 11u);
  EXPECT_EQ(form.GetSeries(before).X.front(), 1089.0);

  for (const char* file : {"v4.mat", "v5z.mat"}) {
    Ui.ScriptFiles({Temp.PathOf(file)});
    TModalDialogActor<TImportMatLabDataForm> columns([&](TImportMatLabDataForm& d) {
      Control<QRadioButton>(d, "Column1IsX")->setChecked(true);
      Control<QPushButton>(d, "AddButton")->click();
      Control<QPushButton>(d, "OK")->click();
    });
    Item(window, "ImportMatLabFile")->trigger();
    EXPECT_TRUE(columns.Seen) << file;
  }
  ASSERT_EQ(form.SeriesCount(), before + 5);
  EXPECT_EQ(form.GetSeries(before + 4).Y, (std::vector<double>{2.5, 12.5, 22.5, 32.5}));
  EXPECT_TRUE(Ui.Texts().empty());
}

TEST_F(MatDialogsTest, OkWithoutEntriesAndNonMatFilesAreRefused) {
  TTableForm form(static_cast<TDeadOutputList*>(nullptr));
  TTableWindow window(form);
  const std::string text = Temp.WriteBytes("notes.mat", TBytes{'1', ',', '2', '\n'});
  Ui.ScriptFiles({text, Temp.PathOf("v5.mat")});
  Item(window, "ImportMatLabFile")->trigger();
  EXPECT_EQ(Ui.Texts(),
            (TTexts{"This file is not a MAT 5.3 compatible file and cannot be openned."}));
  Ui.Clear();
  TModalDialogActor<TImportMatLabDataForm> actor([&](TImportMatLabDataForm& d) {
    Control<QPushButton>(d, "OK")->click();
    EXPECT_TRUE(d.isVisible());
    Control<QRadioButton>(d, "Individually")->setChecked(true);
    EXPECT_TRUE(Control<QWidget>(d, "SelectPanel")->isVisibleTo(&d));
    Control<QComboBox>(d, "XComboBox")->setCurrentIndex(2);
    Control<QPushButton>(d, "AddButton")->click();
    Control<QPushButton>(d, "Cancel")->click();
  });
  Item(window, "ImportMatLabFile")->trigger();
  EXPECT_EQ(Ui.Texts(),
            (TTexts{"You have not selected any data to import.  Select data or press cancel."}));
  EXPECT_EQ(form.SeriesCount(), 0) << "Cancel imports nothing";
}

// A table with sets "A" (3 points) and "B" (3 points) and "C" (5 points).
void FillTable(TTableForm& form) {
  for (int s = 0; s < 3; ++s) {
    TTableDataSet& set = form.NewDataSet(std::string(1, static_cast<char>('A' + s)), false);
    for (int i = 0; i < (s == 2 ? 5 : 3); ++i) set.AddPoint(10 * s + i, -i - 0.5);
  }
}

TEST_F(MatDialogsTest, TheTableExportsChosenRangesThatSciPyReadsBack) {
  TTableForm form(static_cast<TDeadOutputList*>(nullptr));
  TTableWindow window(form);
  FillTable(form);
  ASSERT_TRUE(Item(window, "MatLab")->isEnabled());
  const std::string path = Temp.PathOf("export.mat");
  TModalDialogActor<TExportMatLabDataForm> actor([&](TExportMatLabDataForm& d) {
    EXPECT_EQ(d.windowTitle(), "Export to MATLAB File");
    EXPECT_FALSE(Control<QPushButton>(d, "Save")->isEnabled());
    Control<QPushButton>(d, "AddAll")->click();
    EXPECT_EQ(Items(Control<QListWidget>(d, "SeriesSaveBox")),
              (QStringList{"A 1 to 3 (3 rows)", "B 1 to 3 (3 rows)"}));
    EXPECT_EQ(Items(Control<QListWidget>(d, "SeriesBox")), (QStringList{"C 1 to 5 (5 rows)"}));
    Control<QListWidget>(d, "SeriesSaveBox")->item(1)->setSelected(true);
    Control<QPushButton>(d, "MoveUpOne")->click();
    Control<QLineEdit>(d, "ArrayEdit")->setText("Data");
    Control<QLineEdit>(d, "FileNameEdit")->setText(QString::fromStdString(path));
    Control<QPushButton>(d, "Save")->click();
    // Save keeps the dialog open with the ranges back and the name emptied.
    EXPECT_TRUE(d.isVisible());
    EXPECT_EQ(Control<QListWidget>(d, "SeriesSaveBox")->count(), 0);
    EXPECT_TRUE(Control<QLineEdit>(d, "ArrayEdit")->text().isEmpty());
    Control<QPushButton>(d, "Save")->click();  // disabled: nothing happens
    Control<QPushButton>(d, "OK")->click();    // nothing chosen: closes quietly
    EXPECT_FALSE(d.isVisible());
  });
  Item(window, "MatLab")->trigger();
  EXPECT_TRUE(actor.Seen);
  EXPECT_FALSE(actor.LeftOpen);
  EXPECT_EQ(Ui.Texts(), (TTexts{"The remaining items cannot be moved because MatLab arrays\r"
                                "require that all series have the same number of rows",
                                "Data saved to " + path + " array Data."}));
  EXPECT_EQ(SciPyLoad(path),
            "Data 3 x 4: 10.0 11.0 12.0 -0.5 -1.5 -2.5 0.0 1.0 2.0 -0.5 -1.5 -2.5\n");
}

TEST_F(MatDialogsTest, EditPointsChoosesTheRowsOfARange) {
  TTableForm form(static_cast<TDeadOutputList*>(nullptr));
  TTableWindow window(form);
  FillTable(form);
  TModalDialogActor<TExportMatLabDataForm> actor([&](TExportMatLabDataForm& d) {
    QListWidget* offered = Control<QListWidget>(d, "SeriesBox");
    offered->item(2)->setSelected(true);
    TModalDialogActor<TCopyRowSelectForm> rows([](TCopyRowSelectForm& select) {
      Control<QLineEdit>(select, "StartEdit")->setText("2");
      Control<QComboBox>(select, "EndCombo")->setEditText("4");
      ClickControl(select, "OK");
    });
    d.EditPointsClick(false);
    EXPECT_TRUE(rows.Seen);
    EXPECT_EQ(Items(offered)[2], "C 2 to 4 (3 rows)");
    Control<QPushButton>(d, "AddAll")->click();
    EXPECT_EQ(Items(Control<QListWidget>(d, "SeriesSaveBox")),
              (QStringList{"A 1 to 3 (3 rows)", "B 1 to 3 (3 rows)", "C 2 to 4 (3 rows)"}));
    // Among three chosen ranges only the start moves; the range keeps 3 rows.
    Control<QListWidget>(d, "SeriesSaveBox")->item(2)->setSelected(true);
    TModalDialogActor<TCopyRowSelectForm> start([](TCopyRowSelectForm& select) {
      EXPECT_FALSE(Control<QWidget>(select, "EndCombo")->isVisible());
      Control<QLineEdit>(select, "StartEdit")->setText("3");
      ClickControl(select, "OK");
    });
    d.EditPointsClick(true);
    EXPECT_EQ(Items(Control<QListWidget>(d, "SeriesSaveBox"))[2], "C 3 to 5 (3 rows)");
    d.reject();
  });
  Item(window, "MatLab")->trigger();
  EXPECT_TRUE(actor.Seen);
  EXPECT_TRUE(Ui.Texts().empty());
}

TEST_F(MatDialogsTest, AReadOnlyTargetIsReportedAndLeftAsItWas) {
  TGraphForm form(static_cast<TDeadOutputList*>(nullptr));
  TGraphWindow window(form);
  TTransferData data;
  TTransferSeries* series = data.AddSeries("S", 2);
  series->XName = "t";
  series->YName = "v";
  series->SetPoint(0, 1, 2);
  series->SetPoint(1, 3, 4);
  form.ImportData(&data);
  const std::string path = Temp.PathOf("locked.mat");
  std::filesystem::copy_file(Temp.PathOf("v5z.mat"), path);
  std::filesystem::permissions(path, std::filesystem::perms::owner_read);
  const std::string before = FileBytes(path);
  TModalDialogActor<TExportMatLabDataForm> actor([&](TExportMatLabDataForm& d) {
    // The one series with points is chosen at once.
    EXPECT_EQ(Items(Control<QListWidget>(d, "SeriesSaveBox")),
              (QStringList{"t vs v 1 to 2 (2 rows)"}));
    Control<QLineEdit>(d, "ArrayEdit")->setText("Data");
    Control<QLineEdit>(d, "FileNameEdit")->setText(QString::fromStdString(path));
    Control<QPushButton>(d, "OK")->click();
    EXPECT_TRUE(d.isVisible());
    Control<QPushButton>(d, "Cancel")->click();
  });
  Item(window, "MatLab")->trigger();
  ASSERT_FALSE(Ui.Texts().empty());
  EXPECT_EQ(Ui.Texts().front(), "Error creating/openning file.");
  for (const std::string& shown : Ui.Texts())
    EXPECT_EQ(shown.find("Data saved to"), std::string::npos);
  EXPECT_EQ(FileBytes(path), before);
}

TEST_F(MatDialogsTest, AWindowWithoutDataSaysSo) {
  TTableForm form(static_cast<TDeadOutputList*>(nullptr));
  TTableWindow window(form);
  Item(window, "MatLab")->trigger();
  form.NewDataSet("Empty", false);
  Item(window, "MatLab")->trigger();
  EXPECT_EQ(Ui.Texts(), (TTexts{"Nothing to copy", "No data to copy"}));
}

}  // namespace
