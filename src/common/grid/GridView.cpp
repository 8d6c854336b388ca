#include "common/grid/GridView.h"

#include "common/grid/GridHeaderView.h"
#include "common/grid/GridModel.h"
#include "common/grid/KeyCodes.h"
#include "common/grid/StandardImages.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QScrollBar>

#include <cmath>

namespace vcm {

namespace {
// Width of an unset column, in character units.
constexpr double DefaultColumnUnits = 9.0;
} // namespace

GridView::GridView(QWidget* parent) : QTableView(parent)
{
  m_model = new GridModel(m_grid, this);
  m_delegate = new GridDelegate(m_grid, this);
  m_delegate->setPictureSource([](int index) { return StandardImages::picture(index); });
  m_delegate->editorCreated = [this](QWidget* editor, int col, int row) {
    onEditorCreated(editor, col, row);
  };
  m_delegate->editorKey = [this](QWidget* editor, QKeyEvent* event) { return onEditorKey(editor, event); };
  connect(m_delegate, &GridDelegate::editTextChanged, this, &GridView::onEditTextChanged);
  connect(m_delegate, &GridDelegate::listShown, this, [this](QWidget*, bool shown) {
    if (shown)
      emit dropDown(m_editCol, m_editRow);
    else
      emit closeUp(m_editCol, m_editRow);
  });

  m_header = new GridHeaderView(m_grid, *m_delegate, this);
  setHorizontalHeader(m_header);
  connect(m_header, &QHeaderView::sectionClicked, this, &GridView::onHeaderClicked);

  setModel(m_model);
  setItemDelegate(m_delegate);
  setSelectionMode(QAbstractItemView::NoSelection);
  setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                  QAbstractItemView::AnyKeyPressed);
  setWordWrap(false);
  setCornerButtonEnabled(false);
  verticalHeader()->setSectionResizeMode(QHeaderView::Interactive);
  verticalHeader()->setMinimumSectionSize(1);
  verticalHeader()->setDefaultSectionSize(rowPixels(0));
  horizontalHeader()->setMinimumSectionSize(1);
  connect(m_model, &QAbstractItemModel::modelReset, this, &GridView::onModelReset);
  connect(m_model, &QAbstractItemModel::dataChanged, this, &GridView::onDataChanged);
  connect(m_model, &GridModel::sheetLayoutChanged, this, &GridView::applyLayout);
  connect(m_model, &GridModel::activeCellChanged, this, &GridView::onActiveCellChanged);
  connect(m_model, &GridModel::redrawChanged, this, &GridView::onRedrawChanged);
  applyLayout();
}

GridView::~GridView()
{
  // The model listens to the grid, which is a member: let it go first.
  setModel(nullptr);
  delete m_model;
  m_model = nullptr;
}

void GridView::setPictureSource(GridDelegate::PictureSource source)
{
  m_delegate->setPictureSource(std::move(source));
  viewport()->update();
  m_header->viewport()->update();
}

void GridView::setActiveRowColour(Colour colour)
{
  m_delegate->setActiveRowColour(colour);
  viewport()->update();
}

int GridView::columnPixels(double units) const
{
  if (units <= 0)
    units = DefaultColumnUnits;
  // A unit is a little more than one '0' of our font, whose full stops and commas run
  // wider than those of the font the widths were chosen for: enough for the ledger's
  // 8.63-unit date column to hold a full date, little enough for its columns through the
  // expense amount to fit the main window's default size. The 5 pixels are the cell's
  // text margins (GridDelegate) and its grid line.
  return int(std::lround(units * 1.085 * fontMetrics().horizontalAdvance(QLatin1Char('0')))) + 5;
}

int GridView::rowPixels(double points) const
{
  if (points <= 0)
    return fontMetrics().height() + 6;
  return int(std::lround(points * logicalDpiY() / 72.0));
}

QRect GridView::activeCellRect() const
{
  if (m_grid.activeRow() < 1 || m_grid.activeColumn() < 1)
    return QRect();
  const QModelIndex idx = m_model->index(m_grid.activeRow() - 1, m_grid.activeColumn() - 1);
  const QRect r = visualRect(idx);
  if (!r.isValid() || !viewport()->rect().intersects(r))
    return QRect();
  return r.translated(viewport()->mapTo(this, QPoint(0, 0)));
}

bool GridView::activeCellPosition(QPoint& topLeft) const
{
  const QRect r = activeCellRect();
  if (r.isEmpty())
    return false;
  topLeft = r.topLeft();
  return true;
}

// --- user actions ---------------------------------------------------------------------

void GridView::mousePressEvent(QMouseEvent* event)
{
  const QModelIndex idx = indexAt(event->position().toPoint());
  if (!idx.isValid()) {
    QTableView::mousePressEvent(event);
    return;
  }
  const int col = idx.column() + 1;
  const int row = idx.row() + 1;
  if (event->button() == Qt::RightButton) {
    m_grid.setActiveCell(col, row);
    event->accept();
    emit cellRightClicked(col, row, event->globalPosition().toPoint());
    return;
  }
  QTableView::mousePressEvent(event);
  if (event->button() != Qt::LeftButton)
    return;
  m_grid.setActiveCell(col, row);
  switch (m_grid.cellType(col, row)) {
  case CellType::CheckBox:
    if (!m_grid.isLocked(col, row))
      toggleCheckBox(col, row);
    break;
  case CellType::Button: emit buttonClicked(col, row); break;
  default: break;
  }
  emit cellClicked(col, row);
}

void GridView::mouseDoubleClickEvent(QMouseEvent* event)
{
  const QModelIndex idx = indexAt(event->position().toPoint());
  if (idx.isValid() && event->button() == Qt::LeftButton)
    emit cellDoubleClicked(idx.column() + 1, idx.row() + 1);
  QTableView::mouseDoubleClickEvent(event);
}

void GridView::toggleCheckBox(int col, int row)
{
  m_grid.setChecked(col, row, !m_grid.isChecked(col, row));
  emit cellChanged(col, row);
}

bool GridView::raiseKeyEvents(QKeyEvent* event, QString& replacement)
{
  int key = virtualKeyCode(event);
  if (key != 0) {
    emit keyDown(key, shiftState(event->modifiers()));
    if (key == 0)
      return true;
  }
  const QString text = event->text();
  if (text.size() == 1 && text.at(0).isPrint()) {
    int ascii = text.at(0).unicode();
    const int typed = ascii;
    emit keyPress(ascii);
    if (ascii == 0)
      return true;
    if (ascii != typed)
      replacement = QString(QChar(ascii));
  }
  return false;
}

void GridView::keyPressEvent(QKeyEvent* event)
{
  if (m_replaying) {
    QTableView::keyPressEvent(event);
    return;
  }
  QString replacement;
  if (raiseKeyEvents(event, replacement)) {
    event->accept();
    return;
  }
  const int col = m_grid.activeColumn();
  const int row = m_grid.activeRow();
  if (event->key() == Qt::Key_Space && row >= 1 && m_grid.cellType(col, row) == CellType::CheckBox) {
    if (!m_grid.isLocked(col, row))
      toggleCheckBox(col, row);
    event->accept();
    return;
  }
  if (replacement.isEmpty()) {
    QTableView::keyPressEvent(event);
    return;
  }
  QKeyEvent replayed(QEvent::KeyPress, 0, event->modifiers(), replacement);
  m_replaying = true;
  QTableView::keyPressEvent(&replayed);
  m_replaying = false;
}

bool GridView::onEditorKey(QWidget* editor, QKeyEvent* event)
{
  if (m_replaying)
    return false;
  QString replacement;
  if (raiseKeyEvents(event, replacement))
    return true;
  if (replacement.isEmpty())
    return false;
  QKeyEvent replayed(QEvent::KeyPress, 0, event->modifiers(), replacement);
  m_replaying = true;
  QCoreApplication::sendEvent(editor, &replayed);
  m_replaying = false;
  return true;
}

void GridView::onHeaderClicked(int section)
{
  const int col = section + 1;
  emit cellClicked(col, 0);
  if (!m_userSort)
    return;
  bool cancel = false;
  emit beforeUserSort(col, cancel);
  if (cancel)
    return;
  const bool ascending = col == m_lastSortColumn ? !m_lastSortAscending : true;
  m_lastSortColumn = col;
  m_lastSortAscending = ascending;
  m_grid.sortRows(1, m_grid.rowCount(), col,
                  ascending ? SortOrder::Ascending : SortOrder::Descending);
  emit afterUserSort(col);
}

void GridView::currentChanged(const QModelIndex& current, const QModelIndex& previous)
{
  QTableView::currentChanged(current, previous);
  if (m_syncing || !current.isValid())
    return;
  m_syncing = true;
  m_grid.setActiveCell(current.column() + 1, current.row() + 1);
  m_syncing = false;
}

// --- editing ----------------------------------------------------------------------------

void GridView::onEditorCreated(QWidget* editor, int col, int row)
{
  m_editor = editor;
  m_editCol = col;
  m_editRow = row;
  m_editOriginal = m_grid.text(col, row);
}

void GridView::onEditTextChanged(QWidget* editor)
{
  if (editor != m_editor || m_editRow < 1)
    return;
  // The cell follows the typing, so handlers of editChanged read what is being typed.
  takeEditorText(editor);
  emit editChanged(m_editCol, m_editRow);
}

void GridView::takeEditorText(QWidget* editor)
{
  const QString typed = GridDelegate::editorText(editor);
  const bool number = m_grid.cellType(m_editCol, m_editRow) == CellType::Number;
  if (typed == (number ? m_grid.value(m_editCol, m_editRow) : m_grid.text(m_editCol, m_editRow)))
    return;
  m_liveWrite = true;
  m_grid.setText(m_editCol, m_editRow, typed);
  m_liveWrite = false;
}

void GridView::commitData(QWidget* editor)
{
  if (editor != m_editor) {
    QTableView::commitData(editor);
    return;
  }
  const int col = m_editCol;
  const int row = m_editRow;
  if (GridDelegate::refusesInput(editor)) {
    m_grid.setText(col, row, m_editOriginal);
    return;
  }
  // Typing already wrote the cell; only an editor changed without typing still differs.
  takeEditorText(editor);
  const QString now = m_grid.text(col, row);
  if (now != m_editOriginal) {
    m_editOriginal = now;
    emit cellChanged(col, row);
  }
}

void GridView::closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint)
{
  if (editor == m_editor) {
    // The cell followed the typing; an edit that is cancelled, or closed while holding a
    // number the cell does not accept (focus moved away), gives the cell its text back.
    if (hint == QAbstractItemDelegate::RevertModelCache || GridDelegate::refusesInput(editor)) {
      const bool typed = m_grid.text(m_editCol, m_editRow) != m_editOriginal;
      m_grid.setText(m_editCol, m_editRow, m_editOriginal);
      // Handlers that followed the typing (editChanged) see the cell go back as well.
      if (typed)
        emit editChanged(m_editCol, m_editRow);
    }
    m_editor.clear();
    m_editCol = m_editRow = 0;
  }
  QTableView::closeEditor(editor, hint);
}

// --- grid notifications -------------------------------------------------------------

void GridView::onModelReset()
{
  applyLayout();
  syncCurrentFromGrid();
}

void GridView::onDataChanged(const QModelIndex& topLeft, const QModelIndex& bottomRight)
{
  if (!m_editor || m_liveWrite)
    return;
  const int col = m_editCol - 1;
  const int row = m_editRow - 1;
  if (col >= topLeft.column() && col <= bottomRight.column() && row >= topLeft.row() &&
      row <= bottomRight.row()) {
    // A handler rewrote the cell being edited: the editor shows the new text.
    const bool number = m_grid.cellType(m_editCol, m_editRow) == CellType::Number;
    GridDelegate::setEditorText(m_editor, number ? m_grid.value(m_editCol, m_editRow)
                                                 : m_grid.text(m_editCol, m_editRow));
  }
}

void GridView::onActiveCellChanged()
{
  if (!m_syncing)
    syncCurrentFromGrid();
  if (m_delegate->paintsActiveRow())
    viewport()->update();
}

void GridView::onRedrawChanged(bool on)
{
  viewport()->setUpdatesEnabled(on);
  m_header->viewport()->setUpdatesEnabled(on);
  verticalHeader()->viewport()->setUpdatesEnabled(on);
  if (on) {
    viewport()->update();
    m_header->viewport()->update();
  }
}

void GridView::applyLayout()
{
  const int cols = m_grid.columnCount();
  for (int c = 1; c <= cols; ++c) {
    setColumnHidden(c - 1, m_grid.isColumnHidden(c));
    setColumnWidth(c - 1, columnPixels(m_grid.columnWidth(c)));
  }
  if (m_grid.columnWidth(0) > 0)
    verticalHeader()->setFixedWidth(columnPixels(m_grid.columnWidth(0)));
  if (m_grid.rowHeight(0) > 0)
    m_header->setFixedHeight(rowPixels(m_grid.rowHeight(0)));

  if (m_grid.hasRowLayout() || m_rowLayoutApplied) {
    const int rows = m_grid.rowCount();
    const int fallback = rowPixels(0);
    for (int r = 1; r <= rows; ++r) {
      setRowHidden(r - 1, m_grid.isRowHidden(r));
      const double h = m_grid.rowHeight(r);
      setRowHeight(r - 1, h > 0 ? rowPixels(h) : fallback);
    }
    m_rowLayoutApplied = m_grid.hasRowLayout();
  }

  clearSpans();
  for (const QRect& s : m_grid.spans())
    if (s.top() >= 1)
      setSpan(s.top() - 1, s.left() - 1, s.height(), s.width());
}

void GridView::syncCurrentFromGrid()
{
  m_syncing = true;
  if (m_grid.activeRow() >= 1 && m_grid.activeColumn() >= 1) {
    const QModelIndex idx = m_model->index(m_grid.activeRow() - 1, m_grid.activeColumn() - 1);
    selectionModel()->setCurrentIndex(idx, QItemSelectionModel::NoUpdate);
    scrollTo(idx);
  } else {
    selectionModel()->setCurrentIndex(QModelIndex(), QItemSelectionModel::NoUpdate);
  }
  m_syncing = false;
}

} // namespace vcm
