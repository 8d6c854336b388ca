#include "ledger/DealRecord.h"

#include "common/RuntimeError.h"
#include "common/TextHelpers.h"
#include "common/db/RecordSet.h"

namespace vcm {

namespace {

int require(const RecordSet& rs, const char* name)
{
  const int c = rs.columnIndex(QLatin1String(name));
  if (c < 0)
    throw RuntimeError(errors::kItemNotFound,
                       QStringLiteral("요청한 이름이나 서수에 해당하는 항목이 컬렉션에 없습니다. (") +
                           QLatin1String(name) + QLatin1Char(')'));
  return c;
}

} // namespace

DealRecord::Layout DealRecord::Layout::of(const RecordSet& rs)
{
  Layout l{};
  l.comCd = require(rs, "COM_CD");
  l.dealMon = require(rs, "DEAL_MON");
  l.dealCd = require(rs, "DEAL_CD");
  l.dealCd2 = require(rs, "DEAL_CD_2");
  l.daccGubun = require(rs, "DACC_GUBUN");
  l.dealDt = require(rs, "DEAL_DT");
  l.dbusiCd = require(rs, "DBUSI_CD");
  l.daccCd = require(rs, "DACC_CD");
  l.dbankCd = require(rs, "DBANK_CD");
  l.dealSumm = require(rs, "DEAL_SUMM");
  l.dealCust = require(rs, "DEAL_CUST");
  l.dealTarget = require(rs, "DEAL_TARGET");
  l.dealInAmt = require(rs, "DEAL_IN_AMT");
  l.dealOutAmt = require(rs, "DEAL_OUT_AMT");
  l.dealGubun = require(rs, "DEAL_GUBUN");
  l.receiptDiv = require(rs, "RECEIPT_DIV");
  l.transDiv = require(rs, "TRANS_DIV");
  return l;
}

DealRecord DealRecord::read(const RecordSet& rs, const Layout& l)
{
  DealRecord r;
  r.dealCd = rs.trimmedValue(l.dealCd);
  r.dealCd2 = rs.trimmedValue(l.dealCd2);
  r.dealCd2Number = rs.number(l.dealCd2);
  r.daccGubun = rs.number(l.daccGubun);
  r.dealDt = rs.trimmedValue(l.dealDt);
  r.dbusiCd = rs.trimmedValue(l.dbusiCd);
  r.daccCd = rs.trimmedValue(l.daccCd);
  r.dbankCd = rs.trimmedValue(l.dbankCd);
  r.dealSumm = rs.trimmedValue(l.dealSumm);
  r.dealCust = rs.trimmedValue(l.dealCust);
  r.dealTarget = rs.trimmedValue(l.dealTarget);
  r.dealInAmt = rs.number(l.dealInAmt);
  r.dealOutAmt = rs.number(l.dealOutAmt);
  r.dealGubun = rs.trimmedValue(l.dealGubun);
  r.receiptDiv = rs.number(l.receiptDiv);
  r.transDiv = rs.number(l.transDiv);
  return r;
}

} // namespace vcm
