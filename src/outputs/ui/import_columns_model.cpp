#include "outputs/ui/import_columns_model.h"

void TImportColumnsModel::SetColumns(TImportColumns columns, bool headed) {
  beginResetModel();
  Shown = std::move(columns);
  Headed = headed;
  endResetModel();
}

int TImportColumnsModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() || Shown.empty() ? 0 : static_cast<int>(Shown[0].size());
}

int TImportColumnsModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(Shown.size());
}

QVariant TImportColumnsModel::data(const QModelIndex& index, int role) const {
  if (role != Qt::DisplayRole || !index.isValid()) return {};
  return QString::fromStdString(
      Shown[static_cast<std::size_t>(index.column())][static_cast<std::size_t>(index.row())]);
}

QVariant TImportColumnsModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (role != Qt::DisplayRole) return {};
  if (orientation == Qt::Vertical) return section + 1;
  return Headed ? QVariant("Column " + QString::number(section + 1)) : QVariant();
}
