#include "login/LoginQuery.h"

#include "common/TextHelpers.h"
#include "common/db/RecordSet.h"

#include <QStringList>

namespace vcm {

QString LoginQuery::build(const QString& cryptKey, const QString& typedId)
{
  const QString key = QLatin1Char('\'') + cryptKey + QLatin1Char('\'');
  const QString id = QLatin1Char('\'') + g_SqlStr(typedId.trimmed()) + QLatin1Char('\'');
  return QStringList{
      QStringLiteral("SELECT COM_CD , COM_NM , CON_DIV"),
      QStringLiteral(" , MEMBER_APP_USE , MEMBER_WRITE_COM"),
      QStringLiteral(" , CAST(AES_DECRYPT(UNHEX(MEMBER_ID), ") + key + QStringLiteral(") AS CHAR) AS MEMBER_ID"),
      QStringLiteral(" , CAST(AES_DECRYPT(UNHEX(MEMBER_PW), ") + key + QStringLiteral(") AS CHAR) AS MEMBER_PW"),
      QStringLiteral(" FROM COM_LIST"),
      QStringLiteral(" WHERE CAST(AES_DECRYPT(UNHEX(MEMBER_ID), ") + key + QStringLiteral(") AS CHAR)  = ") + id,
  }.join(QLatin1Char('\n'));
}

LoginVerdict LoginQuery::judge(const RecordSet& rows, const QString& typedPassword)
{
  if (rows.eof())
    return LoginVerdict::UnknownId;
  const QString typed = typedPassword.trimmed();
  if (typed.isEmpty() || typed != rows.value(QStringLiteral("MEMBER_PW")).trimmed())
    return LoginVerdict::WrongPassword;
  const auto state = leadingNumber(rows.value(QStringLiteral("MEMBER_APP_USE")).trimmed());
  if (state && *state == 9.0)
    return LoginVerdict::Maintenance;
  return LoginVerdict::Accepted;
}

bool LoginQuery::bothFilled(const QString& typedId, const QString& typedPassword)
{
  return !typedId.trimmed().isEmpty() && !typedPassword.trimmed().isEmpty();
}

} // namespace vcm
