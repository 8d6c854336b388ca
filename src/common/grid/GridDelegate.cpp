#include "common/grid/GridDelegate.h"

#include "common/grid/Grid.h"

#include <QApplication>
#include <QKeyEvent>
#include <QComboBox>
#include <QDoubleValidator>
#include <QLineEdit>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionButton>

namespace vcm {

namespace {

/// A drop-down list editor that says when its list opens and closes.
class GridComboBox : public QComboBox {
public:
  using QComboBox::QComboBox;
  std::function<void(bool)> onList;

  void showPopup() override
  {
    if (onList)
      onList(true);
    QComboBox::showPopup();
  }
  void hidePopup() override
  {
    QComboBox::hidePopup();
    if (onList)
      onList(false);
  }
};

Qt::Alignment qtAlignment(HAlign h, VAlign v, CellType type, bool header)
{
  Qt::Alignment a;
  switch (h) {
  case HAlign::Left: a = Qt::AlignLeft; break;
  case HAlign::Centre: a = Qt::AlignHCenter; break;
  case HAlign::Right: a = Qt::AlignRight; break;
  case HAlign::General:
    if (header || type == CellType::CheckBox || type == CellType::Button)
      a = Qt::AlignHCenter;
    else
      a = type == CellType::Number ? Qt::AlignRight : Qt::AlignLeft;
    break;
  }
  switch (v) {
  case VAlign::Top: a |= Qt::AlignTop; break;
  case VAlign::Centre: a |= Qt::AlignVCenter; break;
  case VAlign::Bottom: a |= Qt::AlignBottom; break;
  }
  return a;
}

} // namespace

GridDelegate::GridDelegate(Grid& grid, QObject* parent) : QStyledItemDelegate(parent), m_grid(grid)
{
}

QPixmap GridDelegate::picture(int index) const
{
  return m_pictures && index > 0 ? m_pictures(index) : QPixmap();
}

QColor GridDelegate::toQColor(Colour colour, const QPalette& palette)
{
  if (colours::isSystem(colour)) {
    switch (colour & 0xFF) {
    case 0x0F: return palette.color(QPalette::Button);
    case 0x05: return palette.color(QPalette::Base);
    case 0x08: return palette.color(QPalette::Text);
    case 0x12: return palette.color(QPalette::ButtonText);
    case 0x0D: return palette.color(QPalette::Highlight);
    case 0x0E: return palette.color(QPalette::HighlightedText);
    default: return palette.color(QPalette::Window);
    }
  }
  return QColor(colours::red(colour), colours::green(colour), colours::blue(colour));
}

void GridDelegate::paintCell(QPainter* painter, const QRect& rect, int col, int row,
                             const QWidget* widget, bool active) const
{
  const QPalette& pal = widget ? widget->palette() : QApplication::palette();
  const bool header = row == 0;
  const bool activeRow = m_activeRowColour && row >= 1 && row == m_grid.activeRow();
  painter->fillRect(rect, toQColor(activeRow ? *m_activeRowColour : m_grid.background(col, row), pal));
  if (header) {
    painter->setPen(pal.color(QPalette::Mid));
    painter->drawLine(rect.topRight(), rect.bottomRight());
    painter->drawLine(rect.bottomLeft(), rect.bottomRight());
  }

  const CellKind& k = m_grid.kind(col, row);
  const QRect inner = rect.adjusted(2, 1, -2, -1); // GridView::columnPixels counts these margins
  const Qt::Alignment align =
      qtAlignment(m_grid.horizontalAlignment(col, row), m_grid.verticalAlignment(col, row), k.type, header);
  const QColor fg = toQColor(m_grid.foreground(col, row), pal);

  QFont font = widget ? widget->font() : QApplication::font();
  const bool bold = m_grid.isBold(col, row);
  const double size = m_grid.fontSize(col, row);
  const bool customFont = bold || size > 0;
  if (customFont) {
    font.setBold(bold);
    if (size > 0)
      font.setPointSizeF(size);
    painter->save();
    painter->setFont(font);
  }

  switch (k.type) {
  case CellType::CheckBox: {
    const bool checked = m_grid.isChecked(col, row);
    const QPixmap pm = picture(checked ? k.checkedPicture : k.uncheckedPicture);
    QSize box = pm.isNull() ? QSize(13, 13) : pm.deviceIndependentSize().toSize();
    const int captionWidth =
        k.caption.isEmpty() ? 0 : painter->fontMetrics().horizontalAdvance(k.caption) + 4;
    const int x = k.caption.isEmpty() ? rect.center().x() - box.width() / 2 + 1 : inner.left();
    const QRect target(QPoint(x, rect.center().y() - box.height() / 2 + 1), box);
    if (!pm.isNull()) {
      painter->drawPixmap(target, pm);
    } else {
      QStyleOptionButton opt;
      opt.rect = target;
      opt.state = QStyle::State_Enabled | (checked ? QStyle::State_On : QStyle::State_Off);
      QStyle* style = widget ? widget->style() : QApplication::style();
      style->drawPrimitive(QStyle::PE_IndicatorCheckBox, &opt, painter, widget);
    }
    if (captionWidth > 0) {
      painter->setPen(fg);
      painter->drawText(QRect(target.right() + 4, inner.top(), inner.right() - target.right() - 4,
                              inner.height()),
                        Qt::AlignLeft | Qt::AlignVCenter, k.caption);
    }
    break;
  }
  case CellType::Button: {
    QStyleOptionButton opt;
    opt.rect = rect.adjusted(1, 1, -1, -1);
    opt.text = k.caption.isEmpty() ? m_grid.text(col, row) : k.caption;
    opt.state = QStyle::State_Enabled | QStyle::State_Raised;
    opt.palette = pal;
    QStyle* style = widget ? widget->style() : QApplication::style();
    style->drawControl(QStyle::CE_PushButton, &opt, painter, widget);
    break;
  }
  default: {
    const QString text = m_grid.text(col, row);
    if (!text.isEmpty()) {
      painter->setPen(fg);
      const QString shown = (align & Qt::AlignLeft) || (align & Qt::AlignRight)
                                ? painter->fontMetrics().elidedText(text, Qt::ElideRight, inner.width())
                                : text;
      painter->drawText(inner, int(align) | Qt::TextSingleLine, shown);
    } else if (const QString hint = m_grid.hint(col, row); !hint.isEmpty()) {
      painter->save();
      QFont italic = painter->font();
      italic.setItalic(true);
      painter->setFont(italic);
      painter->setPen(pal.color(QPalette::Disabled, QPalette::Text));
      painter->drawText(inner, int(align) | Qt::TextSingleLine,
                        painter->fontMetrics().elidedText(hint, Qt::ElideRight, inner.width()));
      painter->restore();
    }
    break;
  }
  }

  if (customFont)
    painter->restore();

  if (m_grid.hasBorder(col, row)) {
    painter->setPen(QPen(toQColor(m_grid.borderColour(col, row), pal), 1));
    painter->drawRect(rect.adjusted(0, 0, -1, -1));
  }
  if (active) {
    painter->setPen(QPen(pal.color(QPalette::Text), 1, Qt::DotLine));
    painter->drawRect(rect.adjusted(0, 0, -1, -1));
  }
}

void GridDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                         const QModelIndex& index) const
{
  const bool active = (option.state & QStyle::State_HasFocus) != 0;
  paintCell(painter, option.rect, index.column() + 1, index.row() + 1, option.widget, active);
}

bool GridDelegate::eventFilter(QObject* object, QEvent* event)
{
  if (event->type() == QEvent::KeyPress && editorKey) {
    if (auto* editor = qobject_cast<QWidget*>(object))
      if (editorKey(editor, static_cast<QKeyEvent*>(event)))
        return true;
  }
  return QStyledItemDelegate::eventFilter(object, event);
}

QWidget* GridDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                                    const QModelIndex& index) const
{
  QWidget* editor = makeEditor(parent, index);
  if (editor && editorCreated)
    editorCreated(editor, index.column() + 1, index.row() + 1);
  return editor;
}

QWidget* GridDelegate::makeEditor(QWidget* parent, const QModelIndex& index) const
{
  const int col = index.column() + 1;
  const int row = index.row() + 1;
  const CellKind& k = m_grid.kind(col, row);
  auto* self = const_cast<GridDelegate*>(this);
  switch (k.type) {
  case CellType::ComboBox: {
    auto* box = new GridComboBox(parent);
    box->setEditable(false);
    box->addItems(k.items);
    box->onList = [self, box](bool shown) { emit self->listShown(box, shown); };
    connect(box, &QComboBox::currentTextChanged, self, [self, box] { emit self->editTextChanged(box); });
    return box;
  }
  case CellType::Number: {
    auto* edit = new QLineEdit(parent);
    edit->setFrame(false);
    auto* validator = new QDoubleValidator(k.minimum, k.maximum, k.decimals, edit);
    validator->setNotation(QDoubleValidator::StandardNotation);
    validator->setLocale(QLocale::c());
    edit->setValidator(validator);
    edit->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    connect(edit, &QLineEdit::textEdited, self, [self, edit] { emit self->editTextChanged(edit); });
    return edit;
  }
  case CellType::Text: {
    auto* edit = new QLineEdit(parent);
    edit->setFrame(false);
    if (k.maxLength > 0)
      edit->setMaxLength(k.maxLength);
    connect(edit, &QLineEdit::textEdited, self, [self, edit] { emit self->editTextChanged(edit); });
    return edit;
  }
  default:
    return nullptr;
  }
}

void GridDelegate::setEditorData(QWidget* editor, const QModelIndex& index) const
{
  const int col = index.column() + 1;
  const int row = index.row() + 1;
  if (auto* box = qobject_cast<QComboBox*>(editor)) {
    box->setCurrentIndex(box->findText(m_grid.text(col, row)));
    return;
  }
  if (auto* edit = qobject_cast<QLineEdit*>(editor)) {
    // Number cells are edited without separators; a stored text that the range refuses
    // stays as it is rather than being dropped by the validator.
    const QString text = m_grid.cellType(col, row) == CellType::Number ? m_grid.value(col, row)
                                                                       : m_grid.text(col, row);
    if (edit->text() != text)
      edit->setText(text);
  }
}

void GridDelegate::setModelData(QWidget* editor, QAbstractItemModel* model,
                                const QModelIndex& index) const
{
  if (refusesInput(editor))
    return;
  model->setData(index, editorText(editor), Qt::EditRole);
}

bool GridDelegate::refusesInput(const QWidget* editor)
{
  auto* edit = qobject_cast<const QLineEdit*>(editor);
  return edit && !edit->text().isEmpty() && !edit->hasAcceptableInput();
}

void GridDelegate::updateEditorGeometry(QWidget* editor, const QStyleOptionViewItem& option,
                                        const QModelIndex&) const
{
  editor->setGeometry(option.rect);
}

QString GridDelegate::editorText(const QWidget* editor)
{
  if (auto* edit = qobject_cast<const QLineEdit*>(editor))
    return edit->text();
  if (auto* box = qobject_cast<const QComboBox*>(editor))
    return box->currentText();
  return QString();
}

void GridDelegate::setEditorText(QWidget* editor, const QString& text)
{
  if (auto* edit = qobject_cast<QLineEdit*>(editor)) {
    if (edit->text() != text)
      edit->setText(text);
  } else if (auto* box = qobject_cast<QComboBox*>(editor)) {
    box->setCurrentIndex(box->findText(text));
  }
}

} // namespace vcm
