#pragma once

#include "common/screen/GridRoutines.h"

#include <QString>

class QCalendarWidget;
class QCheckBox;
class QLineEdit;

namespace vcm {

// Control routines the screens share. The grid routines (g_Spr_Chk_Col,
// g_Spr_Click_Color, g_Spr_Row_Color) work on a Grid and come with GridRoutines.h.

/// Places the pop-up calendar at (left, top) in its parent's pixels, shows it in front
/// and dates it: a 10-character "YYYY.MM.DD" (blanks around it ignored) selects that day,
/// any other text today. A 10-character text that is no date leaves the date and shows
/// "오류발생(g_MonthView_Set)".
void g_MonthView_Set(QCalendarWidget* calendar, int top, int left, const QString& dateText);

/// Gives a check box the standard pictured look: image 9 when checked, image 10 when not.
/// A null box is ignored.
void g_Chk_Img(QCheckBox* box);

/// A text field as the telephone filter sees it. Implemented by whatever text control
/// a screen uses for telephone numbers.
class TelephoneField {
public:
  virtual ~TelephoneField() = default;
  virtual QString text() const = 0;
  virtual int selectionStart() const = 0;
  virtual int selectionLength() const = 0;
  virtual void setText(const QString& text) = 0;
  virtual void setCaret(int position) = 0;
};

/// Telephone filter for a character about to be typed into `field` (see
/// formatTelephoneKey). Sets `key` to 0 when the key is swallowed or the text was
/// reformatted (the caret then stands at the end).
void g_Tel_KeyPress(int& key, TelephoneField* field);
/// The same for a plain line edit.
void g_Tel_KeyPress(int& key, QLineEdit* field);

} // namespace vcm
