#include "ledger/DealSplit.h"

#include "common/TextHelpers.h"
#include "common/grid/Grid.h"
#include "ledger/DealColumns.h"
#include "ledger/LedgerColours.h"

namespace vcm {

namespace {

/// Columns a new part takes over from its source.
constexpr int kCopiedColumns[] = {deal::ClassName, deal::BusiName, deal::BankName, deal::DealCode,
                                  deal::DealDate,  deal::BusiCode, deal::BankCode, deal::ClassNo,
                                  deal::Summary,   deal::Customer};

/// An amount or mark as the cell shows it.
double amount(const Grid& deal, int col, int row)
{
  return deal.shownNumber(col, row);
}

QString partKey(const Grid& deal, int row)
{
  return deal.text(deal::SplitSource, row).trimmed();
}

/// Rows source+1.. that carry the source's key, as one group ends at the first other row.
int groupEnd(const Grid& deal, int source, const QString& key)
{
  int last = source;
  while (last < deal.rowCount() && partKey(deal, last + 1) == key)
    ++last;
  return last;
}

void lockSourceAmounts(Grid& deal, int source)
{
  const CellRange amounts = CellRange::block(deal::InAmount, source, deal::OutAmount, source);
  deal.setForeground(CellRange::row(source), ledgerColours::ChangedText);
  deal.setLocked(amounts, true);
  deal.setForeground(amounts, ledgerColours::SplitAmountText);
  deal.setFlag(deal::Changed, source, true);
}

} // namespace

QString DealSplit::refusal(const Grid& deal, int row)
{
  // The part's column 31 holds its source's key. Entry codes are not always numbers, so
  // any key marks a part, not only one that reads as a positive number.
  if (!partKey(deal, row).isEmpty())
    return QStringLiteral("이미 개별분할한 내역을 다시 분할할 수 없습니다.\n\n재분할을 원할 경우 저장 후 다시 시도하세요.");
  const double in = amount(deal, deal::InAmount, row);
  const double out = amount(deal, deal::OutAmount, row);
  if (in != 0 && out != 0)
    return QStringLiteral("수입금액과 지출금액이 둘 다 들어있습니다.\n\n분할을 취소합니다.");
  if (in == 0 && out == 0)
    return QStringLiteral("수입금액과 지출금액이 둘 다 [0원]입니다.\n\n분할을 취소합니다.");
  return {};
}

void DealSplit::split(Grid& deal, int row, int parts)
{
  RedrawSuspended suspended(deal);
  const QString sourceKey = key(deal, row);
  for (int i = 0; i < parts; ++i) {
    const int part = row + 1;
    deal.insertRows(part);
    for (int col : kCopiedColumns)
      deal.setText(col, part, deal.text(col, row));
    if (amount(deal, deal::SplitIn, row) == 0)
      deal.setText(deal::SplitIn, row, deal.value(deal::InAmount, row));
    if (amount(deal, deal::SplitOut, row) == 0)
      deal.setText(deal::SplitOut, row, deal.value(deal::OutAmount, row));
    deal.setText(deal::SplitSource, part, sourceKey);
    deal.setFlag(deal::Changed, part, true);
    deal.setFlag(deal::NewPart, part, true);
    deal.setForeground(CellRange::row(part), ledgerColours::ChangedText);
  }
  lockSourceAmounts(deal, row);
}

QString DealSplit::key(const Grid& deal, int row)
{
  return deal.text(deal::DealCode, row) + deal.text(deal::PartNo, row);
}

int DealSplit::sourceOf(const Grid& deal, int part)
{
  const QString k = partKey(deal, part);
  if (k.isEmpty())
    return 0;
  // The source sits right above its group; look there first, so a keystroke in a part
  // does not walk a month of rows. Keys are unique, so this finds the same row as a
  // walk from the top whenever the group is in place.
  int above = part - 1;
  while (above >= 1 && partKey(deal, above) == k)
    --above;
  if (above >= 1 && key(deal, above) == k)
    return above;
  for (int r = 1; r <= deal.rowCount(); ++r)
    if (key(deal, r) == k)
      return r;
  return -1;
}

DealSplit::Outcome DealSplit::recomputeSource(Grid& deal, int part)
{
  const int source = sourceOf(deal, part);
  if (source == 0)
    return Outcome::NotAPart;
  if (source < 0)
    return Outcome::NoSource;
  const QString k = partKey(deal, part);
  double in = 0;
  double out = 0;
  const int last = groupEnd(deal, source, k);
  for (int r = source + 1; r <= last; ++r) {
    in += amount(deal, deal::InAmount, r);
    out += amount(deal, deal::OutAmount, r);
  }
  const double cls = amount(deal, deal::ClassNo, source);
  if (cls == 1)
    deal.setNumber(deal::InAmount, source, amount(deal, deal::SplitIn, source) - in + out);
  else if (cls == 2)
    deal.setNumber(deal::OutAmount, source, amount(deal, deal::SplitOut, source) + in - out);
  else
    return Outcome::UnknownClass;
  return Outcome::Done;
}

DealSplit::Outcome DealSplit::removePart(Grid& deal, int part)
{
  RedrawSuspended suspended(deal);
  const QString k = partKey(deal, part);
  Outcome outcome = Outcome::NotAPart;
  int source = 0;
  if (!k.isEmpty()) {
    source = sourceOf(deal, part);
    deal.clearText(CellRange::block(deal::InAmount, part, deal::OutAmount, part));
    outcome = source > 0 ? recomputeSource(deal, part) : Outcome::NoSource;
  }
  deal.deleteRows(part);
  // Without parts the source is the entry the bank booked again: both amounts as they
  // were before the split, whatever its class, so that it saves as it was loaded.
  if (source > 0 && groupEnd(deal, source, k) == source) {
    deal.setNumber(deal::InAmount, source, amount(deal, deal::SplitIn, source));
    deal.setNumber(deal::OutAmount, source, amount(deal, deal::SplitOut, source));
  }
  return outcome;
}

QString DealSplit::failureText(Outcome outcome)
{
  switch (outcome) {
  case Outcome::NoSource: return QStringLiteral("분할 확인중 오류 발생.연락주세요.");
  case Outcome::UnknownClass: return QStringLiteral("오류발생. 연락주세요.");
  default: return {};
  }
}

} // namespace vcm
