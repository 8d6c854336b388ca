#include "ledger/SearchPopup.h"

#include "common/ErrMsg.h"
#include "common/RuntimeError.h"
#include "common/Session.h"
#include "common/TextHelpers.h"
#include "common/screen/GridRoutines.h"
#include "ledger/Ledger.h"
#include "ledger/LedgerColours.h"
#include "platform/Ui.h"

#include <cmath>
#include <limits>

namespace vcm {

const QString SearchPopup::FormName = QStringLiteral("회계_거래리스트_거래검색Arr");
const QString SearchPopup::Caption = QStringLiteral("거래내역 검색");

namespace {

struct ColumnSpec {
  int col;
  const char16_t* header;
  double width; ///< 0: the grid's default
};

constexpr ColumnSpec kColumns[] = {
    {found::DealDate, u"발의일", 11},      {found::Account, u"계정명", 21},
    {found::Summary, u"적요", 14.87},      {found::Customer, u"거래처", 14.87},
    {found::ClassName, u"구분", 0},        {found::InAmount, u"수입금액", 11.37},
    {found::OutAmount, u"지출금액", 11.37}, {found::DealCode, u"거래CD", 13},
    {found::LedgerRow, u"넘어온 행", 13.25},
};

constexpr Colour kSelected = 0xEFDEDE;
constexpr int kUp = 38;
constexpr int kDown = 40;
constexpr int kEnter = 13;

/// The leading number of a text as the nearest 32-bit integer; 0 when there is none.
qint32 rowNumber(const QString& text)
{
  const double v = std::nearbyint(leadingNumber(text).value_or(0));
  if (v < std::numeric_limits<qint32>::min() || v > std::numeric_limits<qint32>::max())
    return 0;
  return static_cast<qint32>(v);
}

} // namespace

SearchPopup::SearchPopup(Grid& grid) : spr(grid)
{
  RedrawSuspended quiet(spr);
  spr.setColumnCount(found::ColumnCount);
  spr.setRowCount(0);
  spr.setColumnWidth(0, 3.25);
  for (const ColumnSpec& c : kColumns) {
    spr.setText(c.col, 0, QString::fromUtf16(c.header));
    if (c.width > 0)
      spr.setColumnWidth(c.col, c.width);
  }
  spr.setColumnHidden(found::DealCode, true);
  spr.setColumnHidden(found::LedgerRow, true);
  spr.setNumberCells(CellRange::columns(found::InAmount, found::OutAmount), -99999999, 99999999);
  spr.setLocked(CellRange::sheet(), true);
}

bool SearchPopup::openedByLedger() const
{
  return ledgerSearchRow && Call_Frm.toUpper() == Ledger::ScreenName.toUpper();
}

void SearchPopup::Set_Search_List(const SearchList& entries, int /*unused*/)
{
  Session.CurrentProcedure = QStringLiteral("Set_Search_List");
  try {
    RedrawSuspended quiet(spr);
    spr.setRowCount(0);
    for (const SearchEntry& e : entries) {
      const int row = spr.rowCount() + 1;
      spr.setRowCount(row);
      spr.setText(found::DealDate, row, e[2]);
      spr.setText(found::Account, row, e[3]);
      spr.setText(found::Summary, row, e[4]);
      spr.setText(found::Customer, row, e[5]);
      spr.setText(found::DealCode, row, e[1]);
      if (const double income = numVal(e[6]); income != 0) {
        spr.setText(found::ClassName, row, QStringLiteral("수입"));
        spr.setForeground(CellRange::cell(found::ClassName, row), ledgerColours::IncomeText);
        spr.setNumber(found::InAmount, row, income);
      }
      if (const double expense = numVal(e[7]); expense != 0) {
        spr.setText(found::ClassName, row, QStringLiteral("지출"));
        spr.setForeground(CellRange::cell(found::ClassName, row), ledgerColours::ExpenseText);
        spr.setNumber(found::OutAmount, row, expense);
      }
      spr.setText(found::LedgerRow, row, e[8]);
    }
    quiet.resume();
    spr_Click(found::Account, 1);
  } catch (const RuntimeError& e) {
    g_Err_Msg(e, FormName);
  }
}

void SearchPopup::spr_Click(qint32 /*col*/, qint32 row)
{
  Session.CurrentProcedure = QStringLiteral("spr_Click");
  if (row < 1)
    return;
  g_Spr_Row_Color(spr, row, kSelected, found::Summary, false);
  Sel_Row = row;
  lblAcc = spr.text(found::Account, row).trimmed() + QLatin1Char('(') +
           spr.text(found::DealDate, row).trimmed() + QLatin1Char(')');
  if (changed)
    changed();
}

void SearchPopup::spr_DblClick(qint32 /*col*/, qint32 row)
{
  Session.CurrentProcedure = QStringLiteral("spr_DblClick");
  Sel_Row = row;
  cmdSel_Click();
}

void SearchPopup::spr_AfterUserSort(qint32 /*col*/)
{
  Session.CurrentProcedure = QStringLiteral("spr_AfterUserSort");
  if (spr.rowCount() >= 1)
    spr_Click(found::Account, 1);
}

void SearchPopup::selectRow(qint32 row)
{
  spr.setActiveCell(found::Account, row);
  spr_Click(found::Account, row);
}

void SearchPopup::spr_KeyDown(int& key, int /*shift*/)
{
  Session.CurrentProcedure = QStringLiteral("sprD_KeyDown");
  switch (key) {
  case kUp:
    if (Sel_Row > 1)
      selectRow(Sel_Row - 1);
    key = 0;
    break;
  case kDown:
    if (spr.rowCount() >= Sel_Row + 1)
      selectRow(Sel_Row + 1);
    key = 0;
    break;
  case kEnter:
    key = 0;
    cmdSel_Click();
    break;
  default:
    break;
  }
}

void SearchPopup::cmdSel_Click()
{
  Session.CurrentProcedure = QStringLiteral("cmdSel_Click");
  if (Sel_Row <= 0) {
    notice(QStringLiteral("거래내역을 선택 후 클릭해주세요."), Icon::Exclamation);
    return;
  }
  const QString row = spr.text(found::LedgerRow, Sel_Row);
  if (openedByLedger())
    *ledgerSearchRow = rowNumber(row);
  if (unload)
    unload();
}

void SearchPopup::cmdClose_Click()
{
  Session.CurrentProcedure = QStringLiteral("cmdClose_Click");
  if (openedByLedger())
    *ledgerSearchRow = 0;
  if (unload)
    unload();
}

} // namespace vcm
