// The import wizard's grids: columns of text shown as they are, each cell made only
// when it is drawn, so that a file of many thousand rows opens at once.
#pragma once

#include <QAbstractTableModel>

#include "outputs/import_columns.h"

class TImportColumnsModel : public QAbstractTableModel {
  Q_OBJECT

public:
  using QAbstractTableModel::QAbstractTableModel;

  // The columns shown; headed "Column 1", "Column 2" ... when headed is true.
  void SetColumns(TImportColumns columns, bool headed);
  const TImportColumns& Columns() const { return Shown; }

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
  TImportColumns Shown;
  bool Headed = true;
};
