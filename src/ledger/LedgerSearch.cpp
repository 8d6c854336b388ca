// The ledger's month choice, search, closing transfer, user manual and export.
#include "ledger/Ledger.h"

#include "common/ErrMsg.h"
#include "common/MainConn.h"
#include "common/RuntimeError.h"
#include "common/Session.h"
#include "common/export/ExcelExport.h"
#include "ledger/DealColumns.h"
#include "ledger/DealSearch.h"
#include "ledger/DealStatements.h"
#include "ledger/MonthText.h"
#include "platform/Ui.h"

namespace vcm {

namespace {

const QString kTwoBreaks = QStringLiteral("\n\n");
constexpr int kMonthLength = 7;

} // namespace

void Ledger::msk_M_Change()
{
  Session.CurrentProcedure = QStringLiteral("msk_M_Change");
  form.datMEnabled = false;
  form.notify();
  try {
    const QString month = form.mskM.trimmed();
    if (month.size() != kMonthLength) {
      sprDeal.setRowCount(0);
      ui().pumpEvents();
      frm_Clear();
      Set_Total_Info(); // the totals of the emptied grid, not of the month before
    } else if (MonthText::isValid(month)) {
      ui().pumpEvents();
      if (Shown) {
        form.dealEnabled = false;
        form.notify();
        Set_Basic_info();
      }
    } else {
      notice(QStringLiteral("날짜 형식이 잘못되었습니다. 다시 설정하세요."), Icon::Exclamation);
      form.mskM.clear();
      form.notify();
      msk_M_Change();
      form.setFocus(LedgerForm::Focus::Month);
    }
  } catch (const RuntimeError& e) {
    g_Err_Msg(e, ScreenName);
  }
  form.dealEnabled = true;
  form.datMEnabled = true;
  form.notify();
}

void Ledger::Dat_M_ButtonHit(int button)
{
  if (button != 1 && button != 2)
    return;
  try {
    const QString month = MonthText::shifted(form.mskM, button == 1 ? -1 : 1);
    if (month.isEmpty())
      throw RuntimeError(13, QStringLiteral("형식이 일치하지 않습니다."));
    form.mskM = month;
    form.notify();
    msk_M_Change();
  } catch (const RuntimeError& e) {
    g_Err_Msg(e, ScreenName);
  }
}

void Ledger::cmdMon_Click()
{
  Mon_Target = QStringLiteral("msk_M");
  form.monVVisible = true;
}

void Ledger::MonV_DateClick(const QDate& date)
{
  // The month edit is the only control of this screen that takes a picked date.
  if (Mon_Target.toUpper() == QLatin1String("MSK_M")) {
    form.mskM = date.toString(QStringLiteral("yyyy-MM-dd")).left(kMonthLength).replace(QLatin1Char('-'),
                                                                                        QLatin1Char('.'));
    form.notify();
    msk_M_Change();
  }
  form.monVVisible = false;
  form.notify();
}

void Ledger::optSearch_F_Click()
{
  Set_Basic_info();
}

void Ledger::cmdFilterClear_Click()
{
  Session.CurrentProcedure = QStringLiteral("cmdFilterClear_Click");
  form.txtSearch.clear();
  form.optSearchF = 1;
  form.notify();
  Set_Basic_info();
}

void Ledger::goToRow(qint32 row)
{
  sprDeal_Click(deal::DealCode, row);
  sprDeal.setActiveCell(deal::DealCode, row);
}

void Ledger::reloadWithoutMatch(const QString& text)
{
  if (form.optSearchF == 2 || form.optSearchF == 3) {
    const QString question = QStringLiteral("[수입ㆍ지출] 옵션 중에 [") + text +
                             QStringLiteral("] 내역을 가진 거래내역이 존재하지 않습니다.") + kTwoBreaks +
                             QStringLiteral("전체로 검색하시겠습니까?");
    if (notice(question, Icon::Question, Buttons::YesNo) == Answer::No)
      return;
    // Selecting 전체 reloads the month with the search text already; a second load
    // would read the same rows again.
    form.optSearchF = 1;
    form.notify();
    optSearch_F_Click();
    ui().pumpEvents();
    return;
  }
  Set_Basic_info();
}

void Ledger::cmdSearch_Click()
{
  Session.CurrentProcedure = QStringLiteral("cmdSearch_Click");
  try {
    const QString text = form.txtSearch.trimmed();
    if (text.isEmpty()) {
      Set_Basic_info();
      return;
    }
    if (form.optSearch == 4 && !DealSearch::isNumber(text)) {
      notice(QStringLiteral("조건이 [금액]일 경우 숫자를 기입해주세요."), Icon::Exclamation);
      return;
    }
    const std::vector<int> rows = DealSearch::matchingRows(sprDeal, form.optSearch, text);
    if (rows.size() == 1) {
      goToRow(rows.front());
      return;
    }
    if (rows.empty()) {
      reloadWithoutMatch(text);
      return;
    }
    SearchList matches;
    matches.reserve(rows.size());
    for (int r : rows)
      matches.push_back(DealSearch::entry(sprDeal, r));
    // A popup closed by its frame writes nothing: an earlier search's pick must not
    // move the selection then.
    Search_Row = 0;
    if (showSearchPopup)
      showSearchPopup(matches);
    if (Search_Row >= 1)
      goToRow(Search_Row);
  } catch (const RuntimeError& e) {
    g_Err_Msg(e, ScreenName);
  }
}

void Ledger::cmdTrans_Click()
{
  Session.CurrentProcedure = QStringLiteral("cmdTrans_Click");
  if (!chk_Work_Right())
    return;
  // Pending work would change the month after the service has taken it over, and parts
  // saved afterwards would sit unsent inside a closed month.
  if (isWorkState()) {
    notice(QStringLiteral("수정작업 중에는 마감 전송을 할 수 없습니다.") + kTwoBreaks +
               QStringLiteral("작업을 저장하거나 취소한 후 다시 전송해주세요."),
           Icon::Exclamation);
    return;
  }
  if (notice(QStringLiteral("거래내역을 [베트라케어 마감 전송]을 하시겠습니까?"), Icon::Question, Buttons::YesNo) ==
      Answer::No)
    return;
  // The month counts as closed only once the statement has matched its entries: a
  // failure or a month without entries leaves picTrans hidden and the month open. The
  // count is of rows matched, so a month another computer has already sent shows as
  // closed here too.
  MainConnScope conn;
  try {
    conn.open();
    const qint64 marked = executeSql(DealStatements::closeMonth(Session.CompanyCode, form.mskM));
    ui().pumpEvents();
    if (marked == 0) {
      conn.close();
      notice(QStringLiteral("전송할 거래내역이 존재하지 않습니다."), Icon::Exclamation);
      return;
    }
    form.picTransVisible = true;
    form.picTransTag = QStringLiteral("1");
    form.notify();
    notice(QStringLiteral("정상적으로 전송되었습니다."), Icon::Information);
  } catch (const RuntimeError& e) {
    g_Err_Msg(e, ScreenName);
    conn.close();
    notice(QStringLiteral("마감 전송을 하지 못했습니다.") + kTwoBreaks +
               QStringLiteral("거래내역을 다시 불러와 확인한 후 다시 전송해주세요."),
           Icon::Exclamation);
  }
}

QString Ledger::manualUrl()
{
  return QStringLiteral("https://") + Session.ManualHost + QStringLiteral("/M_H/M_01");
}

void Ledger::exportList()
{
  const QString name = Session.CompanyName + QStringLiteral("_거래내역(") + form.mskM + QStringLiteral("월분)");
  g_EXCEL_CH(sprDeal, name, name, QStringLiteral("&HF8E7F1"), 1, true, 0);
}

} // namespace vcm
