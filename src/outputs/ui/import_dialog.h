// "Import", the text import wizard: lines of a file or of the clipboard become x/y data
// sets. Page 1 chooses the rows and the splitting; page 2 splits at a delimiter, page 3
// cuts at column marks under a ruler; page 4 makes data sets of the columns (XY pairs,
// column 1 against the rest, or one by one). OK leaves the data sets for the caller's
// ImportData.
#pragma once

#include <QDialog>

#include <memory>
#include <string>
#include <vector>

#include "outputs/import_columns.h"
#include "outputs/output_form.h"
#include "outputs/ui/import_columns_model.h"
#include "outputs/ui/import_paint_box.h"

namespace Ui {
class TImportForm;
}

class TImportForm : public QDialog {
  Q_OBJECT

public:
  explicit TImportForm(QWidget* parent = nullptr);
  ~TImportForm() override;

  // The lines shown on the first page when the wizard next shows.
  void SetLines(std::vector<std::string> lines);
  // The data sets taken by OK (none before, or after Cancel); the caller owns them.
  std::unique_ptr<TTransferData> TakeResult() { return std::move(ATransferData); }

  // The handlers of the pages' controls.
  void StartRowChange();
  void NextClick();
  void PreviousClick();
  void DelimitClick();
  void SelectionChange();
  void AddClick();
  void ClearClick();
  void RemoveClick();
  void OkClick();

  // The fixed-width page's marks (character positions) and lines as drawn.
  TFixedWidthPage& FixedPage() { return Fixed; }
  // The entries of the last page.
  const TImportSets& Sets() const { return ImportSets; }

protected:
  void showEvent(QShowEvent* event) override;
  void hideEvent(QHideEvent* event) override;

private:
  bool IsFixed() const;
  void ShowLines();
  void ShowDelimited();
  void ShowFixed();
  void FixedChanged();
  void FillDataSetsPage(TImportColumns columns);
  void ShowEntries();
  void UpdateButtons();

  std::unique_ptr<Ui::TImportForm> Ui;
  std::vector<std::string> Source;
  std::vector<std::string> Chosen;
  TImportColumns Columns;
  TFixedWidthPage Fixed;
  TImportColumnsModel LinesModel;
  TImportColumnsModel SplitModel;
  TImportColumnsModel FinalModel;
  TImportSets ImportSets;
  std::unique_ptr<TTransferData> ATransferData;
};

// The wizard over the lines, modal above parent; the data sets on OK, none on Cancel.
std::unique_ptr<TTransferData> ImportLines(QWidget* parent, std::vector<std::string> lines);
// The same over the clipboard's text. Without text: "Material in the clipboard is not in
// text format and cannot be copied." and none.
std::unique_ptr<TTransferData> ImportClipboard(QWidget* parent);
