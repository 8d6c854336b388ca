#pragma once

#include <QAbstractTableModel>

namespace vcm {

class Grid;

/// Presents a Grid to a QTableView: model row r and column c are grid row r+1 and
/// column c+1; the grid's header row 0 is the horizontal header. The counts are cached
/// and only move when the view is told of a change, so the view never sees rows it has
/// not been told about (the grid changes first and reports afterwards).
class GridModel : public QAbstractTableModel {
  Q_OBJECT
public:
  explicit GridModel(Grid& grid, QObject* parent = nullptr);

  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  int columnCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
  bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
  QVariant headerData(int section, Qt::Orientation orientation,
                      int role = Qt::DisplayRole) const override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;

  Grid& grid() const { return m_grid; }

  // Called by the view when the grid reports a change.
  void resetFromGrid();
  void rowsInsertedInGrid(int first, int count);
  void rowsRemovedFromGrid(int first, int count);
  void cellsChangedInGrid(int col1, int row1, int col2, int row2);

private:
  Grid& m_grid;
  int m_rows = 0;
  int m_cols = 0;
};

} // namespace vcm
