// The table window's copy, print and labels dialogs (the rest of the window is in
// table_window.cpp).
#include <QPrinter>
#include <QHeaderView>
#include <QTableView>

#include "outputs/copy_text.h"
#include "outputs/table_form.h"
#include "outputs/ui/copy_data_dialog.h"
#include "outputs/ui/print_table_dialog.h"
#include "outputs/ui/table_labels_dialog.h"
#include "outputs/ui/table_model.h"
#include "outputs/ui/table_printer.h"
#include "outputs/ui/table_window.h"
#include "shell/ui/print_status_form.h"
#include "shell/ui/user_dialogs.h"

void TTableWindow::CopyButtonClick() {
  if (Kind.SeriesCount() == 0) {
    UserDialogs().Message(this, MessageBoxOf("Nothing to copy", "", TMessageKind::Information));
    return;
  }
  std::vector<TCopyObject> offered;
  for (std::int32_t s = 0; s < Kind.SeriesCount(); ++s) {
    const TTableDataSet& set = Kind.GetSeries(s);
    if (set.Count() > 0) offered.emplace_back(s, set.Count() - 1, set.Name);
  }
  CopyRangesToClipboard(this, offered, false, TTableCopySource(Kind));
}

int TTableWindow::ShownColumnWidth(std::int32_t set, bool x) const {
  for (int c = 0; c < Rows->columnCount(); ++c) {
    const TTableModel::TColumn column = Rows->ColumnAt(c);
    if (column.Set == set && column.X == x) return View->columnWidth(c);
  }
  return -1;
}

void TTableWindow::PrintClick() {
  if (Kind.SeriesCount() == 0) {
    UserDialogs().Message(this, MessageBoxOf("Nothing to print", "", TMessageKind::Information));
    return;
  }
  TPrintTableForm columns(this);
  std::vector<std::int32_t> listed;
  for (std::int32_t s = 0; s < Kind.SeriesCount(); ++s) {
    const TTableDataSet& set = Kind.GetSeries(s);
    if (set.Count() == 0) continue;
    listed.push_back(s);
    columns.AddColumn(QString::fromStdString(set.Name + ": " + set.XName), set.ShowX);
    columns.AddColumn(QString::fromStdString(set.Name + ": " + set.YName), set.ShowY);
  }
  QPrinter printer(QPrinter::HighResolution);
  if (!columns.Execute(printer)) return;
  // Sets without points have nothing to print.
  for (std::int32_t s = 0; s < Kind.SeriesCount(); ++s) {
    Kind.GetSeries(s).PrintX = false;
    Kind.GetSeries(s).PrintY = false;
  }
  for (std::size_t k = 0; k < listed.size(); ++k) {
    TTableDataSet& set = Kind.GetSeries(listed[k]);
    set.PrintX = columns.IsChecked(static_cast<int>(2 * k));
    set.PrintY = columns.IsChecked(static_cast<int>(2 * k + 1));
  }
  const QString name = QString::fromStdString(Kind.GetName());
  TablePrinter->SetUp(&printer, name, View->font(),
                      [this](std::int32_t set, bool x) { return ShownColumnWidth(set, x); });
  TPrintStatusForm status(this);
  status.PrintTable(*TablePrinter, name);
  TablePrinter->SetUp(nullptr, name, View->font(), {});
}

void TTableWindow::LabelsClick() {
  TTableLabelsForm labels(Kind, this);
  const bool confirmed = labels.Execute(QString::fromStdString(Kind.GetName()), View->font());
  // What "Apply" changed shows even after Cancel.
  RefreshNow();
  if (!confirmed) return;
  Kind.Rename(labels.Title().toStdString());
  View->setFont(labels.TitleFont());
  View->verticalHeader()->setDefaultSectionSize(View->fontMetrics().height() + 6);
  RefreshNow();
}
