#pragma once

#include <QString>

namespace vcm {

/// The parts of an ODBC-style connection string the database layer uses. Keys are
/// case-insensitive and may come in any order.
struct ConnectionSettings {
  QString driver;
  QString database;
  QString server;
  QString user;
  QString password;
  QString charset;
  int port = 3306;
};

/// Parses "key=value;key=value;...". Throws RuntimeError for a malformed string
/// (an entry without '=', an empty or duplicated key, a port that is not a number,
/// no server).
ConnectionSettings parseConnectionString(const QString& text);

} // namespace vcm
