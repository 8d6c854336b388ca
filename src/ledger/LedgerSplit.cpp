// The ledger's split, part removal and deletion of marked entries.
#include "ledger/Ledger.h"

#include "common/ErrMsg.h"
#include "common/MainConn.h"
#include "common/RuntimeError.h"
#include "common/Session.h"
#include "common/TextHelpers.h"
#include "ledger/DealColumns.h"
#include "ledger/DealSplit.h"
#include "ledger/DealStatements.h"
#include "platform/Ui.h"

#include <QElapsedTimer>

#include <QScopeGuard>

namespace vcm {

namespace {

/// How long the delete's notice may stay open before the reload opens a connection of its
/// own rather than reusing one that sat idle meanwhile.
constexpr qint64 kReuseAfterNoticeMs = 30'000;

/// The split and the removal act on the selected row, and only with the right to work.
bool rowToWorkOn(Ledger& ledger, const QString& noRow)
{
  if (!ledger.chk_Work_Right())
    return false;
  if (ledger.Cur_Row <= 0) {
    notice(noRow, Icon::Exclamation);
    return false;
  }
  return true;
}

} // namespace

void Ledger::cmdRowAdd_Divide_Click(int parts)
{
  m_proposalUndo.clear(); // rows move: what was accepted stays accepted
  // From a button or the pop-up menu, the next keystroke belongs to the grid again.
  const auto backToGrid = qScopeGuard([this] { form.setFocus(LedgerForm::Focus::Deal); });
  try {
    if (!rowToWorkOn(*this, QStringLiteral("[개별 분할] 작업할 거래내역을 먼저 선택하세요.")))
      return;
    const QString refusal = DealSplit::refusal(sprDeal, Cur_Row);
    if (!refusal.isEmpty()) {
      notice(refusal, Icon::Exclamation);
      return;
    }
    DealSplit::split(sprDeal, Cur_Row, parts);
    // The first new part becomes the active row in the column the member was in; it is
    // selected as from its summary.
    const int first = Cur_Row + 1;
    sprDeal.setActiveCell(sprDeal.activeColumn(), first);
    ui().pumpEvents();
    sprDeal_Click(deal::Summary, first);
    Set_Total_Info();
  } catch (const RuntimeError& e) {
    g_Err_Msg(e, ScreenName);
  }
}

void Ledger::recomputeSource(qint32 part)
{
  const QString failure = DealSplit::failureText(DealSplit::recomputeSource(sprDeal, part));
  if (!failure.isEmpty())
    notice(failure, Icon::Exclamation);
}

void Ledger::cmdRowDel_Click()
{
  m_proposalUndo.clear();
  const auto backToGrid = qScopeGuard([this] { form.setFocus(LedgerForm::Focus::Deal); });
  try {
    if (!rowToWorkOn(*this, QStringLiteral("[삭제]할 거래내역을 먼저 선택하세요.")))
      return;
    if (sprDeal.number(deal::NewPart, Cur_Row) != 1) {
      notice(QStringLiteral("[행삭제]는 신규 [개별분할] 거래내역만 가능합니다. 취소합니다."), Icon::Exclamation);
      return;
    }
    const QString failure = DealSplit::failureText(DealSplit::removePart(sprDeal, Cur_Row));
    if (!failure.isEmpty())
      notice(failure, Icon::Exclamation);
    sprDeal_Click(sprDeal.activeColumn(), Cur_Row - 1);
    Set_Total_Info();
    notice(QStringLiteral("정상적으로 삭제되었습니다."), Icon::Information);
  } catch (const RuntimeError& e) {
    g_Err_Msg(e, ScreenName);
  }
}

void Ledger::Del_Noim()
{
  Session.CurrentProcedure = QStringLiteral("Del_Noim");
  QList<int> marked;
  for (int r = 1; r <= sprDeal.rowCount(); ++r) {
    if (!sprDeal.flag(deal::Check, r))
      continue;
    if (sprDeal.number(deal::PartNo, r) == 1) {
      notice(QStringLiteral("원본 거래내역은 삭제할 수 없습니다.( ") + QString::number(r) +
                 QStringLiteral(" 행)\n\n해당행의 체크를 제거 후 다시 시도하세요."),
             Icon::Exclamation);
      g_Nothing_MainConn();
      return;
    }
    marked << r;
  }
  if (marked.isEmpty()) {
    notice(QStringLiteral("삭제할 거래내역을 먼저 체크해주세요."), Icon::Exclamation);
    return;
  }
  if (notice(QStringLiteral("[ ") + QString::number(marked.size()) + QStringLiteral(" ] 건의 거래내역을 삭제하시겠습니까?"),
             Icon::Question, Buttons::YesNo) != Answer::Yes)
    return;

  MainConnScope conn;
  int deleted = 0;
  try {
    conn.open();
    QStringList statements;
    for (int r : marked)
      statements << DealStatements::deleteEntry(Session.CompanyCode, form.mskM, sprDeal.text(deal::DealCode, r),
                                                sprDeal.text(deal::PartNo, r));
    // All in one go: a delete sent again does no harm, and the month is reloaded after
    // a failure, so the member sees what is gone either way.
    Session.Connection->executeBatch(statements, [&](int, Connection::StatementResult&) {
      ++deleted;
      ui().pumpEvents();
    });
  } catch (const RuntimeError& e) {
    g_Err_Msg(e, ScreenName);
    conn.close();
    // Each entry goes in a statement of its own and the server stops at the failing one,
    // so those before it are gone:
    // say how many, and show the month as the database now holds it.
    notice(QStringLiteral("삭제시 오류가 발생하였습니다. (오류 전에 [ ") + QString::number(deleted) +
               QStringLiteral(" ]건이 삭제되었습니다.)\n\n지금 상태 그대로 개발사로 연락주세요."),
           Icon::Exclamation);
    Set_Deal_List(0);
    return;
  }
  QElapsedTimer answered;
  answered.start();
  notice(QStringLiteral("정상적으로 삭제되었습니다."), Icon::Information);
  // The month comes back over the delete's own connection, unless the notice stayed
  // open long enough for an idle link to have been dropped on the way.
  SharedMainConn reload(answered.elapsed() < kReuseAfterNoticeMs);
  Set_Deal_List(0);
}

} // namespace vcm
