#include "ledger/SplitGroupCheck.h"

#include "common/TextHelpers.h"
#include "common/grid/Grid.h"
#include "ledger/DealColumns.h"

namespace vcm {

QString SplitGroupCheck::firstFailure(const Grid& deal)
{
  const int rows = deal.rowCount();
  for (int i = 1; i <= rows; ++i) {
    const double originalIn = numVal(deal.value(deal::SplitIn, i));
    const double originalOut = numVal(deal.value(deal::SplitOut, i));
    if (originalIn == 0 && originalOut == 0)
      continue;
    double in = numVal(deal.value(deal::InAmount, i));
    double out = numVal(deal.value(deal::OutAmount, i));
    const QString key = deal.text(deal::DealCode, i) + deal.text(deal::PartNo, i);
    for (int j = i + 1; j <= rows && deal.text(deal::SplitSource, j).trimmed() == key; ++j) {
      in += numVal(deal.value(deal::InAmount, j));
      out += numVal(deal.value(deal::OutAmount, j));
    }
    const double cls = numVal(deal.value(deal::ClassNo, i));
    bool adds;
    if (cls == 1)
      adds = in - out == originalIn;
    else if (cls == 2)
      adds = out - in == originalOut;
    else
      return QStringLiteral("오류발생. 연락주세요.");
    if (!adds)
      return QStringLiteral("개별 분할된 금액이 맞지 않습니다. 현재 상태 그래도 노팀장에게 연락주세요.(") +
             QString::number(i) + QStringLiteral("행)");
  }
  return {};
}

} // namespace vcm
