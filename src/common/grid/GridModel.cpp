#include "common/grid/GridModel.h"

#include "common/grid/Grid.h"

#include <algorithm>

namespace vcm {

GridModel::GridModel(Grid& grid, QObject* parent)
  : QAbstractTableModel(parent), m_grid(grid), m_rows(grid.rowCount()), m_cols(grid.columnCount())
{
  m_grid.addListener(this);
}

GridModel::~GridModel()
{
  m_grid.removeListener(this);
}

int GridModel::rowCount(const QModelIndex& parent) const
{
  return parent.isValid() ? 0 : m_rows;
}

int GridModel::columnCount(const QModelIndex& parent) const
{
  return parent.isValid() ? 0 : m_cols;
}

QVariant GridModel::data(const QModelIndex& index, int role) const
{
  if (!index.isValid())
    return QVariant();
  const int col = index.column() + 1;
  const int row = index.row() + 1;
  switch (role) {
  case Qt::ToolTipRole:
    if (m_grid.text(col, row).isEmpty() && !m_grid.hint(col, row).isEmpty())
      return m_grid.hintReason(col, row);
    [[fallthrough]];
  case Qt::DisplayRole:
    return m_grid.cellType(col, row) == CellType::CheckBox ? QVariant() : QVariant(m_grid.text(col, row));
  case Qt::EditRole:
    if (m_grid.cellType(col, row) == CellType::Number)
      return m_grid.text(col, row).isEmpty() ? QVariant() : QVariant(m_grid.number(col, row));
    return m_grid.text(col, row);
  case Qt::CheckStateRole:
    if (m_grid.cellType(col, row) == CellType::CheckBox)
      return m_grid.isChecked(col, row) ? Qt::Checked : Qt::Unchecked;
    return QVariant();
  default:
    return QVariant();
  }
}

bool GridModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
  if (!index.isValid() || role != Qt::EditRole)
    return false;
  const int col = index.column() + 1;
  const int row = index.row() + 1;
  switch (value.typeId()) {
  case QMetaType::Double:
  case QMetaType::Float:
  case QMetaType::Int:
  case QMetaType::LongLong:
    m_grid.setNumber(col, row, value.toDouble());
    break;
  default:
    m_grid.setText(col, row, value.toString());
  }
  return true;
}

QVariant GridModel::headerData(int section, Qt::Orientation orientation, int role) const
{
  if (role != Qt::DisplayRole)
    return QVariant();
  if (orientation == Qt::Vertical)
    return section + 1;
  return m_grid.text(section + 1, 0);
}

Qt::ItemFlags GridModel::flags(const QModelIndex& index) const
{
  if (!index.isValid())
    return Qt::NoItemFlags;
  Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
  const int col = index.column() + 1;
  const int row = index.row() + 1;
  if (!m_grid.isLocked(col, row)) {
    switch (m_grid.cellType(col, row)) {
    case CellType::Text:
    case CellType::Number:
    case CellType::ComboBox: f |= Qt::ItemIsEditable; break;
    case CellType::CheckBox: f |= Qt::ItemIsUserCheckable; break;
    case CellType::Button: break;
    }
  }
  return f;
}

void GridModel::gridReset()
{
  beginResetModel();
  m_rows = m_grid.rowCount();
  m_cols = m_grid.columnCount();
  endResetModel();
}

void GridModel::gridRowsInserted(int first, int count)
{
  beginInsertRows(QModelIndex(), first - 1, first - 1 + count - 1);
  m_rows += count;
  endInsertRows();
}

void GridModel::gridRowsRemoved(int first, int count)
{
  beginRemoveRows(QModelIndex(), first - 1, first - 1 + count - 1);
  m_rows -= count;
  endRemoveRows();
}

void GridModel::gridCellsChanged(int col1, int row1, int col2, int row2)
{
  col2 = std::min(col2, m_cols);
  if (col1 > col2)
    return;
  if (row1 == 0)
    emit headerDataChanged(Qt::Horizontal, col1 - 1, col2 - 1);
  row1 = std::max(row1, 1);
  row2 = std::min(row2, m_rows);
  if (row1 <= row2)
    emit dataChanged(index(row1 - 1, col1 - 1), index(row2 - 1, col2 - 1));
}

} // namespace vcm
