#pragma once

#include "common/TransportSecurity.h"
#include "common/db/Connection.h"

#include <QString>
#include <memory>

namespace vcm {

using DbConnection = Connection;

/// The process-wide session state. Created empty at process start; used from the
/// user-interface thread only. The secrets (database and FTP account, database name,
/// key texts, connection string) live only here: never written to disk, logged or shown.
struct SessionState {
  std::unique_ptr<DbConnection> Connection;
  QString ConnectionString;
  QString CurrentProcedure;
  QString SqlText;
  QString ServerAddress;
  QString DbUser;
  QString DbPassword;
  QString FtpUser;
  QString DbName;
  QString CryptKey;
  QString InfoCryptKey;
  qint32 UpdateFileSize = 0;
  QString ServerDate;
  bool HostRetryDone = false;
  QString CompanyCode;
  QString CompanyName;

  /// Ports of the services. The service always uses 3306, 21 and 80; a deployment file
  /// may name others (the private test and demo servers run on free loopback ports).
  int DbPort = 3306;
  int FtpPort = 21;
  int HttpPort = 80;
  int HttpsPort = 443;
  /// Host (and optional ":port") of the server-list service and of the manual pages.
  QString ServerListHost;
  QString ManualHost;
  /// Names of the service's main database and member database, sent to the server-list service.
  QString ServiceMainDb;
  QString ServiceDb;

  /// What each channel insists on (deployment data).
  TransportSecurity Tls;
  /// How the last database connection was protected (shown on the main window's status line).
  DbLinkProtection DbLink;

  /// Empties everything (tests start each case from a fresh session).
  void reset();
};

extern SessionState Session;

} // namespace vcm
