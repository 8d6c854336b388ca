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
  r.comCd = rs.value(l.comCd).trimmed();
  r.dealMon = rs.value(l.dealMon).trimmed();
  r.dealCd = rs.value(l.dealCd).trimmed();
  r.dealCd2 = rs.value(l.dealCd2).trimmed();
  r.daccGubun = rs.number(l.daccGubun);
  r.dealDt = rs.value(l.dealDt).trimmed();
  r.dbusiCd = rs.value(l.dbusiCd).trimmed();
  r.daccCd = rs.value(l.daccCd).trimmed();
  r.dbankCd = rs.value(l.dbankCd).trimmed();
  r.dealSumm = rs.value(l.dealSumm).trimmed();
  r.dealCust = rs.value(l.dealCust).trimmed();
  r.dealTarget = rs.value(l.dealTarget).trimmed();
  r.dealInAmt = rs.number(l.dealInAmt);
  r.dealOutAmt = rs.number(l.dealOutAmt);
  r.dealGubun = rs.value(l.dealGubun).trimmed();
  r.receiptDiv = rs.number(l.receiptDiv);
  r.transDiv = rs.number(l.transDiv);
  return r;
}

} // namespace vcm
