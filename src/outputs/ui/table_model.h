// Every row of a table window's data sets, for a QTableView: per data set its X column
// and its Y column (a hidden one left out), the cells in the window's number format,
// the rows labelled from 1. The model answers from a layout it takes at each Sync, so
// that rowCount, columnCount and the headers never walk the data sets, and a cell is
// one formatted value; the view asks only for the cells it shows.
#pragma once

#include <QAbstractTableModel>
#include <QString>

#include <cstdint>
#include <vector>

class TTableForm;

class TTableModel : public QAbstractTableModel {
  Q_OBJECT

public:
  explicit TTableModel(const TTableForm& form, QObject* parent = nullptr);

  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  int columnCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
  QVariant headerData(int section, Qt::Orientation orientation,
                      int role = Qt::DisplayRole) const override;

  // Takes the form's state and announces the difference from the last one: rows added
  // at the end, one row insert (and the cells of shorter sets that the new points fill);
  // cells rewritten in place (the number format, a Clear Output followed by as many
  // points), one change of the rows there were; columns changed or rows gone, a reset.
  void Sync();

  // Which data set a column shows, and whether it is the set's X column.
  struct TColumn {
    std::int32_t Set = -1;
    bool X = true;
    bool operator==(const TColumn&) const = default;
  };
  // The column's set (-1 for a column outside the table).
  TColumn ColumnAt(int column) const;
  // The column that shows the set's X or Y values; -1 when it is hidden or there is no
  // such set.
  int ColumnOf(std::int32_t set, bool x) const;

  // What the model has cost since the last ResetCounts: walks over the data sets (one
  // per Sync) and cell texts made (what the view painted).
  std::int64_t SetScans() const { return Scans; }
  std::int64_t CellTexts() const { return Cells; }
  void ResetCounts();

private:
  // The layout of the form's data sets now.
  struct TLayout {
    std::vector<TColumn> Columns;
    std::vector<QString> Headers;   // per column
    std::vector<QString> SetNames;  // per column
    std::vector<std::int32_t> Counts;  // per data set
    int Rows = 0;
  };
  TLayout Take() const;

  const TTableForm& Form;
  TLayout Shown;
  std::uint64_t Rewrites = 0;  // the form's rewrite count that Shown reflects
  mutable std::int64_t Scans = 0;
  mutable std::int64_t Cells = 0;
};
