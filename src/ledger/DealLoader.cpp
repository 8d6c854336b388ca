#include "ledger/DealLoader.h"

#include "common/TextHelpers.h"
#include "common/db/RecordSet.h"
#include "common/grid/Grid.h"
#include "ledger/CodeLists.h"
#include "ledger/DealColumns.h"
#include "ledger/DealRecord.h"
#include "ledger/LedgerColours.h"
#include "ledger/LikePattern.h"

#include <cmath>

namespace vcm {

DealLoader::DealLoader(Grid& deal, const Grid& picker, const CodeLists& lists)
    : m_deal(deal), m_picker(picker), m_lists(lists)
{
  for (int r = picker.rowCount(); r >= 1; --r)
    m_pickerRows.insert(picker.text(picker::Code, r), r);
  for (auto it = m_pickerRows.cbegin(); it != m_pickerRows.cend(); ++it)
    m_accountTexts.insert(it.key(), picker.text(picker::Code, it.value()) + QLatin1Char('.') +
                                        picker.text(picker::Name, it.value()));
}

DealLoader::Outcome DealLoader::load(RecordSet& rs, const QString& accountSearch)
{
  Outcome out;
  if (rs.recordCount() == 0)
    return out;

  const int transCol = rs.columnIndex(QStringLiteral("TRANS_DIV"));
  bool released = false;
  for (rs.moveFirst(); !rs.eof(); rs.moveNext()) {
    const double t = rs.number(transCol);
    if (t == 1)
      out.sentForClosing = released = true;
    else if (t == 9)
      released = true;
  }
  if (!released) {
    out.result = Result::NotReleased;
    return out;
  }

  const DealRecord::Layout layout = DealRecord::Layout::of(rs);
  RedrawSuspended suspended(m_deal);
  // Rows are reserved up front and the unused ones dropped at the end: growing the
  // grid one row at a time would reallocate its storage over and over.
  m_deal.setRowCount(rs.recordCount());
  m_deal.setForeground(CellRange::column(deal::ClassName), ledgerColours::ExpenseText);
  int rows = 0;
  out.result = Result::Loaded;
  for (rs.moveFirst(); !rs.eof(); rs.moveNext()) {
    DealRecord r = DealRecord::read(rs, layout);
    if (!accountSearch.isEmpty() && !passesAccountSearch(r, accountSearch))
      continue;
    ++rows;
    if (!fillRow(rows, r)) {
      out.result = Result::AccountMissing;
      break;
    }
  }
  m_deal.setRowCount(rows);
  return out;
}

bool DealLoader::passesAccountSearch(const DealRecord& r, const QString& search) const
{
  const CodeLists::Account* account = m_lists.account(r.daccCd);
  return account && LikePattern::matches(account->name, QLatin1Char('*') + search + QLatin1Char('*'));
}

bool DealLoader::fillRow(int row, DealRecord& r)
{
  Grid& g = m_deal;
  g.setText(deal::DealCode, row, std::move(r.dealCd));
  if (r.dealCd2Number == 1)
    g.setText(deal::Source, row, QStringLiteral("○"));
  g.setText(deal::PartNo, row, std::move(r.dealCd2));

  if (r.daccGubun == 1) {
    g.setText(deal::ClassName, row, QStringLiteral("수입"));
    g.setForeground(CellRange::cell(deal::ClassName, row), ledgerColours::IncomeText);
  } else if (r.daccGubun == 2) {
    g.setText(deal::ClassName, row, QStringLiteral("지출"));
    // Expense is the column's colour (set once per load); only income rows need their own.
  }
  g.setText(deal::DealDate, row, std::move(r.dealDt));

  if (!m_haveBusi || r.dbusiCd != m_lastBusiCode) {
    m_lastBusiCode = r.dbusiCd;
    m_lastBusi = m_lists.business(r.dbusiCd);
    m_haveBusi = true;
  }
  if (!m_haveBank || r.dbankCd != m_lastBankCode) {
    m_lastBankCode = r.dbankCd;
    m_lastBank = m_lists.bank(r.dbankCd);
    m_haveBank = true;
  }
  if (const CodeLists::Business* b = m_lastBusi)
    g.setText(deal::BusiName, row, b->name);
  if (const CodeLists::Bank* b = m_lastBank) {
    g.setText(deal::BankName, row, b->name);
    // Kept as a number: painting reads every row's colour on each click.
    if (!b->colour.isEmpty()) {
      auto colour = m_bankColours.constFind(b->colour);
      if (colour == m_bankColours.cend())
        colour = m_bankColours.insert(b->colour, numVal(b->colour));
      g.setNumber(deal::RowColour, row, *colour);
    }
  }

  if (!r.daccCd.isEmpty()) {
    const auto account = m_accountTexts.constFind(r.daccCd);
    if (account == m_accountTexts.cend())
      return false;
    g.setText(deal::Account, row, *account);
  }

  g.setText(deal::Summary, row, std::move(r.dealSumm));
  g.setText(deal::Customer, row, std::move(r.dealCust));
  g.setText(deal::Target, row, std::move(r.dealTarget));
  g.setNumber(deal::InAmount, row, r.dealInAmt);
  g.setNumber(deal::OutAmount, row, r.dealOutAmt);
  g.setText(deal::Branch, row, std::move(r.dealGubun));
  g.setText(deal::BusiCode, row, std::move(r.dbusiCd));
  g.setText(deal::BankCode, row, std::move(r.dbankCd));
  g.setNumber(deal::ClassNo, row, r.daccGubun);
  if (r.receiptDiv != 0)
    g.setFlag(deal::Receipt, row, true);
  return true;
}

} // namespace vcm
