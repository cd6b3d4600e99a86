#include "outputs/ui/table_model.h"

#include <algorithm>

#include "model/number_text.h"
#include "outputs/table_form.h"

TTableModel::TTableModel(const TTableForm& form, QObject* parent)
    : QAbstractTableModel(parent), Form(form) {
  Shown = Take();
  Rewrites = Form.GetRewriteCount();
}

TTableModel::TLayout TTableModel::Take() const {
  ++Scans;
  TLayout layout;
  for (std::int32_t s = 0; s < Form.SeriesCount(); ++s) {
    const TTableDataSet& set = Form.GetSeries(s);
    const QString name = QString::fromStdString(set.Name);
    auto add = [&](bool x, const std::string& header) {
      layout.Columns.push_back({s, x});
      layout.Headers.push_back(QString::fromStdString(header));
      layout.SetNames.push_back(name);
    };
    if (set.ShowX) add(true, set.XName);
    if (set.ShowY) add(false, set.YName);
    layout.Counts.push_back(set.Count());
    layout.Rows = std::max(layout.Rows, set.Count());
  }
  return layout;
}

void TTableModel::Sync() {
  TLayout now = Take();
  const bool rewritten = Form.GetRewriteCount() != Rewrites;
  Rewrites = Form.GetRewriteCount();
  if (now.Columns != Shown.Columns || now.Rows < Shown.Rows) {
    beginResetModel();
    Shown = std::move(now);
    endResetModel();
    return;
  }
  const int oldRows = Shown.Rows;
  const std::vector<std::int32_t> oldCounts = std::move(Shown.Counts);
  const bool headersChanged = now.Headers != Shown.Headers || now.SetNames != Shown.SetNames;
  Shown.Counts = std::move(now.Counts);
  Shown.Headers = std::move(now.Headers);
  Shown.SetNames = std::move(now.SetNames);
  if (now.Rows > oldRows) {
    beginInsertRows(QModelIndex(), oldRows, now.Rows - 1);
    Shown.Rows = now.Rows;
    endInsertRows();
  }
  const int columns = static_cast<int>(Shown.Columns.size());
  if (headersChanged && columns > 0) emit headerDataChanged(Qt::Horizontal, 0, columns - 1);
  if (oldRows == 0 || columns == 0) return;
  if (rewritten) {
    emit dataChanged(index(0, 0), index(oldRows - 1, columns - 1), {Qt::DisplayRole});
    return;
  }
  // Only points added: a set that was shorter than the rows fills cells of old rows.
  for (int c = 0; c < columns; ++c) {
    const auto set = static_cast<std::size_t>(Shown.Columns[static_cast<std::size_t>(c)].Set);
    const int from = oldCounts[set];
    const int to = std::min(Shown.Counts[set], oldRows);
    if (from < to) emit dataChanged(index(from, c), index(to - 1, c), {Qt::DisplayRole});
  }
}

int TTableModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : Shown.Rows;
}

int TTableModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(Shown.Columns.size());
}

TTableModel::TColumn TTableModel::ColumnAt(int column) const {
  if (column < 0 || column >= columnCount()) return {};
  return Shown.Columns[static_cast<std::size_t>(column)];
}

int TTableModel::ColumnOf(std::int32_t set, bool x) const {
  const auto found = std::find(Shown.Columns.begin(), Shown.Columns.end(), TColumn{set, x});
  return found == Shown.Columns.end() ? -1 : static_cast<int>(found - Shown.Columns.begin());
}

QVariant TTableModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid()) return {};
  if (role == Qt::TextAlignmentRole) return int(Qt::AlignRight | Qt::AlignVCenter);
  if (role != Qt::DisplayRole) return {};
  const TColumn column = ColumnAt(index.column());
  // The form may have changed since the last Sync: a set gone shows nothing until then.
  if (column.Set < 0 || column.Set >= Form.SeriesCount()) return QString();
  ++Cells;
  const std::string text =
      column.X ? Form.GetXText(column.Set, index.row()) : Form.GetYText(column.Set, index.row());
  return QString::fromStdString(text);
}

QVariant TTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation == Qt::Vertical) {
    if (role == Qt::DisplayRole)
      return QString::fromStdString(NumberText::IntToText(std::int64_t{section} + 1));
    if (role == Qt::TextAlignmentRole) return int(Qt::AlignRight | Qt::AlignVCenter);
    return {};
  }
  if (section < 0 || section >= columnCount()) return {};
  const auto at = static_cast<std::size_t>(section);
  if (role == Qt::DisplayRole) return Shown.Headers[at];
  if (role == Qt::ToolTipRole) return Shown.SetNames[at];
  return {};
}

void TTableModel::ResetCounts() {
  Scans = 0;
  Cells = 0;
}
