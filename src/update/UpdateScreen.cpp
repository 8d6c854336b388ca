#include "update/UpdateScreen.h"

#include "common/CurlTls.h"

#include "common/ErrMsg.h"
#include "common/Session.h"
#include "platform/Paths.h"
#include "platform/Ui.h"
#include "transfer/FtpRoutines.h"

#include <QCloseEvent>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QProgressBar>
#include <QVBoxLayout>

namespace vcm {

const QString UpdateScreen::DownloadFailedText =
    QStringLiteral("파일 다운로드시 오류가 발생하였습니다. 잠시 후 다시 시도하세요.");
const QString UpdateScreen::StartFailedText =
    QStringLiteral("내려받은 설치 파일을 실행할 수 없습니다.\n\n"
                   "프로그램 폴더의 Vetra_Care_Setup_Up_Member.exe를 직접 실행하세요.");

UpdateScreen::UpdateScreen(QWidget* parent)
    : QDialog(parent), m_label1(new QLabel(this)), m_label2(new QLabel(this)),
      m_xBar(new QProgressBar(this)), m_bar(m_xBar)
{
  setObjectName(QStringLiteral("업데이트다운로드"));
  setWindowTitle(QStringLiteral("업데이트 다운로드"));
  setModal(true);
  setWindowFlag(Qt::WindowContextHelpButtonHint, false);

  m_label1->setObjectName(QStringLiteral("Label1"));
  m_label1->setText(QStringLiteral("[베트라Care] 시스템 업데이트중입니다. "));
  m_label2->setObjectName(QStringLiteral("Label2"));
  m_label2->setText(QStringLiteral("업데이트가 완료되면 프로그램이 자동실행됩니다."));
  m_xBar->setObjectName(QStringLiteral("xBar"));
  m_xBar->setRange(0, 100);
  m_xBar->setValue(0);
  m_xBar->setAlignment(Qt::AlignCenter);
  m_xBar->setFormat(QString());  // no text until the FTP routine writes its own
  m_xBar->setMinimumWidth(360);

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(20, 18, 20, 18);
  layout->setSpacing(8);
  layout->addWidget(m_label1);
  layout->addWidget(m_label2);
  layout->addSpacing(6);
  layout->addWidget(m_xBar);
  setFixedSize(sizeHint());

  m_dn.events().RecievedBytes = [this](qint32& bytes) { Ctl_DN_RecievedBytes(bytes); };
  m_dn.events().DLComplete = [this] { m_downloadComplete = true; };
}

QString UpdateScreen::downloadAddress()
{
  return httpAddresses(Session.ServerAddress, Session.HttpPort, Session.HttpsPort,
                       QLatin1Char('/') + QLatin1String(InstallerName), TlsMode::Off)
      .first()
      .url;
}

void UpdateScreen::findInstallerOverHttp()
{
  // HTTPS and/or HTTP as http_tls says. Without an answer the FTP path follows, as for a
  // plain web server that has no file.
  m_dn.GetFileInformationFirst(httpAddresses(Session.ServerAddress, Session.HttpPort, Session.HttpsPort,
                                             QLatin1Char('/') + QLatin1String(InstallerName),
                                             Session.Tls.http),
                               Session.Tls.http, Session.Tls);
}

QString UpdateScreen::localFile() { return paths::inProgramDir(QLatin1String(InstallerName)); }

bool UpdateScreen::event(QEvent* event)
{
  const bool handled = QDialog::event(event);
  if (event->type() == QEvent::WindowActivate)
    Form_Activate();
  return handled;
}

void UpdateScreen::closeEvent(QCloseEvent* event)
{
  event->accept();
  Form_Unload();
}

void UpdateScreen::reject() { close(); }

void UpdateScreen::Form_Unload() { ui().endProcess(0); }

void UpdateScreen::Ctl_DN_RecievedBytes(qint32 bytes)
{
  if (m_expectedTotal > 0)
    m_bar.setValue(int(bytes / m_expectedTotal * 100));
  ui().pumpEvents();
}

void UpdateScreen::Form_Activate()
{
  if (m_activated)
    return;
  m_activated = true;
  Session.CurrentProcedure = QStringLiteral("Form_Load");
  try {
    findInstallerOverHttp();
    if (m_dn.FileSize() > 0)
      downloadOverHttp();
    else
      downloadOverFtp();
  } catch (const RuntimeError& error) {
    g_Err_Msg(error, objectName());
    g_FtpClose();
  }
}

void UpdateScreen::downloadOverHttp()
{
  m_expectedTotal = m_dn.FileSize();
  m_dn.SetSaveLocation(localFile());
  m_dn.DownLoad();
  ui().pumpEvents();
  // Whole as the web server announced it, and the size published with the version: a
  // server (or anyone between) that announces and sends another file is not believed.
  if (m_downloadComplete && arrivedWhole(m_dn.FileSize()) && arrivedWhole(Session.UpdateFileSize))
    startInstaller();
  else
    downloadFailed();
}

void UpdateScreen::downloadOverFtp()
{
  if (!g_FtpOpen(Session.ServerAddress, QString::number(Session.FtpPort), Session.FtpUser,
                 Session.DbPassword)) {
    downloadFailed();
    return;
  }
  ui().pumpEvents();
  g_FTPSetDir(QLatin1String(FtpFolder));
  ui().pumpEvents();
  if (!g_FtpDownload(localFile(), QLatin1String(InstallerName), Session.UpdateFileSize, m_bar) ||
      !arrivedWhole(Session.UpdateFileSize)) {
    downloadFailed();
    return;
  }
  ui().pumpEvents();
  startInstaller();
}

bool UpdateScreen::arrivedWhole(qint64 expected) const
{
  return expected > 0 && QFileInfo(localFile()).size() == expected;
}

void UpdateScreen::downloadFailed()
{
  // A partial installer must neither be started nor be left for someone to start.
  QFile::remove(localFile());
  notice(DownloadFailedText, Icon::Exclamation);
  ui().endProcess(0);
}

void UpdateScreen::startInstaller()
{
  if (!ui().startProgram(localFile()))
    notice(StartFailedText, Icon::Exclamation);
  ui().endProcess(0);
}

} // namespace vcm
