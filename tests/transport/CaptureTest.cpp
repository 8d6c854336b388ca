// What crosses loopback while the client works with every channel required to use TLS:
// no secret may appear in clear. The same run with TLS off proves the capture sees them.
#include "TlsBackend.h"

#include "common/MainConn.h"
#include "common/RuntimeError.h"
#include "common/Session.h"
#include "login/LoginQuery.h"
#include "platform/ScriptedUi.h"
#include "transfer/FtpRoutines.h"
#include "update/Ctl_DN.h"
#include "../transfer/RecordingIndicator.h"

#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>

using namespace vcm;
using namespace vcm::test;

namespace {

/// tshark on the loopback interface, limited to the TLS backend's ports, into a file.
class Capture {
public:
  Capture(const QString& file, const QString& filter)
  {
    m_tshark.setProcessChannelMode(QProcess::MergedChannels);
    m_tshark.start(QStringLiteral("tshark"), {QStringLiteral("-i"), QStringLiteral("lo"),
                                             QStringLiteral("-f"), filter, QStringLiteral("-w"), file});
    // tshark names the interface when it opens it and says "Capture started" once packets
    // are really taken; without the first, capture is not permitted here.
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < 10000 && m_tshark.state() != QProcess::NotRunning &&
           !m_output.contains("Capture started")) {
      m_tshark.waitForReadyRead(100);
      m_output += m_tshark.readAll();
    }
    m_ready = m_output.contains("Capturing on");
    if (m_ready && !m_output.contains("Capture started"))
      QThread::msleep(1000);  // a tshark that does not say it
  }
  ~Capture() { stop(); }

  bool ready() const { return m_ready; }
  QByteArray output() const { return m_output; }

  void stop()
  {
    if (m_tshark.state() == QProcess::NotRunning)
      return;
    QThread::msleep(300);  // let the last packets reach the file
    m_tshark.terminate();
    m_tshark.waitForFinished(5000);
  }

private:
  QProcess m_tshark;
  QByteArray m_output;
  bool m_ready = false;
};

class CaptureTest : public TlsBackendTest {
protected:
  void SetUp() override
  {
    TlsBackendTest::SetUp();
    // The protected run needs a verified certificate on every channel.
    Session.Tls = trustFor(*be, Trust::Ca);
    Session.Tls.db = TlsMode::Required;
    Session.ConnectionString = be->connectionString();
    try {
      g_Open_MainConn();
      g_Nothing_MainConn();
    } catch (const RuntimeError& e) {
      if (const std::string limit = connectorCaStoreLimit(e.description); !limit.empty())
        GTEST_SKIP() << "the run under required cannot be made here: " << limit;
    }
    if (QStandardPaths::findExecutable(QStringLiteral("tshark")).isEmpty())
      GTEST_SKIP() << "tshark is not installed";
  }

  QString filter() const
  {
    const int passive = be->number(QStringLiteral("FTPS_PASSIVE_PORT"));
    return QStringLiteral("tcp port %1 or tcp port %2 or tcp port %3 or tcp port %4 or tcp portrange %5-%6")
        .arg(be->dbPort())
        .arg(be->httpPort())
        .arg(be->number(QStringLiteral("FTPS_PORT")))
        .arg(be->number(QStringLiteral("HTTPS_PORT")))
        .arg(passive)
        .arg(passive + 99);
  }

  /// Logs in with the login statement, uploads a file and downloads the installer, all
  /// with `mode` on every channel; returns the captured bytes.
  QByteArray workAndCapture(TlsMode mode, const QByteArray& uploadContent)
  {
    const QString file = dir.filePath(QStringLiteral("capture-%1.pcap").arg(modeName(mode)));
    Capture capture(file, filter());
    if (!capture.ready())
      return {};
    Session.Tls = trustFor(*be, Trust::Ca);
    Session.Tls.db = Session.Tls.ftp = mode;
    Session.Tls.http = mode == TlsMode::Off ? TlsMode::Off : TlsMode::Required;
    Session.ConnectionString = be->connectionString();
    Session.CryptKey = be->cryptKey();

    g_Open_MainConn();
    auto rs = openRecordSet(LoginQuery::build(Session.CryptKey, be->value(QStringLiteral("MEMBER_ID"))));
    EXPECT_EQ(rs->value(QStringLiteral("MEMBER_PW")), be->value(QStringLiteral("MEMBER_PW")));
    g_Rs_Nothing(rs);
    g_Nothing_MainConn();

    const QString local = dir.filePath(QStringLiteral("upload.txt"));
    QFile up(local);
    EXPECT_TRUE(up.open(QIODevice::WriteOnly));
    up.write(uploadContent);
    up.close();
    // The FTPS server also serves clients that do not ask for TLS.
    const int ftpPort = be->number(QStringLiteral("FTPS_PORT"));
    EXPECT_TRUE(g_FtpOpen(QStringLiteral("127.0.0.1"), QString::number(ftpPort), be->ftpUser(), be->ftpPassword()));
    EXPECT_TRUE(g_FTPSetDir(be->value(QStringLiteral("FTP_UPLOAD_DIR"))));
    RecordingIndicator progress;
    EXPECT_TRUE(g_FTPUpload(local, QStringLiteral("captured.txt"), progress, QStringLiteral("완료")));
    g_FtpClose();

    Ctl_DN dn;
    dn.GetFileInformationFirst(httpAddresses(QStringLiteral("127.0.0.1"), be->httpPort(),
                                             be->number(QStringLiteral("HTTPS_PORT")),
                                             be->value(QStringLiteral("INSTALLER_URL_PATH")),
                                             Session.Tls.http),
                               Session.Tls.http, Session.Tls);
    dn.SetSaveLocation(dir.filePath(QStringLiteral("installer.exe")));
    dn.DownLoad();
    EXPECT_EQ(QFileInfo(dir.filePath(QStringLiteral("installer.exe"))).size(),
              be->number(QStringLiteral("INSTALLER_SIZE")));

    capture.stop();
    QFile pcap(file);
    EXPECT_TRUE(pcap.open(QIODevice::ReadOnly));
    return pcap.readAll();
  }

  /// The secrets named in a loopback capture, with what each is.
  QList<QPair<const char*, QByteArray>> secrets(const QByteArray& uploadContent) const
  {
    QFile installer(be->value(QStringLiteral("INSTALLER_FILE")));
    installer.open(QIODevice::ReadOnly);
    installer.seek(100000);
    return {{"database user", be->dbUser().toUtf8()},
            {"database name", be->dbName().toUtf8()},
            {"AES key in the statement", be->cryptKey().toUtf8()},
            {"decrypted member password", be->value(QStringLiteral("MEMBER_PW")).toUtf8()},
            {"FTP PASS (the database password)", "PASS " + be->ftpPassword().toUtf8()},
            {"uploaded file", uploadContent},
            {"installer bytes", installer.read(64)}};
  }

  QTemporaryDir dir;
};

} // namespace

TEST_F(CaptureTest, NoSecretCrossesLoopbackInClearUnderRequired)
{
  const QByteArray upload = "supporting document 7f3a9c: 요양기관 증빙";
  const QByteArray clear = workAndCapture(TlsMode::Off, upload);
  if (clear.isEmpty())
    GTEST_SKIP() << "capture on loopback is not permitted here";
  // The capture sees what goes in clear (the control run).
  for (const auto& [what, secret] : secrets(upload))
    EXPECT_TRUE(clear.contains(secret)) << "control run: " << what;

  const QByteArray protectedRun = workAndCapture(TlsMode::Required, upload);
  ASSERT_FALSE(protectedRun.isEmpty());
  for (const auto& [what, secret] : secrets(upload))
    EXPECT_FALSE(protectedRun.contains(secret)) << what << " crossed loopback in clear";
}
