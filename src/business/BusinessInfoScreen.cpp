#include "business/BusinessInfoScreen.h"

#include "business/BusinessInfoChangeScreen.h"
#include "business/MaskedFields.h"
#include "business/ScreenActivation.h"
#include "common/ErrMsg.h"
#include "common/Session.h"
#include "mainwindow/MainWindow.h"
#include "mainwindow/Twips.h"

#include <QCloseEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

namespace vcm {

namespace {

constexpr int kFieldHeight = 300;

/// One label and field of the layout, in twips relative to its container.
struct FieldSpot {
  const char* label;
  int left;
  int top;
  int width;
};

QLabel* addLabel(QWidget* parent, const QString& text, int left, int top, int width)
{
  auto* label = new QLabel(text, parent);
  label->setGeometry(twipsRect(left, top, width, kFieldHeight));
  label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  return label;
}

} // namespace

BusinessInfoScreen* BusinessInfoScreen::create(QWidget* parent)
{
  return usable(new BusinessInfoScreen(parent));
}

BusinessInfoScreen::BusinessInfoScreen(QWidget* parent)
    : BusinessDialog(parent, BusinessInfoView::kFormName, QStringLiteral("사업장관리"), 6465, 7710)
{
  buildControls();
  if (m_fields.failed())
    return;
  m_logic.changed = [this] { showFields(); };
  new ScreenActivation(this, [this] { m_logic.Form_Activate(); });
}

QGroupBox* BusinessInfoScreen::buildFrame(const QString& name, const QString& caption,
                                          const QRect& geometry)
{
  auto* frame = new QGroupBox(caption, this);
  frame->setObjectName(name);
  frame->setGeometry(geometry);
  return frame;
}

void BusinessInfoScreen::buildControls()
{
  const auto text = [this](QWidget* parent, const QString& name, int left, int top, int width,
                           int maxLength, bool centred = false) {
    return m_fields.make(parent, name, twipsRect(left, top, width, kFieldHeight),
                         {maxLength, centred, true});
  };
  const auto base = [](int i) { return QStringLiteral("txtBase_%1").arg(i); };
  const auto tel = [](int i) { return QStringLiteral("txtTel_%1").arg(i); };
  const auto masked = [this](int i, int left, int top, int width, const char* mask) {
    QLineEdit* field = makeMaskedField(this, QStringLiteral("mskBase_%1").arg(i),
                                       twipsRect(left, top, width, kFieldHeight),
                                       QLatin1String(mask));
    field->setReadOnly(true);
    return field;
  };

  // Labels in front of the fields: left column at 180, right column at 3480.
  const FieldSpot labels[] = {
      {"＞회 원 코 드", 180, 255, 1140},  {"＞시 설 코 드", 3480, 255, 1140},
      {"＞사 업 장 명", 180, 690, 1140},  {"＞사업자번호", 180, 1125, 1140},
      {"＞설 립 일 자", 3480, 1125, 1140}, {"＞회원사전화", 180, 1560, 1140},
      {"＞회원사팩스", 3480, 1560, 1140}, {"＞대 표 자 명", 180, 1995, 1140},
      {"＞대표자전화", 3480, 1995, 1140}, {"＞센 터 장 명", 180, 2430, 1140},
      {"＞센터장전화", 3480, 2430, 1140}, {"＞사업장주소", 180, 2865, 1140},
      {"＞우편물주소", 180, 3300, 1140},  {"＞메 일 주 소", 180, 3735, 1140},
  };
  for (const FieldSpot& l : labels)
    addLabel(this, QString::fromUtf8(l.label), l.left, l.top, l.width);

  // The member code is shown, never edited: a disabled field in grey.
  m_txtCCode = text(this, QStringLiteral("txtCCode"), 1350, 255, 1575, 40);
  if (!m_txtCCode)
    return;
  m_txtCCode->SetEnabled(false);
  m_txtCCode->SetBackColor(0xE0E0E0);

  m_txtBase[0] = text(this, base(0), 4680, 255, 1575, 5, true);
  m_txtBase[1] = text(this, base(1), 1350, 690, 4905, 50);
  m_mskBase[0] = masked(0, 1350, 1125, 1575, "999-99-99999");
  m_mskBase[1] = masked(1, 4680, 1125, 1575, "9999.99.99");
  m_txtTel[0] = text(this, tel(0), 1350, 1560, 1575, 25);
  m_txtTel[1] = text(this, tel(1), 4680, 1560, 1575, 25);
  m_txtBase[2] = text(this, base(2), 1350, 1995, 1575, 50);
  m_txtTel[2] = text(this, tel(2), 4680, 1995, 1575, 25);
  m_txtBase[3] = text(this, base(3), 1350, 2430, 1575, 50);
  m_txtTel[3] = text(this, tel(3), 4680, 2430, 1575, 25);
  m_mskBase[2] = masked(2, 1350, 2865, 750, "999-99");
  m_txtBase[4] = text(this, base(4), 2160, 2865, 4095, 120);
  m_mskBase[3] = masked(3, 1350, 3300, 750, "999-99");
  m_txtBase[5] = text(this, base(5), 2160, 3300, 4095, 120);
  m_txtBase[6] = text(this, base(6), 1350, 3735, 4905, 50);

  QGroupBox* fraID = buildFrame(QStringLiteral("fraID"), QStringLiteral("[ 계 정 관 리 ]"),
                                twipsRect(180, 4260, 6075, 1560));
  struct Credential {
    const char* label;
    int left;
    int top;
    int index;
  };
  const Credential credentials[] = {
      {"＞은행인증서", 1395, 300, 7},    {"＞공단인증서", 4410, 300, 8},
      {"> 관리자인증서", 1395, 690, 9},  {"> 희망이음 ID", 1395, 1080, 10},
      {"> 희망이음 PW", 4410, 1080, 11},
  };
  for (const Credential& c : credentials) {
    addLabel(fraID, QString::fromUtf8(c.label), c.left - 1275, c.top, 1260);
    m_txtBase[size_t(c.index)] = text(fraID, base(c.index), c.left, c.top, 1455, 20);
  }

  QGroupBox* fraCon = buildFrame(QStringLiteral("fraCon"), QStringLiteral("[ 계 약 관 리 ]"),
                                 twipsRect(180, 6000, 6075, 795));
  addLabel(fraCon, QStringLiteral("＞계 약 구 분"), 120, 330, 1260);
  // The options only display the contract: their frame is disabled.
  auto* fraOpt = new QWidget(fraCon);
  fraOpt->setObjectName(QStringLiteral("fraOpt"));
  fraOpt->setGeometry(twipsRect(1395, 330, 1455, kFieldHeight));
  fraOpt->setEnabled(false);
  m_optIntegrated = new QRadioButton(QStringLiteral("통합"), fraOpt);
  m_optIntegrated->setObjectName(QStringLiteral("opt_ConDiv_1"));
  m_optIntegrated->setGeometry(twipsRect(0, 0, 720, kFieldHeight));
  m_optSimple = new QRadioButton(QStringLiteral("간편"), fraOpt);
  m_optSimple->setObjectName(QStringLiteral("opt_ConDiv_3"));
  m_optSimple->setGeometry(twipsRect(735, 0, 720, kFieldHeight));
  for (QRadioButton* option : {m_optIntegrated, m_optSimple})
    option->setAutoExclusive(false); // "none selected" must be showable
  addLabel(fraCon, QStringLiteral("＞계 약 일 자"), 3135, 330, 1260);
  m_mskBase[4] = makeMaskedField(fraCon, QStringLiteral("mskBase_4"),
                                 twipsRect(4410, 330, 1455, kFieldHeight),
                                 QStringLiteral("9999.99.99"));
  m_mskBase[4]->setReadOnly(true);

  m_cmdComEdit = new QPushButton(QStringLiteral("사업장 정보 수정하기"), this);
  m_cmdComEdit->setObjectName(QStringLiteral("cmdCom_Edit"));
  m_cmdComEdit->setGeometry(twipsRect(150, 6990, 4770, 510));
  m_cmdComEdit->setAutoDefault(false);
  m_cmdComEdit->hide();
  m_cmdClose = addCloseButton(5145, 6990, 1080, 510);
  connect(m_cmdComEdit, &QPushButton::clicked, this, [this] { cmdCom_Edit_Click(); });
}

QRadioButton* BusinessInfoScreen::opt_ConDiv(int index) const
{
  switch (index) {
  case CompanyFields::kConDivIntegrated: return m_optIntegrated;
  case CompanyFields::kConDivSimple: return m_optSimple;
  default: return nullptr;
  }
}

void BusinessInfoScreen::showFields()
{
  const CompanyFields& f = m_logic.fields;
  KoltRichFields::setText(m_txtCCode, f.txtCCode);
  for (size_t i = 0; i < m_txtBase.size(); ++i)
    KoltRichFields::setText(m_txtBase[i], f.txtBase[i]);
  for (size_t i = 0; i < m_txtTel.size(); ++i)
    KoltRichFields::setText(m_txtTel[i], f.txtTel[i]);
  for (size_t i = 0; i < m_mskBase.size(); ++i)
    m_mskBase[i]->setText(f.mskBase[i]);
  m_optIntegrated->setChecked(f.conDiv == CompanyFields::kConDivIntegrated);
  m_optSimple->setChecked(f.conDiv == CompanyFields::kConDivSimple);
  m_cmdComEdit->setVisible(f.cmdComEditVisible);
}

void BusinessInfoScreen::cmdCom_Edit_Click()
{
  try {
    BusinessInfoChangeScreen* change = BusinessInfoChangeScreen::create(this);
    if (!change)
      return;
    change->exec();
    delete change;
    // The view takes over again (and reloads), also where the window system leaves the
    // activation nowhere after a dialog closes.
    activateWindow();
  } catch (const RuntimeError& e) {
    g_Err_Msg(e, BusinessInfoView::kFormName);
  }
}

void BusinessInfoScreen::closeEvent(QCloseEvent* event)
{
  m_logic.Form_Unload();
  QDialog::closeEvent(event);
}

void registerBusinessScreens()
{
  MainWindow::setDialogFactory(BusinessInfoView::kFormName, [](MainWindow& main) -> QDialog* {
    return BusinessInfoScreen::create(&main);
  });
}

} // namespace vcm
