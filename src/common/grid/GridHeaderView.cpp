#include "common/grid/GridHeaderView.h"

#include "common/grid/Grid.h"
#include "common/grid/GridDelegate.h"

#include <QPainter>

namespace vcm {

GridHeaderView::GridHeaderView(Grid& grid, GridDelegate& delegate, QWidget* parent)
  : QHeaderView(Qt::Horizontal, parent), m_grid(grid), m_delegate(delegate)
{
  setSectionsClickable(true);
  setHighlightSections(false);
  setSortIndicatorShown(false);
}

void GridHeaderView::paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const
{
  painter->save();
  m_delegate.paintCell(painter, rect, logicalIndex + 1, 0, this, false);
  painter->restore();
}

} // namespace vcm
