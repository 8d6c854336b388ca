#include "ledger/DealPainter.h"

#include "common/TextHelpers.h"
#include "common/grid/Grid.h"
#include "ledger/DealColumns.h"
#include "ledger/LedgerColours.h"

#include <algorithm>

namespace vcm {

namespace {

constexpr int kReadOnlyColumns[] = {deal::DealDate, deal::DealCode,  deal::PartNo,   deal::Source,
                                    deal::ClassName, deal::BankName, deal::BusiName, deal::Branch};

} // namespace

void DealPainter::paintBankColours(Grid& deal)
{
  deal.setBackground(CellRange::sheet(), colours::White);
  const int rows = deal.rowCount();
  for (int r = 1; r <= rows; ++r) {
    const double c = deal.number(deal::RowColour, r);
    if (c != 0)
      deal.setBackground(CellRange::row(r), Colour(qint64(c)));
  }
}

void DealPainter::highlight(Grid& deal, int row, Colour colour, int col)
{
  if (deal.activeRow() != row)
    deal.setActiveCell(std::max(col, 1), row);
  if (row >= 1 && row <= deal.rowCount())
    deal.setBackground(CellRange::row(row), colour);
}

void DealPainter::paintBrowse(Grid& deal, int row, Colour colour, int col)
{
  RedrawSuspended suspended(deal);
  paintBankColours(deal);
  highlight(deal, row, colour, col);
}

void DealPainter::paintWork(Grid& deal, int row, Colour colour, int col)
{
  RedrawSuspended suspended(deal);
  paintBankColours(deal);
  for (int c : kReadOnlyColumns)
    deal.setBackground(CellRange::column(c), ledgerColours::ReadOnlyInWork);
  highlight(deal, row, colour, col);
}

void DealPainter::markChanged(Grid& deal, int row)
{
  deal.setFlag(deal::Changed, row, true);
  deal.setForeground(CellRange::row(row), ledgerColours::ChangedText);
  if (deal.number(deal::SplitIn, row) + deal.number(deal::SplitOut, row) > 0)
    deal.setForeground(CellRange::block(deal::InAmount, row, deal::OutAmount, row),
                       ledgerColours::SplitAmountText);
}

void DealPainter::markSaved(Grid& deal, int row, const QString& insertedPartNo)
{
  deal.setFlag(deal::Changed, row, false);
  if (!insertedPartNo.isEmpty()) {
    deal.setText(deal::PartNo, row, insertedPartNo);
    deal.setFlag(deal::NewPart, row, false);
    deal.setTag(CellRange::cell(deal::PartNo, row), QString());
  }
  deal.setForeground(CellRange::row(row), colours::Black);
  deal.setForeground(CellRange::cell(deal::ClassName, row), deal.number(deal::ClassNo, row) == 1
                                                                   ? ledgerColours::IncomeText
                                                                   : ledgerColours::ExpenseText);
  if (deal.number(deal::SplitIn, row) + deal.number(deal::SplitOut, row) > 0)
    deal.setForeground(CellRange::block(deal::InAmount, row, deal::OutAmount, row),
                       ledgerColours::SplitAmountText);
}

} // namespace vcm
