#include "common/db/ConnectionString.h"

#include "common/RuntimeError.h"

#include <QList>
#include <QStringList>


namespace vcm {

namespace {

[[noreturn]] void malformed(const QString& why)
{
  throw RuntimeError(errors::kProvider,
                     QStringLiteral("[MySQL][ODBC 3.51 Driver]잘못된 연결 문자열입니다: ") + why);
}

} // namespace

ConnectionSettings parseConnectionString(const QString& text)
{
  ConnectionSettings s;
  enum Key { Driver, Database, Server, User, Password, Charset, Port, Other };
  bool seen[Other] = {};
  QStringList otherKeys;
  for (QStringView entry : QStringView(text).split(u';', Qt::SkipEmptyParts)) {
    entry = entry.trimmed();
    if (entry.isEmpty())
      continue;
    const qsizetype eq = entry.indexOf(u'=');
    if (eq <= 0)
      malformed(QStringLiteral("'=' 없는 항목"));
    const QStringView key = entry.left(eq).trimmed();
    const QStringView value = entry.mid(eq + 1).trimmed();
    if (key.isEmpty())
      malformed(QStringLiteral("빈 키"));
    const auto is = [&](const char* name) { return key.compare(QLatin1String(name), Qt::CaseInsensitive) == 0; };
    Key k = Other;
    if (is("driver"))
      k = Driver;
    else if (is("database") || is("db"))
      k = Database;
    else if (is("server"))
      k = Server;
    else if (is("uid") || is("user"))
      k = User;
    else if (is("pwd") || is("password"))
      k = Password;
    else if (is("charset"))
      k = Charset;
    else if (is("port"))
      k = Port;
    if (k == Other) {
      // Other keys (option, ...) are driver switches without meaning here.
      const QString lower = key.toString().toLower();
      if (otherKeys.contains(lower))
        malformed(QStringLiteral("중복된 키 ") + lower);
      otherKeys << lower;
      continue;
    }
    if (seen[k])
      malformed(QStringLiteral("중복된 키 ") + key.toString().toLower());
    seen[k] = true;
    switch (k) {
    case Driver: s.driver = value.toString(); break;
    case Database: s.database = value.toString(); break;
    case Server: s.server = value.toString(); break;
    case User: s.user = value.toString(); break;
    case Password: s.password = value.toString(); break;
    case Charset: s.charset = value.toString(); break;
    case Port: {
      bool ok = false;
      const int port = value.toInt(&ok);
      if (!ok || port <= 0 || port > 65535)
        malformed(QStringLiteral("포트"));
      s.port = port;
      break;
    }
    case Other: break;
    }
  }
  if (s.server.isEmpty())
    malformed(QStringLiteral("서버 주소 없음"));
  return s;
}

} // namespace vcm
