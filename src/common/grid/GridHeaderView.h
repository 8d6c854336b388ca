#pragma once

#include <QHeaderView>

namespace vcm {

class Grid;
class GridDelegate;

/// The column header of a GridView: it paints the grid's row 0 cells with their own
/// colours, kinds (a check box in the header) and fonts.
class GridHeaderView : public QHeaderView {
  Q_OBJECT
public:
  GridHeaderView(Grid& grid, GridDelegate& delegate, QWidget* parent = nullptr);

protected:
  void paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const override;

private:
  Grid& m_grid;
  GridDelegate& m_delegate;
};

} // namespace vcm
