#pragma once

#include <QRect>
#include <QString>

class QLineEdit;
class QWidget;

namespace vcm {

/// A masked field (`mask` in QLineEdit's notation) named `name` at `geometry`. It shows
/// a stored text with or without the mask's separators alike.
QLineEdit* makeMaskedField(QWidget* parent, const QString& name, const QRect& geometry,
                           const QString& mask);

/// The field's value: its text with the separators, empty while no place is filled.
QString maskedValue(const QLineEdit* field);

/// Background colour of a masked field, 0x00BBGGRR.
void setMaskedBackground(QLineEdit* field, unsigned int oleColor);

} // namespace vcm
