#include "ledger/DealStatements.h"

#include "common/grid/NumberText.h"

#include "common/TextHelpers.h"

#include <QStringList>

#include <cmath>

namespace vcm {

namespace {

QString lines(const QStringList& parts)
{
  return parts.join(QLatin1Char('\n'));
}

QString quoted(const QString& text)
{
  return QLatin1Char('\'') + g_SqlStr(text) + QLatin1Char('\'');
}

/// The character that escapes LIKE's wildcards in the search filters. Not the backslash:
/// the server reads backslashes in string literals too, and a second meaning inside
/// the pattern would make the two layers of escaping depend on each other.
constexpr QChar kLikeEscape = u'!';

/// A typed text as a LIKE pattern that matches that text literally anywhere in the
/// column ("50%" must not find "할인 500"), as the grid search takes % and _ literally:
/// the escape character, % and _ are escaped for LIKE, then the whole pattern for the
/// string literal. Used with the ESCAPE clause of containsFilter().
QString containsPattern(const QString& text)
{
  QString t;
  t.reserve(text.size() + 8);
  for (const QChar c : text) {
    if (c == kLikeEscape || c == QLatin1Char('%') || c == QLatin1Char('_'))
      t += kLikeEscape;
    t += c;
  }
  return g_SqlStr(QLatin1Char('%') + t + QLatin1Char('%'));
}

QString containsFilter(const QString& column, const QString& text)
{
  return QStringLiteral(" AND ") + column + QStringLiteral(" LIKE '") + containsPattern(text) +
         QStringLiteral("' ESCAPE '") + kLikeEscape + QLatin1Char('\'');
}

} // namespace

QString DealStatements::amount(double value)
{
  return sqlNumber(value);
}

QString DealStatements::accountList(const QString& companyCode)
{
  return lines({QStringLiteral("SELECT COM_CD , ACC_CD , ACC_GUBUN ,  ACC_NM , ACC_CONSULT"),
                QStringLiteral(" FROM SET_ACCOUNT_LIST"),
                QStringLiteral(" WHERE COM_CD = ") + quoted(companyCode),
                QStringLiteral(" ORDER BY ACC_NM")});
}

QString DealStatements::businessList(const QString& companyCode)
{
  return lines({QStringLiteral("SELECT COM_CD , BUSI_CD , BUSI_NM  , BUSI_CONSULT"),
                QStringLiteral(" FROM SET_BUSI_LIST"),
                QStringLiteral(" WHERE COM_CD = ") + quoted(companyCode)});
}

QString DealStatements::bankList(const QString& companyCode)
{
  return lines({QStringLiteral("SELECT COM_CD , BANK_CD , BANK_NM , BANK_COLOR"),
                QStringLiteral(" FROM SET_BANK_LIST"),
                QStringLiteral(" WHERE COM_CD = ") + quoted(companyCode)});
}

QString DealStatements::dealList(const QString& companyCode, const QString& month,
                                 const DealFilter& filter)
{
  QStringList sql{
      QStringLiteral("SELECT COM_CD , DEAL_MON     , DEAL_CD      , DEAL_CD_2 , DACC_GUBUN"),
      QStringLiteral(" , DEAL_DT      , DBUSI_CD"),
      QStringLiteral(" , DACC_CD      , DREV_CD      , DBANK_CD"),
      QStringLiteral(" , DEAL_SUMM    , DEAL_CUST    , DEAL_TARGET"),
      QStringLiteral(" , DEAL_IN_AMT  , DEAL_OUT_AMT , DEAL_BALANCE"),
      QStringLiteral(" , DEAL_GUBUN   , DEAL_MEMO"),
      QStringLiteral(" , F_DAMNM      , F_REGDT"),
      QStringLiteral(" , L_DAMNM      , L_REGDT"),
      QStringLiteral(" , W_SINGO_DIV"),
      QStringLiteral(" , RECEIPT_DIV  , ABOUT_DIV"),
      QStringLiteral(" , TRANS_DIV"),
      QStringLiteral(" FROM DEAL_LIST"),
      QStringLiteral(" WHERE COM_CD   = ") + quoted(companyCode),
      QStringLiteral("   AND DEAL_MON = ") + quoted(month.trimmed()),
  };
  if (filter.classOption == 2)
    sql << QStringLiteral(" AND DACC_GUBUN = 1");
  else if (filter.classOption == 3)
    sql << QStringLiteral(" AND DACC_GUBUN = 2");

  const QString text = filter.searchText.trimmed();
  if (!text.isEmpty()) {
    if (filter.searchOption == 2) {
      sql << containsFilter(QStringLiteral("DEAL_SUMM"), text);
    } else if (filter.searchOption == 3) {
      sql << containsFilter(QStringLiteral("DEAL_CUST"), text);
    } else if (filter.searchOption == 4) {
      const QString n = amount(numVal(text));
      sql << QStringLiteral(" AND (DEAL_IN_AMT = ") + n + QStringLiteral(" OR DEAL_OUT_AMT = ") + n +
                 QLatin1Char(')');
    }
  }
  sql << QStringLiteral(" ORDER BY DEAL_CD , DEAL_CD_2");
  return lines(sql);
}

QString DealStatements::deleteEntry(const QString& companyCode, const QString& month,
                                    const QString& dealCode, const QString& partNo)
{
  return lines({QStringLiteral("DELETE FROM DEAL_LIST"),
                QStringLiteral(" WHERE COM_CD    = ") + quoted(companyCode),
                QStringLiteral("   AND DEAL_MON  = ") + quoted(month.trimmed()),
                QStringLiteral("   AND DEAL_CD   = ") + quoted(dealCode.trimmed()),
                QStringLiteral("   AND DEAL_CD_2 = ") + quoted(partNo.trimmed())});
}

QString DealStatements::update(const QString& companyCode, const QString& month, const DealWrite& row)
{
  return lines({
      QStringLiteral("UPDATE DEAL_LIST SET"),
      QStringLiteral("   DACC_GUBUN   =  ") + QString::number(row.classNo),
      QStringLiteral(" , DACC_CD      = ") + quoted(row.account),
      QStringLiteral(" , DEAL_SUMM    = ") + quoted(row.summary),
      QStringLiteral(" , DEAL_CUST    = ") + quoted(row.customer),
      QStringLiteral(" , DEAL_TARGET  = ") + quoted(row.target),
      QStringLiteral(" , DEAL_IN_AMT  =  ") + amount(row.income),
      QStringLiteral(" , DEAL_OUT_AMT =  ") + amount(row.expense),
      QStringLiteral(" , RECEIPT_DIV  =  ") + QString::number(row.receipt),
      QStringLiteral(" WHERE COM_CD       = ") + quoted(companyCode),
      QStringLiteral("   AND DEAL_MON     = ") + quoted(month.trimmed()),
      QStringLiteral("   AND DEAL_CD      = ") + quoted(row.dealCode),
      QStringLiteral("   AND DEAL_CD_2    = ") + quoted(row.partNo),
  });
}

QString DealStatements::maxPartNo(const QString& companyCode, const QString& month,
                                  const QString& dealCode)
{
  return lines({
      QStringLiteral("SELECT MAX(DEAL_CD_2) AS M_NO FROM DEAL_LIST"),
      QStringLiteral(" WHERE COM_CD = ") + quoted(companyCode),
      QStringLiteral("   AND DEAL_MON     = ") + quoted(month.trimmed()),
      QStringLiteral("   AND DEAL_CD      = ") + quoted(dealCode),
  });
}

QString DealStatements::storedParts(const QString& companyCode, const QString& month,
                                    const QString& dealCode, const QStringList& partNos)
{
  QStringList quotedParts;
  for (const QString& p : partNos)
    quotedParts << quoted(p);
  return lines({
      QStringLiteral("SELECT DEAL_CD_2 FROM DEAL_LIST"),
      QStringLiteral(" WHERE COM_CD = ") + quoted(companyCode),
      QStringLiteral("   AND DEAL_MON     = ") + quoted(month.trimmed()),
      QStringLiteral("   AND DEAL_CD      = ") + quoted(dealCode),
      QStringLiteral("   AND DEAL_CD_2 IN (") + quotedParts.join(QStringLiteral(" , ")) + QLatin1Char(')'),
  });
}

QString DealStatements::insert(const QString& companyCode, const QString& month, const DealWrite& row)
{
  return lines({
      QStringLiteral("INSERT INTO DEAL_LIST("),
      QStringLiteral("   COM_CD      , DEAL_MON     , DEAL_CD  , DEAL_CD_2 , DACC_GUBUN"),
      QStringLiteral(" , DEAL_DT     , DBUSI_CD     , DBANK_CD"),
      QStringLiteral(" , DACC_CD"),
      QStringLiteral(" , DEAL_SUMM   , DEAL_CUST    , DEAL_TARGET"),
      QStringLiteral(" , DEAL_IN_AMT , DEAL_OUT_AMT"),
      QStringLiteral(" , RECEIPT_DIV"),
      QStringLiteral(" ) VALUES ("),
      QStringLiteral("   ") + quoted(companyCode),
      QStringLiteral(" , ") + quoted(month.trimmed()),
      QStringLiteral(" , ") + quoted(row.dealCode),
      QStringLiteral(" , ") + quoted(row.partNo),
      QStringLiteral(" , ") + QString::number(row.classNo),
      QStringLiteral(" , ") + quoted(row.dealDate),
      QStringLiteral(" , ") + quoted(row.busiCode),
      QStringLiteral(" , ") + quoted(row.bankCode),
      QStringLiteral(" , ") + quoted(row.account),
      QStringLiteral(" , ") + quoted(row.summary),
      QStringLiteral(" , ") + quoted(row.customer),
      QStringLiteral(" , ") + quoted(row.target),
      QStringLiteral(" , ") + amount(row.income),
      QStringLiteral(" , ") + amount(row.expense),
      QStringLiteral(" ,  ") + QString::number(row.receipt),
      QStringLiteral(" ) "),
  });
}

QString DealStatements::closeMonth(const QString& companyCode, const QString& month)
{
  return lines({
      QStringLiteral("UPDATE DEAL_LIST SET"),
      QStringLiteral(" TRANS_DIV = 1"),
      QStringLiteral(" WHERE COM_CD       = ") + quoted(companyCode),
      QStringLiteral("   AND DEAL_MON     = ") + quoted(month.trimmed()),
  });
}

} // namespace vcm
