// Account proposals: the ledger's side (learning as work starts, showing, accepting,
// taking back). What a proposal is lives in AccountProposals.
#include "ledger/Ledger.h"

#include "common/ErrMsg.h"
#include "common/MainConn.h"
#include "common/RuntimeError.h"
#include "common/Session.h"
#include "ledger/DealColumns.h"
#include "ledger/DealPainter.h"
#include "platform/Ui.h"

#include <QHash>

namespace vcm {

namespace {

bool isSplitPart(const Grid& deal, int row)
{
  return deal.flag(deal::NewPart, row) || deal.number(deal::PartNo, row) != 1;
}

} // namespace

void Ledger::proposeAccounts()
{
  clearProposals();
  const auto failed = [this] {
    // Proposals only save typing: without them the member works as before.
    form.showStatus(QStringLiteral("지난 거래에서 계정 제안을 가져오지 못했습니다."));
  };
  const QString month = form.mskM.trimmed();
  // The month on screen, whole and as loaded, is learnt from the grid: the server then
  // goes through the months before it only.
  const bool monthOnScreen = !m_wholeMonthShown.isEmpty() && m_wholeMonthShown == month;
  MainConnScope conn;
  try {
    conn.open();
    sendQuery(AccountProposals::historySql(Session.CompanyCode, month, !monthOnScreen));
  } catch (const RuntimeError&) {
    return failed();
  }

  // While the server goes through the year, the rows without an account are gathered,
  // and the month's own assignments counted. A month repeats its counterparts and
  // summaries: each combination is worked out once.
  struct Assigned {
    QString counterpart;
    QString summary;
    QString account;
    int count = 0;
    QString last;
  };
  QHash<QString, Assigned> assigned;
  struct Wanted {
    QString counterpart;
    QString summary;
    int entryClass;
  };
  QList<Wanted> wanted;
  QHash<QString, int> wantedIndex;
  QList<QPair<int, int>> rows;  // row, index into wanted
  for (int r = 1; r <= sprDeal.rowCount(); ++r) {
    if (const QString account = sprDeal.text(deal::Account, r).left(3).trimmed(); !account.isEmpty()) {
      if (monthOnScreen) {
        const QString counterpart = sprDeal.text(deal::Customer, r);
        const QString summary = sprDeal.text(deal::Summary, r);
        Assigned& a = assigned[counterpart + QChar(0x1F) + summary + QChar(0x1F) + account];
        if (a.count++ == 0)
          a = {counterpart, summary, account, 1, {}};
        a.last = qMax(a.last, month + sprDeal.text(deal::DealDate, r));
      }
      continue;
    }
    if (isSplitPart(sprDeal, r))
      continue;
    Wanted w{sprDeal.text(deal::Customer, r), sprDeal.text(deal::Summary, r), int(sprDeal.number(deal::ClassNo, r))};
    const QString key = w.counterpart + QChar(0x1F) + w.summary + QChar(0x1F) + QString::number(w.entryClass);
    auto it = wantedIndex.constFind(key);
    if (it == wantedIndex.constEnd()) {
      it = wantedIndex.insert(key, int(wanted.size()));
      wanted.append(std::move(w));
    }
    rows.append({r, *it});
  }

  try {
    std::unique_ptr<RecordSet> history = receiveRecordSet();
    m_proposals.learn(*history);
    g_Rs_Nothing(history);
    for (const Assigned& a : std::as_const(assigned))
      m_proposals.add(a.counterpart, a.summary, a.account, a.count, a.last);
  } catch (const RuntimeError&) {
    return failed();
  }
  conn.close();

  const AccountProposals::Chart chart = AccountProposals::chartOf(lists);
  struct Shown {
    QString hint;
    QString reason;
  };
  QList<Shown> shownFor;
  shownFor.reserve(wanted.size());
  for (const Wanted& w : wanted) {
    const AccountProposals::Proposal p = m_proposals.propose(w.counterpart, w.summary, w.entryClass, chart);
    const CodeLists::Account* a = p.isValid() ? lists.account(p.account) : nullptr;
    shownFor.append(a ? Shown{a->code + QLatin1Char('.') + a->name, p.reason()} : Shown{});
  }
  int shown = 0;
  {
    RedrawSuspended quiet(sprDeal);
    for (const auto& [row, index] : rows) {
      const Shown& s = shownFor[index];
      if (s.hint.isEmpty())
        continue;
      sprDeal.setHint(deal::Account, row, s.hint, s.reason);
      m_hintsShown = true;
      ++shown;
    }
  }
  if (shown > 0)
    form.showStatus(QStringLiteral("계정 제안 %1건: [F4] 한 건 적용, [제안 계정 적용] 모두 적용, [Ctrl+Z] 되돌리기")
                        .arg(shown));
  showProposalReason(Cur_Row);
}

bool Ledger::takeProposal(qint32 row, std::vector<AcceptedProposal>& undo)
{
  if (row < 1 || row > sprDeal.rowCount())
    return false;
  const QString hint = sprDeal.hint(deal::Account, row);
  if (hint.isEmpty() || !sprDeal.text(deal::Account, row).trimmed().isEmpty())
    return false;
  AcceptedProposal a{row, hint, sprDeal.hintReason(deal::Account, row), sprDeal.flag(deal::Changed, row), {}};
  a.foreground.reserve(size_t(sprDeal.columnCount()));
  for (int c = 1; c <= sprDeal.columnCount(); ++c)
    a.foreground.push_back(sprDeal.foreground(c, row));
  sprDeal.clearHint(deal::Account, row);
  sprDeal.setText(deal::Account, row, hint);
  DealPainter::markChanged(sprDeal, row);
  undo.push_back(std::move(a));
  return true;
}

bool Ledger::acceptProposal(qint32 row)
{
  if (!isWorkState())
    return false;
  std::vector<AcceptedProposal> undo;
  if (!takeProposal(row, undo))
    return false;
  m_proposalUndo.push_back(std::move(undo));
  return true;
}

void Ledger::cmdApplyProposals_Click()
{
  Session.CurrentProcedure = QStringLiteral("cmdApplyProposals_Click");
  if (!isWorkState())
    return;
  std::vector<AcceptedProposal> undo;
  {
    RedrawSuspended quiet(sprDeal);
    for (int r = 1; r <= sprDeal.rowCount(); ++r)
      takeProposal(r, undo);
  }
  if (undo.empty()) {
    notice(QStringLiteral("적용할 제안 계정이 없습니다."), Icon::Exclamation);
  } else {
    const size_t n = undo.size();
    m_proposalUndo.push_back(std::move(undo));
    notice(QStringLiteral("제안 계정 [ %1 ]건을 적용하였습니다.").arg(n), Icon::Information);
  }
  form.setFocus(LedgerForm::Focus::Deal);
}

bool Ledger::undoProposal()
{
  if (!isWorkState() || m_proposalUndo.empty())
    return false;
  std::vector<AcceptedProposal> last = std::move(m_proposalUndo.back());
  m_proposalUndo.pop_back();
  RedrawSuspended quiet(sprDeal);
  for (auto it = last.rbegin(); it != last.rend(); ++it) {
    const int r = it->row;
    sprDeal.setText(deal::Account, r, QString());
    sprDeal.setHint(deal::Account, r, it->hint, it->reason);
    sprDeal.setFlag(deal::Changed, r, it->wasChanged);
    for (int c = 1; c <= int(it->foreground.size()); ++c)
      sprDeal.setForeground(CellRange::cell(c, r), it->foreground[size_t(c - 1)]);
  }
  return true;
}

void Ledger::clearProposals()
{
  m_proposals.clear();
  m_proposalUndo.clear();
  if (!m_hintsShown)
    return;
  m_hintsShown = false;
  sprDeal.clearHints();
}

void Ledger::showProposalReason(qint32 row)
{
  if (row >= 1 && row <= sprDeal.rowCount() && sprDeal.text(deal::Account, row).trimmed().isEmpty()) {
    const QString reason = sprDeal.hintReason(deal::Account, row);
    if (!reason.isEmpty())
      form.showStatus(reason);
  }
}

} // namespace vcm
