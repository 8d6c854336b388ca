#pragma once

#include "common/grid/GridTypes.h"

#include <QColor>
#include <QPixmap>
#include <QStyledItemDelegate>

#include <functional>
#include <optional>

class QPalette;

namespace vcm {

class Grid;

/// Draws and edits every cell of a GridView, dispatching on the cell's kind: text with
/// its length limit, numbers within their range, check boxes with the cell's two
/// pictures, buttons and drop-down lists. Painting reads the Grid directly, so a cell
/// costs a few lookups and no QVariant round trips.
class GridDelegate : public QStyledItemDelegate {
  Q_OBJECT
public:
  using PictureSource = std::function<QPixmap(int index)>;

  GridDelegate(Grid& grid, QObject* parent = nullptr);

  void setPictureSource(PictureSource source) { m_pictures = std::move(source); }
  /// Paints the grid's active row in `colour` over the cells' own backgrounds; none by
  /// default (screens that colour their rows themselves keep doing so).
  void setActiveRowColour(std::optional<Colour> colour) { m_activeRowColour = colour; }
  bool paintsActiveRow() const { return m_activeRowColour.has_value(); }

  /// Told when an editor opens for a cell, before it is shown.
  std::function<void(QWidget* editor, int col, int row)> editorCreated;
  /// Sees every key pressed in an editor before the editor's own handling (Enter,
  /// Tab, Escape included); returns true to swallow the key.
  std::function<bool(QWidget* editor, QKeyEvent* event)> editorKey;
  QPixmap picture(int index) const;

  /// Paints one cell (row 0: a header cell) into `rect`.
  void paintCell(QPainter* painter, const QRect& rect, int col, int row, const QWidget* widget,
                 bool active) const;

  void paint(QPainter* painter, const QStyleOptionViewItem& option,
             const QModelIndex& index) const override;
  QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                        const QModelIndex& index) const override;
  void setEditorData(QWidget* editor, const QModelIndex& index) const override;
  void setModelData(QWidget* editor, QAbstractItemModel* model,
                    const QModelIndex& index) const override;
  void updateEditorGeometry(QWidget* editor, const QStyleOptionViewItem& option,
                            const QModelIndex& index) const override;

  /// Whether a cell refuses what its editor holds: a number outside the cell's range, or
  /// one still half typed. An empty editor is always taken (it empties the cell). The one
  /// rule for every place an edit is written or given up.
  static bool refusesInput(const QWidget* editor);

  /// The text an open editor holds (empty for editors without text).
  static QString editorText(const QWidget* editor);
  static void setEditorText(QWidget* editor, const QString& text);

  bool eventFilter(QObject* object, QEvent* event) override;

  /// Turns an &HBBGGRR colour (or a system colour index) into a QColor.
  static QColor toQColor(Colour colour, const QPalette& palette);

signals:
  /// The user typed into an editor (before the edit is committed).
  void editTextChanged(QWidget* editor);
  /// A drop-down list of an editor opened (true) or closed (false).
  void listShown(QWidget* editor, bool shown);

private:
  QWidget* makeEditor(QWidget* parent, const QModelIndex& index) const;

  Grid& m_grid;
  PictureSource m_pictures;
  std::optional<Colour> m_activeRowColour;
};

} // namespace vcm
