#include "common/db/ConnectionString.h"

#include "common/RuntimeError.h"

#include <QSet>

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
  QSet<QString> seen;
  const QStringList entries = text.split(QLatin1Char(';'), Qt::SkipEmptyParts);
  for (const QString& raw : entries) {
    const QString entry = raw.trimmed();
    if (entry.isEmpty())
      continue;
    const qsizetype eq = entry.indexOf(QLatin1Char('='));
    if (eq <= 0)
      malformed(QStringLiteral("'=' 없는 항목"));
    const QString key = entry.left(eq).trimmed().toLower();
    const QString value = entry.mid(eq + 1).trimmed();
    if (key.isEmpty())
      malformed(QStringLiteral("빈 키"));
    if (seen.contains(key))
      malformed(QStringLiteral("중복된 키 ") + key);
    seen.insert(key);
    if (key == QLatin1String("driver"))
      s.driver = value;
    else if (key == QLatin1String("database") || key == QLatin1String("db"))
      s.database = value;
    else if (key == QLatin1String("server"))
      s.server = value;
    else if (key == QLatin1String("uid") || key == QLatin1String("user"))
      s.user = value;
    else if (key == QLatin1String("pwd") || key == QLatin1String("password"))
      s.password = value;
    else if (key == QLatin1String("charset"))
      s.charset = value;
    else if (key == QLatin1String("port")) {
      bool ok = false;
      const int port = value.toInt(&ok);
      if (!ok || port <= 0 || port > 65535)
        malformed(QStringLiteral("포트"));
      s.port = port;
    }
    // Other keys (option, ...) are driver switches without meaning here.
  }
  if (s.server.isEmpty())
    malformed(QStringLiteral("서버 주소 없음"));
  return s;
}

} // namespace vcm
