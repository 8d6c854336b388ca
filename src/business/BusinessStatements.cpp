#include "business/BusinessStatements.h"

#include "common/TextHelpers.h"

#include <QStringList>

namespace vcm {

namespace {

QString quoted(const QString& text)
{
  return QLatin1Char('\'') + g_SqlStr(text) + QLatin1Char('\'');
}

QString decrypted(const QString& column, const QString& key)
{
  return QStringLiteral(" , CAST(AES_DECRYPT(UNHEX(%1), '%2') AS CHAR) AS %1").arg(column, key);
}

} // namespace

QString companyDetailQuery(const QString& infoKey, const QString& companyCode, bool withWriteFlag)
{
  QStringList lines{
      QStringLiteral("SELECT COM_CD , CENTER_CD"),
      QStringLiteral(" , COM_NM"),
      QStringLiteral(" , BIZ_NO     , FOUND_DT"),
      QStringLiteral(" , COM_TEL    , COM_FAX"),
      QStringLiteral(" , CENJANG_NM , CENJANG_TEL"),
      QStringLiteral(" , BOSS_NM    , BOSS_TEL"),
      QStringLiteral(" , COM_POSTNO , COM_JUSO1   , COM_JUSO2"),
      QStringLiteral(" , DM_POSTNO  , DM_JUSO1    , DM_JUSO2"),
      QStringLiteral(" , COM_MAIL"),
  };
  for (const char* column : {"W4C_ID", "W4C_PW", "CENTER_PW_1", "HOPE_ID", "HOPE_PW"})
    lines << decrypted(QLatin1String(column), infoKey);
  lines << QStringLiteral(" , CON_DIV       , CON_DT");
  if (withWriteFlag)
    lines << QStringLiteral(" , MEMBER_WRITE_COM");
  lines << QStringLiteral(" FROM COM_LIST") << QStringLiteral(" WHERE COM_CD = ") + quoted(companyCode);
  return lines.join(QLatin1Char('\n'));
}

QString requestNumberQuery(const QString& companyCode)
{
  const QString c = quoted(companyCode);
  return QStringList{
      QStringLiteral("SELECT MAX(N) AS M_NO FROM ("),
      QStringLiteral(" SELECT MAX(CAST(TRANS_CD AS UNSIGNED)) AS N FROM TRANS_COM_INFO WHERE COM_CD = ") + c,
      QStringLiteral(" UNION ALL"),
      QStringLiteral(" SELECT MAX(CAST(TRANS_CD AS UNSIGNED)) FROM TRANS_COM_INFO_DETAIL WHERE COM_CD = ") + c,
      QStringLiteral(") NUMBERS"),
  }.join(QLatin1Char('\n'));
}

QString nextRequestNumber(const QString& maxNumber, bool isNull)
{
  if (isNull)
    return QStringLiteral("0001");
  const qint64 next = static_cast<qint64>(numVal(maxNumber)) + 1;
  return QStringLiteral("%1").arg(next, 4, 10, QLatin1Char('0'));
}

QString detailInsert(const QString& companyCode, const QString& requestNumber,
                     const QList<ChangedField>& rows, const QString& infoKey)
{
  QStringList lines{QStringLiteral("INSERT INTO TRANS_COM_INFO_DETAIL("),
                    QStringLiteral(" COM_CD , TRANS_CD , SAVE_FIELD , AFTER_STORY) VALUES")};
  for (const ChangedField& row : rows) {
    lines << QStringLiteral(" ( ") + quoted(companyCode)
          << QStringLiteral(" , ") + quoted(requestNumber)
          << QStringLiteral(" , ") + quoted(row.field.trimmed())
          << QStringLiteral(" , (HEX(AES_ENCRYPT(%1 , '%2'))) ) ,")
                 .arg(quoted(row.value.trimmed()), infoKey);
  }
  QString sql = lines.join(QLatin1Char('\n'));
  sql.chop(1); // the comma after the last row
  return sql;
}

QString headerInsert(const QString& companyCode, const QString& requestNumber,
                     const QString& savedAt)
{
  return QStringLiteral("INSERT INTO TRANS_COM_INFO(\r\n") +
         QStringList{QStringLiteral(" COM_CD , TRANS_CD , SAVE_DIV , TRANS_DT) VALUES ("),
                     QStringLiteral("   ") + quoted(companyCode),
                     QStringLiteral(" , ") + quoted(requestNumber), QStringLiteral(" , 0"),
                     QStringLiteral(" , ") + quoted(savedAt) + QLatin1Char(')')}
             .join(QLatin1Char('\n'));
}

} // namespace vcm
