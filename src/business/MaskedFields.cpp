#include "business/MaskedFields.h"

#include <QColor>
#include <QLineEdit>

namespace vcm {

QLineEdit* makeMaskedField(QWidget* parent, const QString& name, const QRect& geometry,
                           const QString& mask)
{
  auto* field = new QLineEdit(parent);
  field->setObjectName(name);
  field->setGeometry(geometry);
  field->setInputMask(mask);
  field->setAlignment(Qt::AlignCenter);
  return field;
}

QString maskedValue(const QLineEdit* field)
{
  const QString text = field->text();
  for (const QChar c : text)
    if (c.isLetterOrNumber())
      return text;
  return {};
}

void setMaskedBackground(QLineEdit* field, unsigned int oleColor)
{
  QPalette palette = field->palette();
  const QColor colour(int(oleColor & 0xFF), int((oleColor >> 8) & 0xFF), int((oleColor >> 16) & 0xFF));
  palette.setColor(QPalette::Base, colour);
  field->setPalette(palette);
}

} // namespace vcm
