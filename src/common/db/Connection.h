#pragma once

#include "common/TransportSecurity.h"
#include "common/db/RecordSet.h"

#include <QString>
#include <QStringList>
#include <memory>

struct st_mysql;

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

  /// Opens the connection described by an ODBC-style connection string.
  void open(const QString& connectionString);

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

  /// Runs a write statement (INSERT, UPDATE, DELETE); returns the number of rows it
  /// matched (an UPDATE counts rows that already held the new values too).
  qint64 execute(const QString& sql);

private:
  void requireOpen() const;
  QByteArray encodeStatement(const QString& sql) const;
  void runQuery(const QByteArray& bytes);
  [[noreturn]] void raiseServerError(const QString& server = QString());

  QString masked(const QString& text) const;
  st_mysql* connectOnce(const ConnectionSettings& s, bool askTls);

  st_mysql* m_mysql = nullptr;
  QStringList m_secrets; // account, database and server texts kept out of error texts
  QStringList m_hidden;  // key texts, from setHiddenTexts()
  DbTlsOptions m_tls;
};

/// Description the layer gives for a server error: server error 1130 always reads
/// "Host '<address>' is not allowed to connect to this MySQL server" (start-up
/// recognises a refused address by that text, whatever the server's wording).
QString describeServerError(unsigned int code, const QString& message, const QString& clientAddress);

} // namespace vcm
