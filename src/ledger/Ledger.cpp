#include "ledger/Ledger.h"

#include "common/ErrMsg.h"
#include "common/MainConn.h"
#include "common/db/ColumnLimits.h"
#include "common/RuntimeError.h"
#include "common/Session.h"
#include "common/TextHelpers.h"
#include "common/grid/NumberText.h"
#include "common/screen/GridRoutines.h"
#include "ledger/DealColumns.h"
#include "ledger/DealGridModel.h"
#include "ledger/DealLoader.h"
#include "ledger/DealPainter.h"
#include "ledger/FilterInfo.h"
#include "ledger/LedgerColours.h"
#include "ledger/LedgerHost.h"
#include "ledger/MonthText.h"
#include "ledger/PartNumber.h"
#include "ledger/RegistrationOrder.h"
#include "ledger/SaveValidator.h"
#include "ledger/SplitGroupCheck.h"
#include "platform/Ui.h"

#include <QHash>
#include <QSet>

#include <cmath>

namespace vcm {

const QString Ledger::ScreenName = QStringLiteral("회계2_거래리스트_New");
const QString Ledger::WorkButtonFlags = QStringLiteral("0,1,1,1,0,0,1,0,1");

namespace {

const QString kWork = QStringLiteral("WORK");
const QString kTwoBreaks = QStringLiteral("\n\n");

void warn(const QString& text)
{
  notice(text, Icon::Exclamation);
}

/// Columns the member edits in the work state.
constexpr int kEditableColumns[] = {deal::Account, deal::Summary, deal::Customer,
                                    deal::InAmount, deal::OutAmount, deal::Target};

} // namespace

Ledger::Ledger(LedgerHost& host, Grid& deal, Grid& picker)
    : sprDeal(deal), sprCbo_Acc(picker), m_host(host)
{
  DealGridModel::setupDeal(sprDeal);
  DealGridModel::setupPicker(sprCbo_Acc);
}

bool Ledger::isWorkState() const
{
  return m_host.workTag(1) == kWork;
}

DealFilter Ledger::filter() const
{
  return DealFilter{form.optSearch, form.optSearchF, form.txtSearch};
}

// --- opening, activation ---------------------------------------------------------

void Ledger::Form_Load()
{
  try {
    sprDeal.setRowCount(0);
    const QString month = MonthText::previousMonth(Session.ServerDate);
    if (month.isEmpty())
      throw RuntimeError(13, QStringLiteral("형식이 일치하지 않습니다."));
    form.mskM = month;
    form.notify();
    DealGridModel::setupCheckColumns(sprDeal);
  } catch (const RuntimeError& e) {
    g_Err_Msg(e, ScreenName);
  }
  Set_Job_List();
}

void Ledger::Form_Activate()
{
  try {
    Shown = true;
    m_host.showWorkButtons(WorkButtonFlags);
    ui().pumpEvents();
    Set_Basic_info();
    ui().pumpEvents();
    m_host.settingQuickButton(ScreenName);
  } catch (const RuntimeError& e) {
    g_Err_Msg(e, ScreenName);
  }
}

void Ledger::Set_Job_List()
{
  Session.CurrentProcedure = QStringLiteral("Set_Job_List");
  MainConnScope conn;
  try {
    conn.open();
    lists.read(Session.CompanyCode);
  } catch (const RuntimeError& e) {
    g_Err_Msg(e, ScreenName);
  }
}

// --- loading, selection, totals -----------------------------------------------------

void Ledger::Set_Basic_info()
{
  Session.CurrentProcedure = QStringLiteral("Set_Basic_Info");
  try {
    sprDeal.setRowCount(0);
    frm_Clear();
    for (QString& t : form.totals)
      t.clear();
    form.notify();
    Set_Deal_List(0); // the loader totals what it shows
    ui().pumpEvents();
  } catch (const RuntimeError& e) {
    g_Err_Msg(e, ScreenName);
  }
}

void Ledger::Set_Deal_List(int /*sort*/)
{
  Session.CurrentProcedure = QStringLiteral("Set_Basic_Info");
  MainConnScope conn;
  std::unique_ptr<RecordSet> rs;
  // Emptying the grid and filling it again is one change for the view: a single reset
  // instead of thousands of removed rows followed by thousands of new ones.
  RedrawSuspended quiet(sprDeal);
  m_wholeMonthShown.clear();
  try {
    sprDeal.setRowCount(0);
    DealGridModel::fillPicker(sprCbo_Acc, lists);
    conn.open();
    SqlText = DealStatements::dealList(Session.CompanyCode, form.mskM, filter());
    rs = openRecordSet(SqlText);

    const QString search = form.txtSearch.trimmed();
    DealLoader loader(sprDeal, sprCbo_Acc, lists);
    const DealLoader::Outcome outcome = loader.load(*rs, form.optSearch == 1 ? search : QString());
    quiet.resume(); // the rows are in: show them before any notice
    if (outcome.sentForClosing) {
      form.picTransVisible = true;
      form.picTransTag = QStringLiteral("1");
      form.notify();
    }
    switch (outcome.result) {
    case DealLoader::Result::NoRows:
    case DealLoader::Result::NotReleased:
      Cur_Row = 0;
      break;
    case DealLoader::Result::AccountMissing:
      warn(QStringLiteral("계정명이 존재하지 않습니다.") + kTwoBreaks +
           QStringLiteral("확인이 필요하니 반드시 개발사로 연락주세요."));
      break;
    case DealLoader::Result::Loaded:
      if (sprDeal.rowCount() == 0) {
        Cur_Row = 0;
        form.setFocus(LedgerForm::Focus::Search);
      } else {
        sprDeal_Click(deal::Account, 1);
      }
      break;
    }
    form.filterInfo = FilterInfo::statusLine(filter(), sprDeal.rowCount());
    if (outcome.result == DealLoader::Result::Loaded && FilterInfo::conditions(filter()).isEmpty())
      m_wholeMonthShown = form.mskM.trimmed();
  } catch (const RuntimeError& e) {
    quiet.resume();
    form.filterInfo.clear();
    g_Err_Msg(e, ScreenName);
  }
  g_Rs_Nothing(rs);
  // Every reload (a month, a search, a cancel, a save, a deletion) totals the rows it
  // left on screen.
  Set_Total_Info();
}

void Ledger::frm_Clear()
{
  Session.CurrentProcedure = QStringLiteral("Frm_Clear");
  form.xBarText.clear();
  form.xBarValue = 0;
  form.monVVisible = false;
  form.picTransVisible = false;
  form.picTransTag.clear();
  form.filterInfo.clear();
  form.notify();
}

void Ledger::Set_Total_Info()
{
  Session.CurrentProcedure = QStringLiteral("Set_Total_Info");
  double income = 0;
  double expense = 0;
  const int rows = sprDeal.rowCount();
  for (int r = 1; r <= rows; ++r) {
    income += sprDeal.shownNumber(deal::InAmount, r);
    expense += sprDeal.shownNumber(deal::OutAmount, r);
  }
  form.totals[0] = formatGridNumber(rows) + QStringLiteral(" 건");
  form.totals[1] = formatGridNumber(income);
  form.totals[2] = formatGridNumber(expense);
  form.notify();
}

void Ledger::sprDeal_Click(qint32 col, qint32 row)
{
  Session.CurrentProcedure = QStringLiteral("sprPay_Click");
  try {
    if (form.picCboAccVisible) {
      form.picCboAccVisible = false;
      form.notify();
    }
    if (col == deal::Check && !Key_Move)
      g_Spr_Click_Color(sprDeal, deal::Check, row);
    if (row <= 0)
      return;

    const bool work = isWorkState();
    if (!work) {
      Set_Spr_Color(row, ledgerColours::CurrentRow, sprDeal.activeColumn());
    } else {
      if (col == deal::Receipt && !Key_Move) {
        g_Spr_Click_Color(sprDeal, deal::Receipt, row);
        DealPainter::markChanged(sprDeal, row);
      }
      Set_Spr_Color_Work(row, ledgerColours::CurrentRow, sprDeal.activeColumn());
    }
    if (!work && ui().shiftDown() && Cur_Row >= 1) {
      for (int r = Cur_Row; r <= row; ++r)
        sprDeal.setText(deal::Check, r, QStringLiteral("1"));
    }
    Cur_Row = row;
    if (work)
      showProposalReason(row);
    if (work && col == deal::AccountButton)
      Show_Cbo_Acc(row, QStringLiteral("A"));
    Key_Move = false;
  } catch (const RuntimeError& e) {
    g_Err_Msg(e, ScreenName);
  }
}

void Ledger::Set_Spr_Color(qint32 row, Colour colour, qint32 col)
{
  DealPainter::paintBrowse(sprDeal, row, colour, col);
}

void Ledger::Set_Spr_Color_Work(qint32 row, Colour colour, qint32 col)
{
  DealPainter::paintWork(sprDeal, row, colour, col);
}

// --- work state and save ----------------------------------------------------------

void Ledger::AAA_Cmd_Work(short command)
{
  Session.CurrentProcedure = QStringLiteral("AAA_Cmd_Work");
  try {
    if (!MonthText::isValid(form.mskM)) {
      warn(QStringLiteral("[거래년월]을 정확히 기입해주신 후 버튼을 클릭해주세요."));
      form.setFocus(LedgerForm::Focus::Month);
      return;
    }
    switch (command) {
    case 1:
      if (!chk_Work_Right())
        return;
      if (sprDeal.rowCount() == 0) {
        warn(QStringLiteral("수정할 내역이 존재하지 않습니다."));
        return;
      }
      if (!isWorkState()) {
        Combo_Open = false;
        State_Div(QStringLiteral("EDIT"));
        proposeAccounts();
      } else {
        cancelWork();
      }
      break;
    case 2:
      if (chk_Divide_Amt() && Save_Deal()) {
        State_Div(QStringLiteral("CANCEL"));
        Set_Total_Info();
        chk_Order();
      }
      break;
    case 3:
      // Deleting reloads the month, so it is a browse command only.
      if (!isWorkState() && chk_Work_Right()) {
        Del_Noim();
        ui().pumpEvents();
      }
      break;
    case 6:
      exportList();
      break;
    case 8:
      if (unloadScreen)
        unloadScreen();
      break;
    default:
      break;
    }
  } catch (const RuntimeError& e) {
    g_Err_Msg(e, ScreenName);
  }
}

void Ledger::cancelWork()
{
  int changed = 0;
  for (int r = 1; r <= sprDeal.rowCount(); ++r)
    if (sprDeal.flag(deal::Changed, r))
      ++changed;
  if (changed > 0 &&
      notice(QStringLiteral("내용 변경 후 저장 안된 내용이 존재합니다.") + kTwoBreaks +
                 QStringLiteral("그래도 취소하시겠습니까?"),
             Icon::Question, Buttons::YesNo) == Answer::No)
    return;
  State_Div(QStringLiteral("CANCEL"));
  ui().pumpEvents();
  Set_Deal_List(0);
  ui().pumpEvents();
}

void Ledger::State_Div(const QString& mode)
{
  Session.CurrentProcedure = QStringLiteral("State_Div");
  const QString m = mode.toUpper();
  if (m == QLatin1String("EDIT")) {
    m_host.setWorkEnabled(3, false);
    m_host.setWorkEnabled(8, false);
    m_host.setWorkEnabled(2, true);
    m_host.setWorkEnabled(0, false);
    m_host.setWorkTag(1, kWork);
    m_host.setWorkPictures(1, 1, 2);
    form.searchFramesEnabled = false;
    form.picWorkVisible = true;
    if (form.xBarText == BrowseTypingHint)
      form.xBarText.clear();
    {
      RedrawSuspended quiet(sprDeal);
      for (int c : kEditableColumns)
        sprDeal.setLocked(CellRange::column(c), false);
    }
    form.splitButtonsEnabled = true;
    form.splitButtonColour = ledgerColours::SplitButtonOn;
    form.notify();
    sprDeal_Click(deal::DealCode, sprDeal.activeRow());
    // The next keystroke goes to the grid, wherever the focus was (the frames that may
    // have held it are disabled now).
    form.setFocus(LedgerForm::Focus::Deal);
  } else if (m == QLatin1String("CANCEL")) {
    clearProposals();
    m_host.setWorkTag(0, QString());
    m_host.setWorkTag(1, QString());
    for (int i : {0, 1, 3, 8})
      m_host.setWorkEnabled(i, true);
    m_host.setWorkEnabled(2, false);
    m_host.setWorkPictures(0, 3, 4);
    m_host.setWorkPictures(1, 5, 6);
    form.searchFramesEnabled = true;
    form.picWorkVisible = false;
    form.picCboAccVisible = false;
    sprDeal.setLocked(CellRange::sheet(), true);
    form.splitButtonsEnabled = false;
    form.splitButtonColour = colours::ButtonFace;
    form.notify();
  }
}

bool Ledger::chk_Work_Right()
{
  Session.CurrentProcedure = QStringLiteral("chk_Work_Right");
  if (numVal(form.picTransTag) == 1) {
    warn(QStringLiteral("현재 작업권한이 [베트라케어]에 있습니다.") + kTwoBreaks +
         QStringLiteral("작업을 취소합니다."));
    return false;
  }
  return true;
}

void Ledger::sprDeal_Change(qint32 col, qint32 row)
{
  if (!isWorkState() || row < 1 || row > sprDeal.rowCount())
    return;
  if (col == deal::Account)
    sprDeal.clearHint(deal::Account, row); // what the member types replaces a proposal
  DealPainter::markChanged(sprDeal, row);
  if (col == deal::InAmount || col == deal::OutAmount)
    Set_Total_Info();
}

bool Ledger::chk_Divide_Amt()
{
  Session.CurrentProcedure = QStringLiteral("chk_Divide_Amt");
  const SplitGroupCheck::Failure failure = SplitGroupCheck::firstFailure(sprDeal);
  switch (failure.reason) {
  case SplitGroupCheck::Reason::None:
    return true;
  case SplitGroupCheck::Reason::UnknownClass:
    warn(QStringLiteral("오류발생. 연락주세요."));
    return false;
  case SplitGroupCheck::Reason::Unbalanced:
    warn(QStringLiteral("개별 분할된 금액이 맞지 않습니다. 현재 상태 그래도 노팀장에게 연락주세요.(") +
         QString::number(failure.row) + QStringLiteral("행)"));
    return false;
  }
  return false;
}

DealWrite Ledger::rowWrite(int row) const
{
  auto cell = [&](int col) { return sprDeal.text(col, row).trimmed(); };
  DealWrite w;
  w.dealCode = cell(deal::DealCode);
  w.partNo = cell(deal::PartNo);
  w.dealDate = cell(deal::DealDate);
  w.busiCode = cell(deal::BusiCode);
  w.bankCode = cell(deal::BankCode);
  w.account = cell(deal::Account).left(3);
  w.summary = cell(deal::Summary);
  w.customer = cell(deal::Customer);
  w.target = cell(deal::Target);
  w.income = sprDeal.shownNumber(deal::InAmount, row);
  w.expense = sprDeal.shownNumber(deal::OutAmount, row);
  w.receipt = sprDeal.flag(deal::Receipt, row) ? 1 : 0;
  w.classNo = w.income != 0 ? 1 : (w.expense != 0 ? 2 : 0);
  return w;
}

void Ledger::allocatePartNumbers(QList<RowWrite>& writes)
{
  // One lookup per entry, all in one exchange: the parts of an entry saved together
  // follow its highest stored number in grid order, as numbering part by part would.
  QStringList entries;
  for (const RowWrite& w : writes)
    if (w.newPart && !entries.contains(w.write.dealCode))
      entries << w.write.dealCode;
  if (entries.isEmpty())
    return;
  QStringList lookups;
  for (const QString& entry : entries)
    lookups << DealStatements::maxPartNo(Session.CompanyCode, form.mskM, entry);
  // A part sent by an earlier save whose answer never came keeps the number it was sent
  // under (the PartNo cell's tag): whether the server holds it is asked in the same
  // exchange, so it is neither inserted twice nor numbered anew.
  QHash<QString, QStringList> tentative;
  for (const RowWrite& w : writes)
    if (const QString t = sprDeal.tag(deal::PartNo, w.row); w.newPart && !t.isEmpty())
      tentative[w.write.dealCode] << t;
  const QStringList uncertain = tentative.keys();
  for (const QString& entry : uncertain)
    lookups << DealStatements::storedParts(Session.CompanyCode, form.mskM, entry, tentative[entry]);
  QHash<QString, QString> highest;
  QSet<QString> stored;  // entry + part number
  Session.Connection->executeBatch(lookups, [&](int i, Connection::StatementResult& r) {
    RecordSet& rs = *r.rows;
    if (i < entries.size()) {
      highest[entries[i]] = rs.eof() || rs.isNull(QStringLiteral("M_NO")) ? QString() : rs.value(QStringLiteral("M_NO"));
      return;
    }
    for (; !rs.eof(); rs.moveNext())
      stored << uncertain[i - entries.size()] + QChar(0x1F) + rs.value(QStringLiteral("DEAL_CD_2")).trimmed();
  });
  // The numbers already taken by parts in flight are not given out again.
  for (auto it = tentative.cbegin(); it != tentative.cend(); ++it)
    for (const QString& t : it.value())
      if (t.toInt() > highest[it.key()].toInt())
        highest[it.key()] = t;
  for (RowWrite& w : writes) {
    if (!w.newPart)
      continue;
    if (const QString t = sprDeal.tag(deal::PartNo, w.row); !t.isEmpty()) {
      w.write.partNo = t;
      w.landed = stored.contains(w.write.dealCode + QChar(0x1F) + t);
      continue;
    }
    QString& last = highest[w.write.dealCode];
    w.write.partNo = PartNumber::next(last);
    last = w.write.partNo;
  }
}

void Ledger::showProgress(int row, int rows)
{
  const int percent = static_cast<int>(std::floor(100.0 / rows * row));
  form.xBarText = QString::number(row) + QStringLiteral(" / ") + QString::number(rows) +
                  QStringLiteral(" - (") + QString::number(percent) + QStringLiteral("%)");
  form.xBarValue = percent;
  form.notify();
}

bool Ledger::Save_Deal()
{
  Session.CurrentProcedure = QStringLiteral("Save_Deal");
  const SaveValidator::Result check = SaveValidator::check(sprDeal, sprCbo_Acc);
  if (!check.ok()) {
    warn(check.message);
    return false;
  }
  if (check.changedRows == 0) {
    warn(QStringLiteral("저장할 내역이 존재하지 않습니다.") + kTwoBreaks +
         QStringLiteral("저장을 취소합니다."));
    return false;
  }

  form.xBarText.clear();
  form.xBarValue = 0;
  form.notify();
  MainConnScope conn;
  int saved = 0;
  try {
    conn.open();
    const SaveValidator::Result lengths = SaveValidator::checkLengths(sprDeal, ColumnLimits::of(*Session.Connection));
    if (!lengths.ok()) {
      conn.close();
      warn(lengths.message);
      return false;
    }
    const int rows = sprDeal.rowCount();
    // The changed rows in grid order, up to the first one that cannot be written.
    QList<RowWrite> writes;
    int stopRow = rows + 1;
    bool noClass = false;
    for (int j = 1; j <= rows; ++j) {
      if (!sprDeal.flag(deal::Changed, j))
        continue;
      const DealWrite w = rowWrite(j);
      if (w.classNo == 0) {
        stopRow = j;
        noClass = true;
        break;
      }
      writes.append({j, w, sprDeal.flag(deal::NewPart, j)});
    }
    allocatePartNumbers(writes);
    Session.CurrentProcedure = QStringLiteral("Save_Deal");
    QString tooManyParts;
    for (qsizetype i = 0; i < writes.size(); ++i) {
      if (writes[i].newPart && !PartNumber::fits(writes[i].write.partNo)) {
        tooManyParts = writes[i].write.dealCode;
        stopRow = writes[i].row;
        noClass = false;
        writes.resize(i);
        break;
      }
    }

    QStringList statements;
    for (const RowWrite& w : writes) {
      statements << (w.newPart && !w.landed ? DealStatements::insert(Session.CompanyCode, form.mskM, w.write)
                                            : DealStatements::update(Session.CompanyCode, form.mskM, w.write));
      if (w.newPart)
        sprDeal.setTag(CellRange::cell(deal::PartNo, w.row), w.write.partNo);
    }
    // The bar moves by rows as the results arrive; unchanged rows move it along with the
    // changed row before them.
    int shown = 0;
    auto showUpTo = [&](int last) {
      while (shown < last)
        showProgress(++shown, rows);
    };
    showUpTo((writes.isEmpty() ? stopRow : writes.first().row) - 1);
    // An update that matched no row found its entry gone (deleted on another computer
    // since the month was loaded): that row is not saved, whatever the server says.
    QList<int> gone;
    executeSqlBatch(statements, [&](int i, qint64 matched) {
      const RowWrite& w = writes[i];
      if ((!w.newPart || w.landed) && matched == 0) {
        gone << w.row;
      } else {
        DealPainter::markSaved(sprDeal, w.row, w.newPart ? w.write.partNo : QString());
        ++saved;
      }
      ui().pumpEvents();
      showUpTo((i + 1 < writes.size() ? writes[i + 1].row : stopRow) - 1);
    });

    if (!gone.isEmpty()) {
      conn.close();
      QStringList where;
      for (int r : gone)
        where << QString::number(r) + QStringLiteral("행");
      warn(QStringLiteral("[ ") + where.join(QStringLiteral(", ")) +
           QStringLiteral(" ]의 거래내역이 다른 곳에서 삭제되어 저장하지 못했습니다. ([ ") +
           QString::number(saved) + QStringLiteral(" ]건은 저장되었습니다.)") +
           kTwoBreaks + QStringLiteral("[취소]로 작업을 마친 후 거래내역을 다시 확인해주세요."));
      keepWorkAfterFailure(saved);
      return false;
    }
    if (noClass) {
      warn(QStringLiteral("거래구분 오류입니다. 확인이 필요하니 현재 상태 그대로 연락주세요."));
      conn.close();
      if (saved > 0)
        saveFailed(saved);
      return false;
    }
    if (!tooManyParts.isEmpty()) {
      conn.close();
      warn(QStringLiteral("[거래번호 ") + tooManyParts +
           QStringLiteral("]의 분할 건수가 999건을 넘어 더 저장할 수 없습니다.") + savedSoFar(saved) +
           kTwoBreaks + QStringLiteral("저장을 취소합니다."));
      keepWorkAfterFailure(saved);
      return false;
    }
  } catch (const RuntimeError& e) {
    g_Err_Msg(e, ScreenName);
    conn.close();
    saveFailed(saved);
    return false;
  }

  ui().pumpEvents();
  const QString done = QStringLiteral("[ ") + QString::number(check.changedRows) +
                       QStringLiteral(" ]건이 정상적으로 저장되었습니다.");
  form.xBarText = done;
  form.xBarValue = 100;
  form.notify();
  {
    SharedMainConn reload; // the month comes back over the save's own connection
    Set_Deal_List(0);
  }
  conn.close();
  notice(done, Icon::Information);
  return true;
}

QString Ledger::savedSoFar(int savedRows)
{
  return QStringLiteral(" (오류 전에 [ ") + QString::number(savedRows) +
         QStringLiteral(" ]건이 저장되었습니다.)");
}

void Ledger::saveFailed(int savedRows)
{
  warn(QStringLiteral("저장시 오류가 발생하였습니다.") + savedSoFar(savedRows) + kTwoBreaks +
       QStringLiteral("지금 상태 그대로 개발사로 연락주세요."));
  keepWorkAfterFailure(savedRows);
}

void Ledger::keepWorkAfterFailure(int savedRows)
{
  // Rows are written one statement at a time without a transaction. The rows already
  // written were unmarked as they went; the others keep their marks and typed values,
  // so saving again completes the work. Reloading here would throw those edits away
  // (and leave an empty grid when the server is gone).
  if (savedRows > 0)
    Set_Total_Info();
}

void Ledger::chk_Order()
{
  Session.CurrentProcedure = QStringLiteral("chk_Order");
  if (RegistrationOrder::broken(sprDeal))
    warn(QStringLiteral("등록된 거래내역의 등록순서가 맞지 않습니다.") + kTwoBreaks +
         QStringLiteral("확인이 필요하니 반드시 연락주세요."));
}

void Ledger::Form_QueryUnload(bool& cancel)
{
  if (m_host.workTag(1) == kWork || m_host.workTag(0) == kWork) {
    warn(QStringLiteral("현재 신규 또는 수정작업중입니다.") + kTwoBreaks +
         QStringLiteral("작업을 모두 마친 후 종료해주세요."));
    cancel = true;
    return;
  }
  lists.release();
  m_host.removeQuickButton(ScreenName);
}

} // namespace vcm
