#pragma once

#include "common/TransportSecurity.h"
#include "transfer/ProgressIndicator.h"

#include <QByteArray>
#include <QList>
#include <QString>

typedef void CURL;
typedef void CURLM;

namespace vcm {

/// The one FTP session of the process: a libcurl handle that keeps the control
/// connection (passive mode, binary transfers) open between the transfers of one
/// session, so several files go over one login. The current remote directory is kept
/// here, and every remote path is sent absolute, so it does not depend on where the
/// server's own notion of the directory stands after a reconnect.
///
/// Transfers move 255-byte blocks and let interface events run between blocks
/// (Ui::pumpEvents) on the calling thread; no second thread is involved. While the
/// network is quiet the windows keep painting (performWaiting); a request in which
/// nothing moves for the stall limit (30 s) is given up and the routine returns false.
///
/// Expected failures (refused login, missing directory, a block not moved) return false.
/// Unexpected ones (a local file that cannot be read or written, a handle that cannot be
/// made) throw RuntimeError; the g_ routines turn them into their notices.
class FtpSession {
public:
  static constexpr int kBlockSize = 255;

  FtpSession();
  ~FtpSession();
  FtpSession(const FtpSession&) = delete;
  FtpSession& operator=(const FtpSession&) = delete;

  /// TLS for the following open(): explicit FTPS with a protected data channel, tried
  /// (Preferred) or insisted on (Required).
  void setTls(TlsMode mode, const TransportSecurity& trust);

  /// The last open() failed because TLS could not be had as required (no TLS offered,
  /// a certificate that did not verify, a pin that did not match).
  bool tlsRefused() const { return m_tlsRefused; }

  /// The control connection runs over TLS.
  bool isProtected() const { return m_protected; }

  /// Drops a held connection, then connects and logs in.
  bool open(const QString& server, quint16 port, const QString& user, const QString& password);

  /// Makes `path` current, creating it (one level only) when it is missing.
  bool setDirectory(const QString& path);

  /// Stores the local file under `remoteName` in the current directory. After each full
  /// block the indicator shows the percentage sent ("37%", 37); the tail leaves it.
  bool upload(const QString& localPath, const QString& remoteName, ProgressIndicator& progress);

  /// Reads exactly `expectedSize` bytes of `remoteName` into the local file. Returns
  /// false, and sets `remoteMissing`, when the remote file cannot be opened.
  bool download(const QString& localPath, const QString& remoteName, qint64 expectedSize,
                ProgressIndicator& progress, bool& remoteMissing);

  /// Ends the session; never fails. Called during a transfer, it takes effect when the
  /// transfer returns.
  void close() noexcept;

  bool isConnected() const { return m_curl != nullptr; }
  bool isTransferring() const { return m_busy; }
  QString currentDirectory() const { return m_directory; }

private:
  friend struct FtpRequest;

  static size_t onLoginReply(char* data, size_t size, size_t count, void* self);
  QString absolutePath(const QString& path) const;
  QByteArray urlFor(const QString& absolutePath, bool directory) const;
  bool changeDirectory(const QString& absolutePath);
  bool makeDirectory(const QString& absolutePath);

  CURL* m_curl = nullptr;
  CURLM* m_multi = nullptr;
  bool m_stalled = false;  // the last request was given up for silence
  /// The sockets curl holds open for this session: the control connection, and during a
  /// transfer its data connection.
  QList<qintptr> m_sockets;
  /// The running upload handed curl its last byte, so curl will wait for the server's
  /// final reply once the data connection closes.
  bool m_bodyEnded = false;
  QByteArray m_server;
  quint16 m_port = 0;
  QByteArray m_user;
  QByteArray m_password;
  QString m_directory;
  bool m_busy = false;
  bool m_closeRequested = false;
  TlsMode m_tlsMode = TlsMode::Off;
  TransportSecurity m_trust;
  bool m_tlsUsable = true;
  bool m_tlsRefused = false;
  bool m_protected = false;
};

/// The process-wide session behind the g_Ftp routines.
FtpSession& ftpSession();

} // namespace vcm
