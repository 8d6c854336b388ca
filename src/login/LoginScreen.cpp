#include "login/LoginScreen.h"

#include "common/ErrMsg.h"
#include "common/MainConn.h"
#include "common/Regist.h"
#include "common/RuntimeError.h"
#include "common/Session.h"
#include "common/TextHelpers.h"
#include "login/LoginArtwork.h"
#include "login/LoginQuery.h"
#include "login/PictureCheckBox.h"
#include "mainwindow/MainArtwork.h"
#include "mainwindow/MainWindow.h"
#include "mainwindow/PictureButton.h"
#include "mainwindow/Twips.h"
#include "platform/Ui.h"

#include <QEvent>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QProxyStyle>
#include <QPushButton>

namespace vcm {

namespace {

/// Shows typed password characters as '*', as members know it from the service's
/// other programs, whatever the platform style would use.
class AsteriskStyle : public QProxyStyle {
public:
  int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                QStyleHintReturn* returnData) const override
  {
    if (hint == SH_LineEdit_PasswordCharacter)
      return '*';
    return QProxyStyle::styleHint(hint, option, widget, returnData);
  }
};

bool isEnterKey(int key) { return key == Qt::Key_Return || key == Qt::Key_Enter; }

QString chkKey() { return SettingsKey + QStringLiteral("Chk"); }
QString configKey() { return SettingsKey + QStringLiteral("Config"); }

} // namespace

LoginScreen::LoginScreen(QWidget* parent) : QWidget(parent, Qt::Window | Qt::MSWindowsFixedSizeDialogHint)
{
  setObjectName(kFormName);
  setWindowTitle(QStringLiteral("베트라케어 로그인"));
  setFixedSize(twipsSize(5595, 5430));
  buildControls();
}

QPixmap LoginScreen::imgMain(int image) const
{
  return image >= 1 && image <= m_imgMain.size() ? m_imgMain.at(image - 1) : QPixmap();
}

void LoginScreen::buildControls()
{
  const QFont font = MainArtwork::labelFont(twipsToPixels(180), false);
  setFont(font);

  const QRect idRect = twipsRect(1320, 2250, 2115, 315);
  const QRect pwRect = twipsRect(1335, 2940, 2115, 360);
  const QRect labelArea(twipsToPixels(300), 0, twipsToPixels(900), 0);
  m_background = new QLabel(this);
  m_background->setObjectName(QStringLiteral("picBack"));
  m_background->setGeometry(rect());
  m_background->setPixmap(LoginArtwork::background(
      size(), QRect(labelArea.left(), idRect.top(), labelArea.width(), idRect.height()),
      QRect(labelArea.left(), pwRect.top(), labelArea.width(), pwRect.height())));

  m_txtID = new QLineEdit(this);
  m_txtID->setObjectName(QStringLiteral("txtID"));
  m_txtID->setGeometry(idRect);

  m_txtPW = new QLineEdit(this);
  m_txtPW->setObjectName(QStringLiteral("txtPW"));
  m_txtPW->setGeometry(pwRect);
  m_txtPW->setEchoMode(QLineEdit::Password);
  auto* asterisk = new AsteriskStyle;
  asterisk->setParent(m_txtPW);
  m_txtPW->setStyle(asterisk);

  const QSize checkSize = twipsSize(195, 195);
  m_imgMain = {LoginArtwork::checkPicture(checkSize, true),
               LoginArtwork::checkPicture(checkSize, false)};
  m_chkID = new PictureCheckBox(QStringLiteral("ID저장"), this);
  m_chkID->setObjectName(QStringLiteral("Chk_ID"));
  m_chkID->setGeometry(twipsRect(1200, 3465, 2175, 315));

  m_cmdLogin = new PictureButton(this);
  m_cmdLogin->setObjectName(QStringLiteral("cmdLogin"));
  m_cmdLogin->setGeometry(twipsRect(3705, 2040, 1065, 1320));
  m_cmdLogin->setPictures(LoginArtwork::loginButton(m_cmdLogin->size(), false),
                          LoginArtwork::loginButton(m_cmdLogin->size(), true));
  m_cmdLogin->setFocusPolicy(Qt::StrongFocus);
  m_cmdLogin->setToolTip(QStringLiteral("로그인"));

  m_cmdClose = new QPushButton(QStringLiteral("CLOSE"), this);
  m_cmdClose->setObjectName(QStringLiteral("cmdClose"));
  m_cmdClose->setGeometry(twipsRect(3705, 3405, 1035, 450));
  m_cmdClose->setAutoDefault(false);

  m_fraCaps = new QFrame(this);
  m_fraCaps->setObjectName(QStringLiteral("fraCaps"));
  m_fraCaps->setGeometry(twipsRect(2115, 3360, 2700, 570));
  m_fraCaps->setAutoFillBackground(true);
  QPalette capsPalette = m_fraCaps->palette();
  capsPalette.setColor(QPalette::Window, QColor(0x07, 0x8F, 0xC9));
  capsPalette.setColor(QPalette::WindowText, Qt::white);
  m_fraCaps->setPalette(capsPalette);
  m_label1 = new QLabel(kCapsLockText, m_fraCaps);
  m_label1->setObjectName(QStringLiteral("Label1"));
  m_label1->setAlignment(Qt::AlignCenter);
  m_label1->setGeometry(m_fraCaps->rect());
  m_label1->setFont(MainArtwork::labelFont(twipsToPixels(180)));
  m_fraCaps->hide();

  setTabOrder(m_txtID, m_txtPW);
  setTabOrder(m_txtPW, m_chkID);
  setTabOrder(m_chkID, m_cmdLogin);
  setTabOrder(m_cmdLogin, m_cmdClose);

  m_txtID->installEventFilter(this);
  m_txtPW->installEventFilter(this);
  connect(m_cmdLogin, &QAbstractButton::clicked, this, [this] { cmdLogin_Click(); });
  connect(m_cmdClose, &QAbstractButton::clicked, this, [this] { cmdClose_Click(); });
}

void LoginScreen::showEvent(QShowEvent* event)
{
  QWidget::showEvent(event);
  if (!m_activated) {
    m_activated = true;
    Form_Activate();
  }
}

bool LoginScreen::eventFilter(QObject* watched, QEvent* event)
{
  if (event->type() == QEvent::KeyPress) {
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (watched == m_txtID && isEnterKey(key)) {
      txtID_KeyDown(key);
      return true;
    }
    if (watched == m_txtPW) {
      txtPW_KeyDown(key);
      return isEnterKey(key);
    }
  } else if (event->type() == QEvent::KeyRelease && watched == m_txtPW) {
    // On X11 switching Caps Lock off takes effect only when its key comes up.
    refreshCapsNotice();
  } else if (event->type() == QEvent::FocusIn && watched == m_txtPW) {
    txtPW_GotFocus();
  }
  return QWidget::eventFilter(watched, event);
}

void LoginScreen::Form_Activate()
{
  ui().setCursor(Cursor::Normal);
  m_chkID->setValue(static_cast<int>(settingNumber(
      Reg_GetString(HKEY_CURRENT_USER_ROOT, chkKey(), QStringLiteral("Chk_Login")))));
  if (m_chkID->value() == 1) {
    m_txtID->setText(Reg_GetString(HKEY_CURRENT_USER_ROOT, configKey(), QStringLiteral("Login_ID")));
    m_txtPW->setFocus();
  } else {
    m_txtID->setFocus();
  }
  m_chkID->setStatePictures(imgMain(1), imgMain(2));
}

void LoginScreen::refreshCapsNotice() { m_fraCaps->setVisible(ui().capsLockOn()); }

void LoginScreen::txtPW_GotFocus() { refreshCapsNotice(); }

void LoginScreen::txtID_KeyDown(int key)
{
  if (!isEnterKey(key))
    return;
  if (LoginQuery::bothFilled(m_txtID->text(), m_txtPW->text()))
    cmdLogin_Click();
  else
    m_txtPW->setFocus();
}

void LoginScreen::txtPW_KeyDown(int key)
{
  if (isEnterKey(key)) {
    if (LoginQuery::bothFilled(m_txtID->text(), m_txtPW->text()))
      cmdLogin_Click();
    return;
  }
  refreshCapsNotice();
}

void LoginScreen::cmdLogin_Click()
{
  Session.CurrentProcedure = QStringLiteral("cmdLogin_Click");
  std::unique_ptr<RecordSet> rs;
  try {
    const QString sql = LoginQuery::build(Session.CryptKey, m_txtID->text());
    g_Open_MainConn();
    rs = openRecordSet(sql);
    switch (LoginQuery::judge(*rs, m_txtPW->text())) {
    case LoginVerdict::UnknownId:
      notice(LoginQuery::kUnknownIdText, Icon::Exclamation);
      m_txtID->setFocus();
      g_Rs_Nothing(rs);
      return;
    case LoginVerdict::WrongPassword:
      notice(LoginQuery::kWrongPasswordText, Icon::Exclamation);
      m_txtPW->setFocus();
      g_Rs_Nothing(rs);
      return;
    case LoginVerdict::Maintenance:
      notice(LoginQuery::kMaintenanceText, Icon::Information);
      g_Rs_Nothing(rs);
      g_Nothing_MainConn();
      unload();
      return;
    case LoginVerdict::Accepted:
      break;
    }

    Session.CompanyCode = rs->value(QStringLiteral("COM_CD")).trimmed();
    Session.CompanyName = rs->value(QStringLiteral("COM_NM")).trimmed();
    QString remember = m_chkID->value() == 1 ? QStringLiteral("1") : QStringLiteral("0");
    Reg_SaveString(HKEY_CURRENT_USER_ROOT, chkKey(), QStringLiteral("Chk_Login"), remember);
    QString id = m_txtID->text().trimmed();
    Reg_SaveString(HKEY_CURRENT_USER_ROOT, configKey(), QStringLiteral("Login_ID"), id);
    g_Nothing_MainConn();
    MainWindow::showMain();
    g_Rs_Nothing(rs);
    g_Nothing_MainConn();
    unload();
  } catch (const RuntimeError& e) {
    g_Err_Msg(e, kFormName);
    g_Rs_Nothing(rs);
    g_Nothing_MainConn();
    unload();
  }
}

void LoginScreen::cmdClose_Click() { ui().endProcess(0); }

void LoginScreen::unload() { close(); }

} // namespace vcm
