#pragma once

#include "common/grid/GridListener.h"

#include <QAbstractTableModel>

namespace vcm {

class Grid;

/// Presents a Grid to item views: model row r and column c are grid row r+1 and column
/// c+1; the grid's header row 0 is the horizontal header. The model is the grid's
/// listener and turns its reports into model signals, so any number of views can show
/// one grid and a view reacts to its model only. The counts are cached and move only
/// when the grid reports, so a view never sees rows it has not been told about.
///
/// The edit role is typed: a number cell gives its number (a double), others their text.
class GridModel : public QAbstractTableModel, private GridListener {
  Q_OBJECT
public:
  explicit GridModel(Grid& grid, QObject* parent = nullptr);
  ~GridModel() override;

  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  int columnCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
  bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
  QVariant headerData(int section, Qt::Orientation orientation,
                      int role = Qt::DisplayRole) const override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;

  Grid& grid() const { return m_grid; }

signals:
  /// Column widths, hidden columns, row heights, hidden rows or spans changed.
  void sheetLayoutChanged();
  void activeCellChanged();
  /// Painting was suspended (false) or resumed (true).
  void redrawChanged(bool on);

private:
  void gridReset() override;
  void gridRowsInserted(int first, int count) override;
  void gridRowsRemoved(int first, int count) override;
  void gridCellsChanged(int col1, int row1, int col2, int row2) override;
  void gridLayoutChanged() override { emit sheetLayoutChanged(); }
  void gridActiveCellChanged() override { emit activeCellChanged(); }
  void gridRedrawChanged(bool on) override { emit redrawChanged(on); }

  Grid& m_grid;
  int m_rows = 0;
  int m_cols = 0;
};

} // namespace vcm
