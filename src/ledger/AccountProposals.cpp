#include "ledger/AccountProposals.h"

#include "common/TextHelpers.h"
#include "common/db/RecordSet.h"
#include "ledger/CodeLists.h"


namespace vcm {

QString AccountProposals::Proposal::reason() const
{
  const QString what = basis == Basis::Counterpart ? QStringLiteral("거래처")
                       : basis == Basis::Summary   ? QStringLiteral("적요")
                                                   : QStringLiteral("적요 낱말");
  return what + QStringLiteral(" [") + key + QStringLiteral("] 지난 12개월 ") + QString::number(count) +
         QStringLiteral("회");
}

QString AccountProposals::historySql(const QString& companyCode, const QString& month, bool withMonth)
{
  // A year back from the month shown, the month itself included: what was assigned there
  // already is the centre's latest habit.
  const QString year = month.left(4);
  const QString from = QString::number(year.toInt() - 1).rightJustified(4, QLatin1Char('0')) + month.mid(4);
  return QStringLiteral("SELECT DEAL_CUST , DEAL_SUMM , DACC_CD , COUNT(*) AS CNT ,"
                        " MAX(CONCAT(DEAL_MON, DEAL_DT)) AS LAST_AT\n"
                        " FROM DEAL_LIST\n"
                        " WHERE COM_CD = '") +
         g_SqlStr(companyCode) + QStringLiteral("'\n AND DEAL_MON >= '") + g_SqlStr(from) +
         (withMonth ? QStringLiteral("'\n AND DEAL_MON <= '") : QStringLiteral("'\n AND DEAL_MON < '")) +
         g_SqlStr(month) +
         QStringLiteral("'\n AND DACC_CD <> ''\n"
                        // Grouped by bytes, unsorted: learn() folds case and blanks itself, and
                        // the collation's comparisons are most of the server's time.
                        " GROUP BY BINARY DEAL_CUST , BINARY DEAL_SUMM , BINARY DACC_CD ORDER BY NULL");
}

void AccountProposals::learn(RecordSet& history)
{
  const int cust = history.columnIndex(QStringLiteral("DEAL_CUST"));
  const int summ = history.columnIndex(QStringLiteral("DEAL_SUMM"));
  const int acc = history.columnIndex(QStringLiteral("DACC_CD"));
  const int cnt = history.columnIndex(QStringLiteral("CNT"));
  const int last = history.columnIndex(QStringLiteral("LAST_AT"));
  if (history.recordCount() > 0)
    history.moveFirst();
  for (; !history.eof(); history.moveNext())
    add(history.value(cust), history.value(summ), history.trimmedValue(acc), int(history.number(cnt)),
        history.value(last));
}

void AccountProposals::add(const QString& counterpart, const QString& summary, const QString& account,
                           int count, const QString& last)
{
  if (account.isEmpty() || count <= 0)
    return;
  const QString c = keyOf(counterpart);
  if (!c.isEmpty()) {
    addUse(m_byCounterpart[c], account, count, last);
    addUse(m_byPair[c + QChar(0x1F) + keyOf(summary)], account, count, last);
  }
  if (const QString s = keyOf(summary); !s.isEmpty()) {
    addUse(m_bySummary[s], account, count, last);
    for (const QString& w : words(s))
      addUse(m_byWord[w], account, count, last);
  }
}

void AccountProposals::clear()
{
  m_byPair.clear();
  m_byCounterpart.clear();
  m_bySummary.clear();
  m_byWord.clear();
}

AccountProposals::Chart AccountProposals::chartOf(const CodeLists& lists)
{
  Chart chart;
  for (const CodeLists::Account& a : lists.accounts())
    chart.insert(a.code, a.classNo);
  return chart;
}

AccountProposals::Proposal AccountProposals::propose(const QString& counterpart, const QString& summary,
                                                     int entryClass, const Chart& chart) const
{
  Proposal p;
  if (entryClass != 1 && entryClass != 2)
    return p;
  auto fits = [&](const QString& code) {
    const auto it = chart.constFind(code);
    return it != chart.constEnd() && (*it == 1) == (entryClass == 1);
  };
  auto from = [&](const QHash<QString, Tally>& index, const QString& key, Basis basis) {
    const auto it = index.constFind(key);
    if (it == index.constEnd())
      return false;
    p.account = best(*it, fits, &p.count);
    p.basis = basis;
    return p.isValid();
  };
  const QString c = keyOf(counterpart);
  const QString s = keyOf(summary);
  if (!c.isEmpty() && (from(m_byPair, c + QChar(0x1F) + s, Basis::Counterpart) ||
                       from(m_byCounterpart, c, Basis::Counterpart))) {
    p.key = counterpart.simplified();
    return p;
  }
  if (s.isEmpty())
    return p;
  if (from(m_bySummary, s, Basis::Summary)) {
    p.key = summary.simplified();
    return p;
  }
  // The words vote together; the word that gave the winner most names the reason.
  Tally votes;
  const QStringList ws = words(s);
  for (const QString& w : ws) {
    const auto it = m_byWord.constFind(w);
    if (it == m_byWord.constEnd())
      continue;
    for (auto u = it->constBegin(); u != it->constEnd(); ++u)
      addUse(votes, u.key(), u->count, u->last);
  }
  int total = 0;
  p.account = best(votes, fits, &total);
  if (!p.isValid())
    return p;
  p.basis = Basis::Word;
  p.count = 0;
  for (const QString& w : ws) {
    const auto it = m_byWord.constFind(w);
    const int n = it == m_byWord.constEnd() ? 0 : it->value(p.account).count;
    if (n > p.count) {
      p.count = n;
      p.key = w;
    }
  }
  return p;
}

QStringList AccountProposals::words(const QString& summary)
{
  QStringList out;
  const QString folded = summary.toCaseFolded();
  qsizetype start = -1;
  for (qsizetype i = 0; i <= folded.size(); ++i) {
    const bool letter = i < folded.size() && folded.at(i).isLetter();
    if (letter && start < 0) {
      start = i;
    } else if (!letter && start >= 0) {
      if (i - start >= 2) {
        const QString w = folded.mid(start, i - start);
        if (!out.contains(w))
          out.append(w);
      }
      start = -1;
    }
  }
  return out;
}

QString AccountProposals::keyOf(const QString& text)
{
  return text.simplified().toCaseFolded();
}

void AccountProposals::addUse(Tally& tally, const QString& account, int count, const QString& last)
{
  Use& u = tally[account];
  u.count += count;
  if (last > u.last)
    u.last = last;
}

template <class Fits>
QString AccountProposals::best(const Tally& tally, Fits fits, int* count)
{
  QString found;
  const Use* top = nullptr;
  for (auto it = tally.constBegin(); it != tally.constEnd(); ++it) {
    if (!fits(it.key()))
      continue;
    const Use& u = *it;
    const bool better = !top || u.count > top->count ||
                        (u.count == top->count && (u.last > top->last ||
                                                   (u.last == top->last && it.key() < found)));
    if (better) {
      top = &u;
      found = it.key();
    }
  }
  if (count)
    *count = top ? top->count : 0;
  return found;
}

} // namespace vcm
