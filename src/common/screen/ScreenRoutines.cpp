#include "common/screen/ScreenRoutines.h"

#include "common/grid/StandardImages.h"
#include "common/screen/PictureCheckStyle.h"
#include "common/screen/TelephoneFormatter.h"
#include "platform/Ui.h"

#include <QCalendarWidget>
#include <QCheckBox>
#include <QDate>
#include <QLineEdit>

namespace vcm {

namespace {

class LineEditField : public TelephoneField {
public:
  explicit LineEditField(QLineEdit* edit) : m_edit(edit) {}
  QString text() const override { return m_edit->text(); }
  int selectionStart() const override
  {
    return m_edit->hasSelectedText() ? m_edit->selectionStart() : m_edit->cursorPosition();
  }
  int selectionLength() const override { return m_edit->hasSelectedText() ? m_edit->selectionLength() : 0; }
  void setText(const QString& text) override { m_edit->setText(text); }
  void setCaret(int position) override { m_edit->setCursorPosition(position); }

private:
  QLineEdit* m_edit;
};

} // namespace

void g_MonthView_Set(QCalendarWidget* calendar, int top, int left, const QString& dateText)
{
  if (!calendar) {
    notice(QStringLiteral("오류발생(g_MonthView_Set)"), Icon::Exclamation);
    return;
  }
  calendar->move(left, top);
  calendar->setVisible(true);
  calendar->raise();
  const QString trimmed = dateText.trimmed();
  QDate date = QDate::currentDate();
  if (trimmed.size() == 10) {
    QString iso = trimmed;
    iso.replace(QLatin1Char('.'), QLatin1Char('-'));
    date = QDate::fromString(iso, QStringLiteral("yyyy-MM-dd"));
  }
  if (!date.isValid()) {
    notice(QStringLiteral("오류발생(g_MonthView_Set)"), Icon::Exclamation);
    return;
  }
  calendar->setSelectedDate(date);
  calendar->setCurrentPage(date.year(), date.month());
  calendar->raise();
}

void g_Chk_Img(QCheckBox* box)
{
  if (!box)
    return;
  auto* style = new PictureCheckStyle(StandardImages::picture(StandardImages::PictureBoxChecked),
                                      StandardImages::picture(StandardImages::PictureBoxUnchecked));
  style->setParent(box); // the box does not own its style; this ends it with the box
  box->setStyle(style);
  box->update();
}

void g_Tel_KeyPress(int& key, TelephoneField* field)
{
  if (!field) {
    notice(QStringLiteral("오류발생(g_ChNum)"), Icon::Exclamation);
    return;
  }
  const TelephoneKeyResult r =
      formatTelephoneKey(field->text(), field->selectionStart(), field->selectionLength(), key);
  switch (r.action) {
  case TelephoneKeyResult::Action::PassThrough: break;
  case TelephoneKeyResult::Action::Swallow: key = 0; break;
  case TelephoneKeyResult::Action::Replace:
    field->setText(r.text);
    field->setCaret(int(r.text.size()));
    key = 0;
    break;
  }
}

void g_Tel_KeyPress(int& key, QLineEdit* field)
{
  if (!field) {
    g_Tel_KeyPress(key, static_cast<TelephoneField*>(nullptr));
    return;
  }
  LineEditField adapter(field);
  g_Tel_KeyPress(key, &adapter);
}

} // namespace vcm
