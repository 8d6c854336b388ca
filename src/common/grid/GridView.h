#pragma once

#include "common/grid/Grid.h"
#include "common/grid/GridDelegate.h"

#include <QPointer>
#include <QTableView>

namespace vcm {

class GridHeaderView;
class GridModel;

/// The list grid on screen. It owns its Grid; screens and their logic fill and read
/// grid() and listen to the events below. Events carry grid addresses (column and row
/// from 1, row 0 the header). Key codes are Windows virtual-key codes (see KeyCodes.h).
///
/// The view draws the grid's own colours: it paints no selection of its own, so a
/// screen highlights the active row by colouring it, and the active cell shows a thin
/// focus frame.
class GridView : public QTableView {
  Q_OBJECT
public:
  explicit GridView(QWidget* parent = nullptr);
  ~GridView() override;

  Grid& grid() { return m_grid; }
  const Grid& grid() const { return m_grid; }

  /// When on, a click on a column header asks beforeUserSort and, unless cancelled,
  /// sorts all rows by that column, ascending first and then alternating.
  void setUserSortEnabled(bool on) { m_userSort = on; }
  bool isUserSortEnabled() const { return m_userSort; }

  /// The active cell's rectangle within this control (pixels, relative to the
  /// control's top-left corner); empty when there is no active cell or it is out of sight.
  QRect activeCellRect() const;
  /// Top-left of activeCellRect(); false when it cannot tell.
  bool activeCellPosition(QPoint& topLeft) const;

  /// Where check-box pictures come from; by default the shared StandardImages.
  void setPictureSource(GridDelegate::PictureSource source);
  /// Marks the active row with a background colour of its own, for lists whose rows
  /// carry no colours of their own (without it only the active cell's frame shows).
  void setActiveRowColour(Colour colour);

  /// True while an editor is open on a cell.
  bool isEditing() const { return !m_editor.isNull(); }

  /// Pixels of a column width in the grid's character units, and of a row height in points.
  int columnPixels(double units) const;
  int rowPixels(double points) const;

signals:
  void cellClicked(int col, int row);
  void cellDoubleClicked(int col, int row);
  void cellRightClicked(int col, int row, const QPoint& globalPos);
  /// A button cell was pressed (cellClicked follows).
  void buttonClicked(int col, int row);
  /// The user changed a cell: an edit was committed or a check box toggled.
  void cellChanged(int col, int row);
  /// The user typed into the cell being edited; grid().text() already holds the new text.
  /// Also raised when a cancelled or refused edit gives the cell its old text back.
  void editChanged(int col, int row);
  /// A key went down in the grid or its editor. Setting `keyCode` to 0 swallows the key.
  /// Connect directly: the argument is changed in place.
  void keyDown(int& keyCode, int shift);
  /// A character is about to be typed. 0 swallows it; another code types that instead.
  void keyPress(int& keyAscii);
  /// A header click is about to sort by `col`; setting `cancel` prevents the sort.
  void beforeUserSort(int col, bool& cancel);
  void afterUserSort(int col);
  /// The drop-down list of a combo-box cell opened / closed.
  void dropDown(int col, int row);
  void closeUp(int col, int row);

protected:
  void mousePressEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;
  void commitData(QWidget* editor) override;
  void closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) override;

private:
  // Reactions to the model's signals.
  void onModelReset();
  void onDataChanged(const QModelIndex& topLeft, const QModelIndex& bottomRight);
  void onActiveCellChanged();
  void onRedrawChanged(bool on);

  void applyLayout();
  void syncCurrentFromGrid();
  void onHeaderClicked(int section);
  void onEditorCreated(QWidget* editor, int col, int row);
  void onEditTextChanged(QWidget* editor);
  /// Writes the editor's text into the cell being edited unless the cell holds it already.
  void takeEditorText(QWidget* editor);
  /// Raises keyDown and keyPress; true when the key was swallowed. `replacement`
  /// receives another character to type instead, if a handler asked for one.
  bool raiseKeyEvents(QKeyEvent* event, QString& replacement);
  bool onEditorKey(QWidget* editor, QKeyEvent* event);
  void toggleCheckBox(int col, int row);

  Grid m_grid;
  GridModel* m_model = nullptr;
  GridDelegate* m_delegate = nullptr;
  GridHeaderView* m_header = nullptr;

  bool m_userSort = false;
  int m_lastSortColumn = 0;
  bool m_lastSortAscending = false;

  bool m_syncing = false;
  bool m_rowLayoutApplied = false;
  bool m_replaying = false;

  QPointer<QWidget> m_editor;
  int m_editCol = 0;
  int m_editRow = 0;
  QString m_editOriginal;
  bool m_liveWrite = false;
};

} // namespace vcm
