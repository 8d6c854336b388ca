#include "LedgerTestSupport.h"

#include "common/Session.h"
#include "common/TextHelpers.h"

namespace vcm::test {

const QString LedgerDb::Company = QStringLiteral("LT01");
const QString LedgerDb::Month = QStringLiteral("2024.05");

namespace {

QString q(const QString& text)
{
  return QLatin1Char('\'') + g_SqlStr(text) + QLatin1Char('\'');
}

} // namespace

void LedgerDb::reset()
{
  Session.reset();
  Session.ConnectionString =
      QStringLiteral("driver=MySQL ODBC 3.51 Driver;database=%1;option=0;pwd=%2;port=%3;"
                     "server=%4;uid=%5;charset=euckr;")
          .arg(m_be.dbName(), m_be.dbPassword(), QString::number(m_be.dbPort()), m_be.dbHost(),
               m_be.dbUser());
  Session.CompanyCode = Company;
  Session.CompanyName = QStringLiteral("시험센터");
  Session.ServerDate = QStringLiteral("2024.06.15");
  const QString c = q(Company);
  for (const char* table : {"DEAL_LIST", "SET_ACCOUNT_LIST", "SET_BUSI_LIST", "SET_BANK_LIST"})
    m_be.adminExec(QStringLiteral("DELETE FROM %1 WHERE COM_CD = %2").arg(QLatin1String(table), c));
  m_be.adminExec(QStringLiteral(
      "INSERT INTO SET_ACCOUNT_LIST (COM_CD, ACC_CD, ACC_GUBUN, ACC_NM, ACC_CONSULT) VALUES "
      "(%1,'101',2,'생계비',0),(%1,'102',2,'수용비',0),(%1,'201',1,'본인부담금',0),"
      "(%1,'202',1,'장기요양수입',0),(%1,'103',2,'공공요금',0)").arg(c));
  m_be.adminExec(QStringLiteral("INSERT INTO SET_BUSI_LIST (COM_CD, BUSI_CD, BUSI_NM) VALUES "
                                "(%1,'01','방문요양'),(%1,'02','주야간보호')").arg(c));
  m_be.adminExec(QStringLiteral("INSERT INTO SET_BANK_LIST (COM_CD, BANK_CD, BANK_NM, BANK_COLOR) VALUES "
                                "(%1,'001','국민 123',''),(%1,'002','농협 456','0'),"
                                "(%1,'003','신한 789','12632256')").arg(c));
}

void LedgerDb::addDeal(const DealRow& r, const QString& month)
{
  addDeals({r}, month);
}

void LedgerDb::addDeals(const QList<DealRow>& rows, const QString& month)
{
  QStringList values;
  for (const DealRow& r : rows)
    values << QStringLiteral("(%1,%2,%3,%4,%5,'2024.05.03',%6,%7,%8,%9,%10,%11,%12,%13,%14)")
                  .arg(q(Company), q(month), q(r.code), q(r.part), QString::number(r.cls), q(r.busi),
                       q(r.account), q(r.bank), q(r.summary), QString::number(qint64(r.in)),
                       QString::number(qint64(r.out)), QString::number(r.trans),
                       QString::number(r.receipt), q(r.customer));
  m_be.adminExec(QStringLiteral("INSERT INTO DEAL_LIST (COM_CD, DEAL_MON, DEAL_CD, DEAL_CD_2, DACC_GUBUN, "
                                "DEAL_DT, DBUSI_CD, DACC_CD, DBANK_CD, DEAL_SUMM, DEAL_IN_AMT, "
                                "DEAL_OUT_AMT, TRANS_DIV, RECEIPT_DIV, DEAL_CUST) VALUES ") +
                 values.join(QLatin1Char(',')));
}

QList<QStringList> LedgerDb::rows(const QString& columns, const QString& month) const
{
  return m_be.adminQuery(QStringLiteral("SELECT %1 FROM DEAL_LIST WHERE COM_CD = %2 AND DEAL_MON = %3 "
                                        "ORDER BY DEAL_CD, DEAL_CD_2")
                             .arg(columns, q(Company), q(month)));
}

QStringList LedgerDb::column(const QString& name, const QString& month) const
{
  QStringList out;
  for (const QStringList& row : rows(name, month))
    out << row.value(0);
  return out;
}

} // namespace vcm::test
