// "Export to MATLAB File": the graph's and table's series offered as row ranges, the
// ranges chosen to save (all of one row count) in their order, the array and file names;
// OK and Save write them as one matrix through the window's ExportMatLab.
#pragma once

#include <QDialog>

#include <memory>

#include "outputs/mat_export.h"
#include "outputs/point_series_form.h"
#include "model/ui_port.h"

class QListWidget;
class QMenu;
class QPoint;
namespace Ui {
class TExportMatLabDataForm;
}

class TExportMatLabDataForm : public QDialog {
  Q_OBJECT

public:
  // The dialog for the caller's offered ranges (lists.Series).
  TExportMatLabDataForm(QWidget* parent, TOutputForm& caller, TMatExportLists lists);
  ~TExportMatLabDataForm() override;

  const TMatExportLists& Lists() const { return PLists; }

  void AddAllClick();
  void AddOneClick();
  void RemoveAllClick();
  void RemoveOneClick();
  void MoveUpOneClick();
  void MoveDownOneClick();
  void BrowseClick();
  void OkClick();
  void SaveClick();
  // "Edit Points" of the popup: the row dialog for the first selected range of the list
  // the popup was opened on (inSave: "Series To Save").
  void EditPointsClick(bool inSave);

private:
  // Both lists drawn again from PLists; the chosen list's selection kept at keep.
  void Fill(int keep = -1);
  static std::vector<int> Selected(const QListWidget& list);
  // A right click on a selected range: it alone stays selected and the popup opens.
  void ListPopup(QListWidget* list, const QPoint& at);

  std::unique_ptr<Ui::TExportMatLabDataForm> Ui;
  TOutputForm& PCaller;
  TMatExportLists PLists;
  QMenu* Popup = nullptr;
};

// Shows the dialog for the caller's ranges: "No data to copy" when none is offered;
// a single range is moved to the save list at once.
void ExecuteExportMatLab(QWidget* parent, TOutputForm& caller, TMatExportLists lists);

// The graph's and table's "MATLAB File": "Nothing to copy" without series; else every
// series with points is offered whole.
template <class TSet>
void MatLabClick(QWidget* parent, TPointSeriesForm<TSet>& form) {
  if (form.SeriesCount() == 0) {
    UiPort().ShowMessage("Nothing to copy", "", TMessageKind::Information);
    return;
  }
  TMatExportLists lists;
  for (std::int32_t i = 0; i < form.SeriesCount(); ++i)
    lists.Offer(form.GetSeries(i).Name, i, form.GetSeries(i).Count());
  ExecuteExportMatLab(parent, form, std::move(lists));
}
