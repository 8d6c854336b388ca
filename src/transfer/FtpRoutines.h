#pragma once

#include "transfer/FtpSession.h"
#include "transfer/ProgressIndicator.h"

#include <QString>

namespace vcm {

// The FTP routines of the program over the one FtpSession. Call order: g_FtpOpen,
// g_FTPSetDir, one or more g_FTPUpload or one g_FtpDownload, g_FtpClose.
// An unexpected failure inside a routine shows "오류발생(<routine>)" and returns false;
// expected failures return false without a message.

/// Connects and logs in; `port` is the port number as text ("21").
bool g_FtpOpen(const QString& server, const QString& port, const QString& user,
               const QString& password);

/// Makes `path` the current remote directory, creating its last level when missing.
bool g_FTPSetDir(const QString& path);

/// Uploads one local file under `remoteName` into the current directory. The fourth
/// argument is accepted and not used (callers pass "완료").
bool g_FTPUpload(const QString& localPath, const QString& remoteName, ProgressIndicator& progress,
                 const QString& unused = {});

/// Downloads `expectedSize` bytes of `remoteName` into `localPath`; ends with the
/// indicator at 100 and "다운로드 완료". A remote file that cannot be opened shows
/// "파일이 존재하지 않습니다. 연락주시기 바랍니다.".
bool g_FtpDownload(const QString& localPath, const QString& remoteName, qint32 expectedSize,
                   ProgressIndicator& progress);

/// Ends the session silently; safe when nothing is open and when called twice.
void g_FtpClose();

} // namespace vcm
