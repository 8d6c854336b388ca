#pragma once

#include "common/TransportSecurity.h"
#include "common/db/RecordSet.h"

#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>

struct st_mysql;
struct st_mysql_res;

namespace vcm {

struct ConnectionSettings;

/// How an open connection is protected; empty texts when it runs in clear text.
struct DbLinkProtection {
  bool encrypted = false;
  QString tlsVersion; ///< "TLSv1.3"
  QString cipher;     ///< "TLS_AES_256_GCM_SHA384"
};

/// The status-line text of a link: "보안 연결 TLSv1.3 (cipher)" or the clear-text warning.
QString linkStatusText(const DbLinkProtection& link);

/// TLS settings of the database channel.
struct DbTlsOptions {
  TlsMode mode = TlsMode::Off;
  QString caFile;
  QByteArray pinnedSha256;
};

/// Description text of a connection refused because TLS could not be had as required.
extern const QString kTlsRequiredFailure;

/// One connection to the service's MySQL server. Speaks EUC-KR on the wire and QString
/// above. Every failure is a RuntimeError whose description starts with
/// "[MySQL][ODBC 3.51 Driver]", as the old client's notices showed.
class Connection {
public:
  Connection();
  ~Connection();
  Connection(const Connection&) = delete;
  Connection& operator=(const Connection&) = delete;

  /// Longest wait for a connection to open, login included.
  static constexpr int kConnectLimitMs = 15'000;

  /// Opens the connection described by an ODBC-style connection string, giving up at
  /// `deadline`. Every network wait keeps the windows painting (NetworkWait); a server
  /// silent for the stall limit ends the call with an error.
  void open(const QString& connectionString,
            QDeadlineTimer deadline = QDeadlineTimer(kConnectLimitMs));

  /// Closes the connection. Throws (3704) when it is not open.
  void close();

  bool isOpen() const { return m_mysql != nullptr; }

  /// TLS for the next open(). Kept across open().
  void setTls(const DbTlsOptions& options) { m_tls = options; }

  /// How the open connection is protected (the cipher the server and client agreed on).
  DbLinkProtection protection() const;

  /// Further texts kept out of every error text besides the account, database and server
  /// of the connection string: the key texts that statements carry for AES columns
  /// (the server quotes the statement near a syntax error). Kept across open().
  void setHiddenTexts(const QStringList& texts);

  /// Runs a query and returns all of its rows as a static, read-only record set.
  std::unique_ptr<RecordSet> openRecordSet(const QString& sql);

  /// A query in two halves, so the caller can work while the server computes: send()
  /// hands the statement over, receiveRecordSet() waits for its rows. Nothing else may
  /// run on the connection in between.
  void sendQuery(const QString& sql);
  std::unique_ptr<RecordSet> receiveRecordSet();

  /// Runs a write statement (INSERT, UPDATE, DELETE); returns the number of rows it
  /// matched (an UPDATE counts rows that already held the new values too).
  qint64 execute(const QString& sql);

  /// What one statement of a batch gave: its rows (an empty set for a write) and the
  /// count of rows it changed.
  struct StatementResult {
    std::unique_ptr<RecordSet> rows;
    qint64 affected = 0;
  };

  /// Runs `statements` in order, each text as given, sending as many of them in one
  /// exchange as the server's packet limit allows, and calls `each(index, result)` for
  /// every statement as its result arrives (the windows keep painting in between). The
  /// server runs a batch only up to its first failing statement: that failure is thrown
  /// once the results before it were handed over, and nothing after it was run. Every
  /// statement is encoded before the first is sent, so a text that cannot go to the
  /// server stops the batch with nothing run.
  void executeBatch(const QStringList& statements,
                    const std::function<void(int index, StatementResult& result)>& each);

private:
  void requireOpen() const;
  QByteArray encodeStatement(const QString& sql) const;
  void runQuery(const QByteArray& bytes);
  /// runQuery's two halves: the statement goes out, then its first answer comes back.
  void sendBytes(const QByteArray& bytes);
  void readQueryResult();
  st_mysql_res* storeResult();
  std::unique_ptr<RecordSet> toRecordSet(st_mysql_res* result);
  bool nextResult();
  qint64 packetLimit() const;
  [[noreturn]] void raiseServerError(const QString& server = QString());
  [[noreturn]] void raiseLost();

  QString masked(const QString& text) const;
  st_mysql* connectOnce(const ConnectionSettings& s, bool askTls, const QDeadlineTimer& deadline);
  /// Throws the failure of a blocking call (see m_blocking).
  [[noreturn]] void raiseBlockingFailure(const QElapsedTimer& took);

  st_mysql* m_mysql = nullptr;
  QStringList m_secrets; // account, database and server texts kept out of error texts
  QStringList m_hidden;  // key texts, from setHiddenTexts()
  qint64 m_serverPacketLimit = 0; // the server's max_allowed_packet, 0 until read
  DbTlsOptions m_tls;
  /// The calls on this connection block (Windows, TLS up: the connector's Schannel build
  /// runs TLS through blocking calls only); their limits are the library's timeouts.
  bool m_blocking = false;
};

/// Description the layer gives for a server error: server error 1130 always reads
/// "Host '<address>' is not allowed to connect to this MySQL server" (start-up
/// recognises a refused address by that text, whatever the server's wording).
QString describeServerError(unsigned int code, const QString& message, const QString& clientAddress);

} // namespace vcm
