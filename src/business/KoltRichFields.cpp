#include "business/KoltRichFields.h"

#include "common/Session.h"
#include "common/screen/ScreenRoutines.h"
#include "textcontrol/ControlFactory.h"

#include <QEvent>
#include <QWidget>

namespace vcm {

namespace {

constexpr OleColor kWhite = 0xFFFFFF;
constexpr OleColor kGreyBorder = 0xA0A0A0;
const char* const kCentredProperty = "vcmCentred";

class KoltRichTelephone : public TelephoneField {
public:
  explicit KoltRichTelephone(IKoltRich* field) : m_field(field) {}
  QString text() const override { return m_field->Text(); }
  int selectionStart() const override { return m_field->SelStart(); }
  int selectionLength() const override { return m_field->SelLength(); }
  void setText(const QString& text) override { KoltRichFields::setText(m_field, text); }
  void setCaret(int position) override
  {
    m_field->SetSelStart(position);
    m_field->SetSelLength(0);
  }

private:
  IKoltRich* m_field;
};

class FocusWatch : public QObject {
public:
  FocusWatch(QObject* parent, std::function<void()> onFocus)
      : QObject(parent), m_onFocus(std::move(onFocus))
  {
  }
  bool eventFilter(QObject* watched, QEvent* event) override
  {
    if (event->type() == QEvent::FocusIn && m_onFocus)
      m_onFocus();
    return QObject::eventFilter(watched, event);
  }

private:
  std::function<void()> m_onFocus;
};

} // namespace

IKoltRich* KoltRichFields::make(QWidget* parent, const QString& name, const QRect& geometry,
                                const Look& look)
{
  if (m_failed)
    return nullptr;
  IKoltRich* field = createControl(QLatin1String(koltrich::ProgId), parent);
  if (!field) {
    m_failed = true;
    return nullptr;
  }
  field->ReadProperties({{QStringLiteral("Text"), QString()},
                         {QStringLiteral("BackColor"), kWhite},
                         {QStringLiteral("BorderColor"), kGreyBorder},
                         {QStringLiteral("BorderStyle"), 1},
                         {QStringLiteral("Locked"), look.locked},
                         {QStringLiteral("MaxLength"), look.maxLength},
                         {QStringLiteral("SelAlignment"), look.centred ? 2 : 0}});
  QWidget* widget = field->widget();
  widget->setObjectName(name);
  widget->setProperty(kCentredProperty, look.centred);
  widget->setGeometry(geometry);
  return field;
}

void KoltRichFields::setText(IKoltRich* field, const QString& text)
{
  if (!field)
    return;
  field->SetText(text);
  if (field->widget()->property(kCentredProperty).toBool())
    field->SetSelAlignment(2);
}

void KoltRichFields::filterTelephoneKeys(IKoltRich* field)
{
  field->events().KeyPress = [field](short& keyAscii) {
    Session.CurrentProcedure = QStringLiteral("txtTel_KeyPress");
    if (keyAscii == 22 || keyAscii == 3)
      return;
    int key = keyAscii;
    KoltRichTelephone adapter(field);
    g_Tel_KeyPress(key, &adapter);
    keyAscii = static_cast<short>(key);
  };
}

void KoltRichFields::onFocusIn(IKoltRich* field, std::function<void()> onFocus)
{
  QWidget* box = field->widget()->focusProxy() ? field->widget()->focusProxy() : field->widget();
  box->installEventFilter(new FocusWatch(field->widget(), std::move(onFocus)));
}

} // namespace vcm
