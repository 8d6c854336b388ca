#include "transfer/FtpRoutines.h"

#include "common/CurlTls.h"
#include "common/RuntimeError.h"
#include "common/Session.h"
#include "platform/Ui.h"

#include <exception>

namespace vcm {

namespace {

/// Runs one routine's body; an unexpected failure shows the routine's notice.
template <typename Body>
bool guarded(const char* routine, Body body)
{
  try {
    return body();
  } catch (const std::exception&) {
    notice(QStringLiteral("오류발생(%1)").arg(QLatin1String(routine)), Icon::Exclamation);
    return false;
  }
}

} // namespace

bool g_FtpOpen(const QString& server, const QString& port, const QString& user,
               const QString& password)
{
  return guarded("g_FtpOpen", [&] {
    bool ok = false;
    const uint number = port.trimmed().toUInt(&ok);
    if (!ok || number == 0 || number > 65535)
      throw RuntimeError(13, QStringLiteral("형식이 일치하지 않습니다."));
    FtpSession& session = ftpSession();
    session.setTls(Session.Tls.ftp, Session.Tls);
    if (session.open(server, static_cast<quint16>(number), user, password))
      return true;
    // The callers say that the transfer failed; this says why, when TLS was the reason.
    if (session.tlsRefused())
      notice(tlsRequiredNotice(), Icon::Exclamation);
    return false;
  });
}

bool g_FTPSetDir(const QString& path)
{
  return guarded("g_FTPSetDir", [&] { return ftpSession().setDirectory(path); });
}

bool g_FTPUpload(const QString& localPath, const QString& remoteName, ProgressIndicator& progress,
                 const QString&)
{
  return guarded("g_FTPUpload",
                 [&] { return ftpSession().upload(localPath, remoteName, progress); });
}

bool g_FtpDownload(const QString& localPath, const QString& remoteName, qint32 expectedSize,
                   ProgressIndicator& progress)
{
  return guarded("g_FtpDownload", [&] {
    ui().pumpEvents();
    ui().pumpEvents();
    bool remoteMissing = false;
    if (ftpSession().download(localPath, remoteName, expectedSize, progress, remoteMissing))
      return true;
    if (remoteMissing)
      notice(QStringLiteral("파일이 존재하지 않습니다. 연락주시기 바랍니다."), Icon::Exclamation);
    return false;
  });
}

void g_FtpClose()
{
  ftpSession().close();
}

} // namespace vcm
