#include "common/db/ColumnLimits.h"

#include "common/MainConn.h"
#include "common/Session.h"
#include "common/db/Connection.h"
#include "common/db/EucKr.h"

namespace vcm {

namespace {

std::optional<ColumnLimits>& cache()
{
  static std::optional<ColumnLimits> limits;
  return limits;
}

QString keyOf(const QString& table, const QString& column)
{
  return table.toUpper() + QLatin1Char('.') + column.toUpper();
}

qint64 euckrBytes(const QString& text)
{
  // Text outside EUC-KR is refused before any statement on its own; count it as two.
  qint64 bytes = 0;
  for (const QChar c : text)
    bytes += c.unicode() < 0x80 ? 1 : (c.isLowSurrogate() ? 0 : 2);
  return bytes;
}

} // namespace

qint64 ColumnLimit::lengthOf(const QString& text) const
{
  if (inBytes)
    return euckrBytes(text);
  qint64 characters = 0;
  for (const QChar c : text)
    characters += c.isLowSurrogate() ? 0 : 1;
  return characters;
}

const ColumnLimits& ColumnLimits::of(Connection& connection)
{
  if (cache())
    return *cache();
  ColumnLimits limits;
  auto rs = connection.openRecordSet(QStringLiteral(
      "SELECT TABLE_NAME , COLUMN_NAME , DATA_TYPE , CHARACTER_MAXIMUM_LENGTH , CHARACTER_OCTET_LENGTH\n"
      " FROM information_schema.COLUMNS\n"
      " WHERE TABLE_SCHEMA = DATABASE()\n"
      "   AND CHARACTER_MAXIMUM_LENGTH IS NOT NULL"));
  for (; !rs->eof(); rs->moveNext()) {
    const QString type = rs->value(QStringLiteral("DATA_TYPE")).trimmed().toLower();
    ColumnLimit limit;
    limit.inBytes = type != QLatin1String("char") && type != QLatin1String("varchar");
    limit.size = rs->value(limit.inBytes ? QStringLiteral("CHARACTER_OCTET_LENGTH")
                                        : QStringLiteral("CHARACTER_MAXIMUM_LENGTH"))
                     .toLongLong();
    limits.insert(rs->value(QStringLiteral("TABLE_NAME")), rs->value(QStringLiteral("COLUMN_NAME")), limit);
  }
  cache() = std::move(limits);
  return *cache();
}

const ColumnLimits& ColumnLimits::session()
{
  if (cache())
    return *cache();
  if (Session.Connection && Session.Connection->isOpen())
    return of(*Session.Connection);
  MainConnScope conn;
  conn.open();
  return of(*Session.Connection);
}

void ColumnLimits::forget() { cache().reset(); }

std::optional<ColumnLimit> ColumnLimits::limit(const QString& table, const QString& column) const
{
  const auto it = m_limits.constFind(keyOf(table, column));
  if (it == m_limits.constEnd())
    return std::nullopt;
  return *it;
}

QString ColumnLimits::refusal(const QString& label, const QString& text, const QString& table,
                              const QString& column) const
{
  const auto l = limit(table, column);
  if (!l || l->fits(text))
    return {};
  return lengthRefusalText(label, *l, l->lengthOf(text));
}

void ColumnLimits::insert(const QString& table, const QString& column, ColumnLimit limit)
{
  m_limits.insert(keyOf(table, column), limit);
}

QString lengthRefusalText(const QString& label, const ColumnLimit& limit, qint64 length)
{
  const QString most = limit.inBytes
                           ? QStringLiteral("%1바이트(한글 %2자)").arg(limit.size).arg(limit.size / 2)
                           : QStringLiteral("%1자").arg(limit.size);
  const QString now = limit.inBytes ? QStringLiteral("%1바이트").arg(length)
                                    : QStringLiteral("%1자").arg(length);
  return QStringLiteral("[") + label + QStringLiteral("]은(는) 최대 ") + most +
         QStringLiteral("까지 저장할 수 있습니다. (지금 ") + now + QStringLiteral(")\r\n\r\n") +
         QStringLiteral("내용을 줄인 후 다시 시도해주세요.");
}

} // namespace vcm
