#include "business/BusinessInfoChangeScreen.h"

#include "business/MaskedFields.h"
#include "business/ScreenActivation.h"
#include "common/screen/ScreenRoutines.h"
#include "mainwindow/Twips.h"

#include <QCheckBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>

namespace vcm {

namespace {

constexpr int kFieldHeight = 300;
constexpr int kCurrentLeft = 2160;
constexpr int kNewLeft = 5040;
constexpr int kValueWidth = 2730;
constexpr int kLineStep = 375; // address lines below their postcode
constexpr OleColor kWhite = 0xFFFFFF;
constexpr OleColor kGrey = 0xE0E0E0;

// The table drawn behind the controls, in twips.
constexpr int kTableLeft = 420;
constexpr int kTableRight = 7980;
constexpr int kItemColumnEnd = 2085;
constexpr int kBeforeColumnEnd = 4965;
constexpr int kHeaderTop = 1035;
constexpr int kRowPadding = 45;
constexpr int kTableBottom = 9645 + kFieldHeight + kRowPadding;

QColor oleColour(OleColor c)
{
  return QColor(int(c & 0xFF), int((c >> 8) & 0xFF), int((c >> 16) & 0xFF));
}

void setPanelBackground(QWidget* panel, OleColor colour)
{
  panel->setAutoFillBackground(true);
  QPalette palette = panel->palette();
  palette.setColor(QPalette::Window, oleColour(colour));
  panel->setPalette(palette);
}

QString indexed(const char* name, int index)
{
  return QStringLiteral("%1_%2").arg(QLatin1String(name)).arg(index);
}

} // namespace

BusinessInfoChangeScreen* BusinessInfoChangeScreen::create(QWidget* parent)
{
  return usable(new BusinessInfoChangeScreen(parent));
}

BusinessInfoChangeScreen::BusinessInfoChangeScreen(QWidget* parent)
    : BusinessDialog(parent, BusinessInfoChange::kFormName, QStringLiteral("사업장정보 변경"), 8400, 10845)
{
  buildControls();
  if (m_fields.failed())
    return;
  for (QCheckBox* box : m_chk)
    g_Chk_Img(box);
  m_logic.changed = [this] { showCurrent(); };
  new ScreenActivation(this, [this] { Form_Activate(); });
}

IKoltRich* BusinessInfoChangeScreen::makeText(const QString& name, int top, bool current,
                                              const ChangeItem& item)
{
  const KoltRichFields::Look look{current ? 0 : item.maxLength, item.centred, current};
  IKoltRich* field = m_fields.make(
      this, name, twipsRect(current ? kCurrentLeft : kNewLeft, top, kValueWidth, kFieldHeight), look);
  if (field && !current) {
    field->SetEnabled(false);
    field->widget()->setProperty("Tag", item.saveField);
  }
  return field;
}

QLineEdit* BusinessInfoChangeScreen::makeMasked(const QString& name, int top, bool current,
                                                const QString& mask)
{
  QLineEdit* field = makeMaskedField(
      this, name, twipsRect(current ? kCurrentLeft : kNewLeft, top, kValueWidth, kFieldHeight), mask);
  if (current) {
    field->installEventFilter(this);
    field->setAcceptDrops(false);
    field->setContextMenuPolicy(Qt::NoContextMenu);
  } else {
    field->setEnabled(false);
    setMaskedBackground(field, kGrey);
  }
  return field;
}

void BusinessInfoChangeScreen::buildControls()
{
  const QString notes[] = {
      QStringLiteral("※ 변경할 항목을 체크 한 후 변경된 내용을 입력 후 하단의 [변경저장] 버튼을 클릭해주세요."),
      QStringLiteral("※ 베트라케어에서 변경된 내용을 확인 후 1일~2일내에 반영하도록 하겠습니다."),
  };
  for (int i = 0; i < 2; ++i) {
    auto* note = new QLabel(notes[i], this);
    note->setObjectName(indexed("lblNote", i));
    note->setGeometry(twipsRect(kTableLeft, 330 + i * 330, kTableRight - kTableLeft, kFieldHeight));
  }

  const QList<ChangeItem>& items = changeItems();
  for (int i = 0; i < items.size() && !m_fields.failed(); ++i)
    buildItem(i, items.at(i));
  if (m_fields.failed())
    return;
  // The business name is loaded with the rest but cannot be requested for change.
  ChangeItem name;
  m_txtBase[1] = makeText(indexed("txtBase", 1), 0, true, name);
  if (m_txtBase[1])
    m_txtBase[1]->widget()->hide();

  m_cmdFinish = new QPushButton(QStringLiteral("변경저장"), this);
  m_cmdFinish->setObjectName(QStringLiteral("cmdFinish"));
  m_cmdFinish->setGeometry(twipsRect(5070, 10080, 1500, 375));
  m_cmdFinish->setAutoDefault(false);
  m_cmdClose = addCloseButton(6780, 10080, 1080, 375);
  connect(m_cmdFinish, &QPushButton::clicked, this, [this] { cmdFinish_Click(); });
}

void BusinessInfoChangeScreen::buildItem(int index, const ChangeItem& item)
{
  auto* box = new QCheckBox(item.caption, this);
  box->setObjectName(indexed("chkWrite_Com", index));
  box->setGeometry(twipsRect(585, item.rowTop, 1440, kFieldHeight));
  box->setProperty("Tag", item.saveField);
  m_chk[size_t(index)] = box;
  connect(box, &QCheckBox::toggled, this, [this, index] { chkWrite_Com_Click(index); });

  const size_t f = size_t(item.field);
  const auto inputModeOnFocus = [this](int i) {
    IKoltRich* field = m_txtBaseCh[size_t(i)];
    if (field)
      KoltRichFields::onFocusIn(field, [field, i] { field->SetImeMode(inputModeFor(i)); });
  };
  switch (item.kind) {
  case ChangeItem::Kind::Text:
    m_txtBase[f] = makeText(indexed("txtBase", item.field), item.rowTop, true, item);
    m_txtBaseCh[f] = makeText(indexed("txtBase_CH", item.field), item.rowTop, false, item);
    inputModeOnFocus(item.field);
    break;
  case ChangeItem::Kind::Telephone:
    m_txtTel[f] = makeText(indexed("txtTel", item.field), item.rowTop, true, item);
    m_txtTelCh[f] = makeText(indexed("txtTel_CH", item.field), item.rowTop, false, item);
    if (m_txtTelCh[f])
      KoltRichFields::filterTelephoneKeys(m_txtTelCh[f]);
    break;
  case ChangeItem::Kind::Masked:
  case ChangeItem::Kind::Address:
    m_mskBase[f] = makeMasked(indexed("mskBase", item.field), item.rowTop, true, item.mask);
    m_mskBaseCh[f] = makeMasked(indexed("mskBase_CH", item.field), item.rowTop, false, item.mask);
    if (item.kind == ChangeItem::Kind::Address) {
      int top = item.rowTop;
      for (const int line : {item.line1, item.line2}) {
        top += kLineStep;
        ChangeItem lineItem = item;
        lineItem.saveField = line == item.line1 ? item.line1Field : item.line2Field;
        m_txtBase[size_t(line)] = makeText(indexed("txtBase", line), top, true, lineItem);
        m_txtBaseCh[size_t(line)] = makeText(indexed("txtBase_CH", line), top, false, lineItem);
        inputModeOnFocus(line);
      }
    }
    break;
  case ChangeItem::Kind::Contract:
    buildContractRow(item.rowTop);
    break;
  }
}

void BusinessInfoChangeScreen::buildContractRow(int top)
{
  const auto panel = [this, top](const char* name, int left, std::array<QRadioButton*, 2>& options,
                                 const char* optionName) {
    auto* p = new QWidget(this);
    p->setObjectName(QLatin1String(name));
    p->setGeometry(twipsRect(left, top, kValueWidth, kFieldHeight));
    p->setEnabled(false);
    setPanelBackground(p, kGrey);
    int i = 0;
    for (const int index : {CompanyFields::kConDivIntegrated, CompanyFields::kConDivSimple}) {
      auto* option = new QRadioButton(index == 1 ? QStringLiteral("통합") : QStringLiteral("간편"), p);
      option->setObjectName(indexed(optionName, index));
      option->setGeometry(twipsRect(240 + i * 1200, 0, 1050, kFieldHeight));
      option->setAutoExclusive(false);
      options[size_t(i++)] = option;
    }
    connect(options[0], &QRadioButton::clicked, options[1], [options] { options[1]->setChecked(false); });
    connect(options[1], &QRadioButton::clicked, options[0], [options] { options[0]->setChecked(false); });
    return p;
  };
  m_picture1 = panel("Picture1_0", kCurrentLeft, m_opt, "opt_ConDiv");
  m_picConDiv = panel("picCon_Div", kNewLeft, m_optCh, "opt_ConDiv_CH");
}

QRadioButton* BusinessInfoChangeScreen::opt_ConDiv(int index) const
{
  return index == 1 ? m_opt[0] : index == 3 ? m_opt[1] : nullptr;
}

QRadioButton* BusinessInfoChangeScreen::opt_ConDiv_CH(int index) const
{
  return index == 1 ? m_optCh[0] : index == 3 ? m_optCh[1] : nullptr;
}

void BusinessInfoChangeScreen::Form_Activate()
{
  for (IKoltRich* field : m_txtBase)
    if (field)
      field->SetBackColor(kGrey);
  for (IKoltRich* field : m_txtTel)
    field->SetBackColor(kGrey);
  m_logic.Form_Activate();
}

void BusinessInfoChangeScreen::chkWrite_Com_Click(int index)
{
  enableItem(index, m_chk[size_t(index)]->isChecked());
}

void BusinessInfoChangeScreen::enableItem(int index, bool enabled)
{
  const ChangeItem& item = changeItems().at(index);
  const size_t f = size_t(item.field);
  switch (item.kind) {
  case ChangeItem::Kind::Text:
    m_txtBaseCh[f]->SetEnabled(enabled);
    if (enabled)
      m_txtBaseCh[f]->widget()->setFocus();
    break;
  case ChangeItem::Kind::Telephone:
    m_txtTelCh[f]->SetEnabled(enabled);
    if (enabled)
      m_txtTelCh[f]->widget()->setFocus();
    break;
  case ChangeItem::Kind::Masked:
  case ChangeItem::Kind::Address:
    m_mskBaseCh[f]->setEnabled(enabled);
    setMaskedBackground(m_mskBaseCh[f], enabled ? kWhite : kGrey);
    if (enabled)
      m_mskBaseCh[f]->setFocus();
    if (item.kind == ChangeItem::Kind::Address) {
      m_txtBaseCh[size_t(item.line1)]->SetEnabled(enabled);
      m_txtBaseCh[size_t(item.line2)]->SetEnabled(enabled);
    }
    break;
  case ChangeItem::Kind::Contract:
    m_picConDiv->setEnabled(enabled);
    setPanelBackground(m_picConDiv, enabled ? kWhite : kGrey);
    break;
  }
}

void BusinessInfoChangeScreen::showCurrent()
{
  const CompanyFields& f = m_logic.current;
  for (size_t i = 0; i < m_txtBase.size(); ++i)
    KoltRichFields::setText(m_txtBase[i], f.txtBase[i]);
  for (size_t i = 0; i < m_txtTel.size(); ++i)
    KoltRichFields::setText(m_txtTel[i], f.txtTel[i]);
  for (size_t i = 0; i < m_mskBase.size(); ++i)
    m_mskBase[i]->setText(f.mskBase[i]);
  m_opt[0]->setChecked(f.conDiv == CompanyFields::kConDivIntegrated);
  m_opt[1]->setChecked(f.conDiv == CompanyFields::kConDivSimple);
  m_cmdFinish->setEnabled(m_logic.cmdFinishEnabled);
}

void BusinessInfoChangeScreen::collectForm()
{
  ChangeRequestForm& form = m_logic.form;
  for (size_t i = 0; i < m_chk.size(); ++i)
    form.chkWrite_Com[i] = m_chk[i]->isChecked();
  for (size_t i = 0; i < m_txtBaseCh.size(); ++i)
    form.txtBase_CH[i] = m_txtBaseCh[i] ? m_txtBaseCh[i]->Text() : QString();
  for (size_t i = 0; i < m_txtTelCh.size(); ++i)
    form.txtTel_CH[i] = m_txtTelCh[i]->Text();
  for (size_t i = 0; i < m_mskBaseCh.size(); ++i)
    form.mskBase_CH[i] = maskedValue(m_mskBaseCh[i]);
  form.conDivIntegrated = m_optCh[0]->isChecked();
}

void BusinessInfoChangeScreen::cmdFinish_Click()
{
  collectForm();
  m_logic.cmdFinish_Click();
}

bool BusinessInfoChangeScreen::eventFilter(QObject* watched, QEvent* event)
{
  // The current values are shown, not typed over: every key but C (copying) is dropped.
  if (event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease ||
      event->type() == QEvent::ShortcutOverride) {
    const auto* key = static_cast<QKeyEvent*>(event);
    if (qobject_cast<QLineEdit*>(watched) && key->key() != Qt::Key_C)
      return true;
  }
  return QDialog::eventFilter(watched, event);
}

void BusinessInfoChangeScreen::paintEvent(QPaintEvent* event)
{
  QDialog::paintEvent(event);
  QPainter p(this);
  const auto x = [](int twips) { return twipsToPixels(twips); };
  const QRect header(x(kTableLeft), x(kHeaderTop), x(kTableRight) - x(kTableLeft),
                     x(1440 - kRowPadding) - x(kHeaderTop));
  p.fillRect(header, QColor(0xDD, 0xE7, 0xF3));
  p.setPen(QColor(0x30, 0x30, 0x30));
  const int columns[] = {kTableLeft, kItemColumnEnd, kBeforeColumnEnd, kTableRight};
  const QString titles[] = {QStringLiteral("변경항목"), QStringLiteral("변경전"), QStringLiteral("변경후")};
  for (int c = 0; c < 3; ++c)
    p.drawText(QRect(x(columns[c]), header.top(), x(columns[c + 1]) - x(columns[c]), header.height()),
               Qt::AlignCenter, titles[c]);
  p.setPen(QColor(0xA8, 0xB4, 0xC4));
  for (const ChangeItem& item : changeItems())
    p.drawLine(x(kTableLeft), x(item.rowTop - kRowPadding), x(kTableRight), x(item.rowTop - kRowPadding));
  p.drawRect(QRect(QPoint(x(kTableLeft), x(kHeaderTop)), QPoint(x(kTableRight), x(kTableBottom))));
  for (int c = 1; c < 3; ++c)
    p.drawLine(x(columns[c]), x(kHeaderTop), x(columns[c]), x(kTableBottom));
}

} // namespace vcm
