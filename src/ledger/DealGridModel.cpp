#include "ledger/DealGridModel.h"

#include "common/grid/Grid.h"
#include "common/screen/GridRoutines.h"
#include "ledger/CodeLists.h"
#include "ledger/DealColumns.h"
#include "ledger/LedgerColours.h"

namespace vcm {

namespace {

struct ColumnSpec {
  int col;
  const char16_t* header;
  double width; ///< 0: hidden
};

// Header texts and widths (character units) of sprDeal; width 0 marks a hidden column.
constexpr ColumnSpec kDealColumns[] = {
    {deal::Check, u"", 3.25},
    {deal::DealDate, u"발의일", 8.63},
    {deal::Spacer1, u"공백1", 0},
    {deal::DealCode, u"코드", 5.25},
    {deal::PartNo, u" 상세 코드", 5.37},
    {deal::Source, u"원본여부", 5.12},
    {deal::Spacer2, u"공백2", 0},
    {deal::ClassName, u"거래구분", 5.12},
    {deal::BankName, u"계좌명", 22.37},
    {deal::BusiName, u"사업명", 20.5},
    {deal::Account, u"계정명", 20.25},
    {deal::AccountButton, u"", 2.2},
    {deal::Spacer3, u"공백3", 0},
    {deal::Summary, u"적요", 17.37},
    {deal::Customer, u"거래처", 13.75},
    {deal::InAmount, u"수입금액", 10.75},
    {deal::OutAmount, u"지출금액", 10.75},
    {deal::Spacer4, u"공백4", 0},
    {deal::Branch, u"취급점", 13.62},
    {deal::Receipt, u"영수증여부", 5.75},
    {deal::Target, u"대상자", 11},
    {deal::Spacer5, u"공백5", 0},
    {deal::BusiCode, u"사업CD", 0},
    {deal::BankCode, u"계좌CD", 0},
    {deal::ClassNo, u"계정구분", 0},
    {deal::Changed, u"수정여부", 0},
    {deal::NewPart, u"신규여부", 0},
    {deal::RowColour, u"색상", 0},
    {deal::SplitIn, u"개별분한_원본수입금액", 0},
    {deal::SplitOut, u"개별분한_원본지출금액", 0},
    {deal::SplitSource, u"개별분한_원본행", 0},
};

} // namespace

void DealGridModel::setupDeal(Grid& deal)
{
  RedrawSuspended quiet(deal);
  deal.setRowCount(0);
  deal.setColumnCount(deal::ColumnCount);
  for (const ColumnSpec& c : kDealColumns) {
    deal.setText(c.col, 0, QString::fromUtf16(c.header));
    deal.setColumnHidden(c.col, c.width == 0);
    if (c.width > 0)
      deal.setColumnWidth(c.col, c.width);
  }
  deal.setTextCells(CellRange::columns(1, deal::ColumnCount));
  deal.setTextCells(CellRange::column(deal::Account), 120);
  deal.setTextCells(CellRange::column(deal::Summary), 120);
  deal.setTextCells(CellRange::column(deal::Customer), 60);
  deal.setTextCells(CellRange::column(deal::Branch), 255);
  deal.setTextCells(CellRange::column(deal::Target), 30);
  deal.setNumberCells(CellRange::columns(deal::InAmount, deal::OutAmount), -999999999, 999999999, 0, true);
  deal.setAlignment(CellRange::column(deal::ClassName), HAlign::Centre);
  deal.setButtonCells(CellRange::column(deal::AccountButton), QStringLiteral("▼"));
  setupCheckColumns(deal);
  deal.setLocked(CellRange::sheet(), true);
}

void DealGridModel::setupCheckColumns(Grid& deal)
{
  g_Spr_Chk_Col(deal, deal::Check, true, QString::number(ledgerColours::CheckHeader), QString());
  g_Spr_Chk_Col(deal, deal::Receipt, false, QString(), QString());
}

void DealGridModel::setupPicker(Grid& picker)
{
  picker.setRowCount(0);
  picker.setColumnCount(picker::ColumnCount);
  const struct {
    int col;
    const char16_t* header;
    double width;
  } columns[] = {{picker::ClassName, u"구분", 5.37},
                 {picker::Code, u"코드", 6.25},
                 {picker::Name, u"계정명", 22.12},
                 {picker::ClassNo, u"거래구분", 8.0}};
  for (const auto& c : columns) {
    picker.setText(c.col, 0, QString::fromUtf16(c.header));
    picker.setColumnWidth(c.col, c.width);
  }
  picker.setAlignment(CellRange::column(picker::ClassNo), HAlign::Centre);
  picker.setLocked(CellRange::sheet(), true);
}

void DealGridModel::fillPicker(Grid& picker, const CodeLists& lists)
{
  picker.setRowCount(0);
  const auto& accounts = lists.accounts();
  if (accounts.empty())
    return;
  RedrawSuspended quiet(picker);
  picker.setRowCount(int(accounts.size()) + 1);
  int row = 2;
  for (const CodeLists::Account& a : accounts) {
    const bool income = a.classNo == 1;
    picker.setText(picker::ClassName, row, income ? QStringLiteral("수입") : QStringLiteral("지출"));
    picker.setForeground(CellRange::cell(picker::ClassName, row),
                         income ? ledgerColours::IncomeText : ledgerColours::ExpenseText);
    picker.setText(picker::Code, row, a.code);
    picker.setText(picker::Name, row, a.name);
    picker.setText(picker::ClassNo, row, QString::number(a.classNo));
    ++row;
  }
}

} // namespace vcm
