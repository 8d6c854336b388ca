#include "BusinessDb.h"

#include "common/Session.h"
#include "common/TextHelpers.h"

namespace vcm::test {

const QString BusinessDb::Company = QStringLiteral("7701");

namespace {

QString q(const QString& text)
{
  return QLatin1Char('\'') + g_SqlStr(text) + QLatin1Char('\'');
}

} // namespace

QString BusinessDb::infoKey() const
{
  return m_be.value(QStringLiteral("INFO_CRYPT_KEY"));
}

void BusinessDb::reset()
{
  Session.reset();
  Session.ConnectionString = m_be.connectionString();
  Session.InfoCryptKey = infoKey();
  Session.CompanyCode = Company;
  const QString c = q(Company);
  for (const char* table : {"COM_LIST", "TRANS_COM_INFO", "TRANS_COM_INFO_DETAIL"})
    m_be.adminExec(QStringLiteral("DELETE FROM %1 WHERE COM_CD = %2").arg(QLatin1String(table), c));
  const QString k = q(infoKey());
  m_be.adminExec(QStringLiteral(
      "INSERT INTO COM_LIST (COM_CD, CENTER_CD, COM_NM, BIZ_NO, FOUND_DT, COM_TEL, COM_FAX,"
      " BOSS_NM, BOSS_TEL, CENJANG_NM, CENJANG_TEL, COM_POSTNO, COM_JUSO1, COM_JUSO2,"
      " DM_POSTNO, DM_JUSO1, DM_JUSO2, COM_MAIL, W4C_ID, W4C_PW, CENTER_PW_1, HOPE_ID, HOPE_PW,"
      " CON_DIV, CON_DT, MEMBER_WRITE_COM) VALUES (%1, ' 77011 ', '시험재가센터', '1234567890',"
      " '2016.04.01', '02-555-1234', '02-555-1235', '박대표', '010-1111-2222', '최센터',"
      " '010-3333-4444', '07321', '서울시 강서구 공항대로 1', '3층', '07322', '서울시 마포구 1',"
      " '2호', 'test@example.kr', HEX(AES_ENCRYPT('bank-7701', %2)), HEX(AES_ENCRYPT('agency-7701', %2)),"
      " HEX(AES_ENCRYPT('admin-7701', %2)), HEX(AES_ENCRYPT('hope7701', %2)),"
      " HEX(AES_ENCRYPT('hopePw#7701', %2)), 1, '2020.02.03', 1)").arg(c, k));
}

void BusinessDb::set(const QString& assignments) const
{
  m_be.adminExec(QStringLiteral("UPDATE COM_LIST SET %1 WHERE COM_CD = %2").arg(assignments, q(Company)));
}

QList<QStringList> BusinessDb::headers() const
{
  return m_be.adminQuery(QStringLiteral("SELECT TRANS_CD, SAVE_DIV, TRANS_DT FROM TRANS_COM_INFO"
                                        " WHERE COM_CD = %1 ORDER BY TRANS_CD + 0").arg(q(Company)));
}

QList<QStringList> BusinessDb::details() const
{
  // The client writes EUC-KR text; the decrypted bytes are read back as such.
  return m_be.adminQuery(
      QStringLiteral("SELECT TRANS_CD, SAVE_FIELD,"
                     " CONVERT(AES_DECRYPT(UNHEX(AFTER_STORY), %1) USING euckr)"
                     " FROM TRANS_COM_INFO_DETAIL WHERE COM_CD = %2 ORDER BY DETAIL_NO")
          .arg(q(infoKey()), q(Company)));
}

void BusinessDb::addHeader(const QString& number) const
{
  m_be.adminExec(QStringLiteral("INSERT INTO TRANS_COM_INFO (COM_CD, TRANS_CD, SAVE_DIV, TRANS_DT)"
                                " VALUES (%1, %2, 0, '2024.01.01 09:00:00')").arg(q(Company), q(number)));
}

void BusinessDb::addDetail(const QString& number, const QString& field, const QString& value) const
{
  m_be.adminExec(QStringLiteral("INSERT INTO TRANS_COM_INFO_DETAIL (COM_CD, TRANS_CD, SAVE_FIELD,"
                                " AFTER_STORY) VALUES (%1, %2, %3, HEX(AES_ENCRYPT(%4, %5)))")
                     .arg(q(Company), q(number), q(field), q(value), q(infoKey())));
}

} // namespace vcm::test
