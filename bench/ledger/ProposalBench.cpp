// How good and how fast the account proposals are, in one run:
//  - BM_ReplayDemoHistory: the demo centre's two years replayed month by month, each month
//    proposed from the twelve before it and compared with the accounts really assigned
//    (counters: share of rows with a proposal, share of proposals that were right, and the
//    share right among repeating rows, whose counterpart or summary the year had seen);
//  - BM_Propose5000From60000: proposals for a month of 5,000 entries from 60,000 entries of
//    history (query included), against fetching the same history query with bare
//    libmariadb, the floor of any proposal that asks the server.

#include "common/MainConn.h"
#include "common/Session.h"
#include "common/db/EucKr.h"
#include "common/grid/GridView.h"
#include "ledger/AccountProposals.h"
#include "ledger/DealColumns.h"
#include "ledger/Ledger.h"
#include "BenchHost.h"
#include "BackendBench.h"
#include "platform/ScriptedUi.h"
#include "support/TestBackend.h"

#include <QApplication>
#include <QSet>

#include <benchmark/benchmark.h>
#include <mysql.h>

#include <chrono>
#include <cstdio>

using namespace vcm;
using Clock = std::chrono::steady_clock;

namespace {

const QString Company = QStringLiteral("LP01");
constexpr int Entries = 5000;
constexpr int HistoryMonths = 12;

test::Backend& backend() { return test::Backend::shared(); }
double ms(Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }
QString monthOf(int year, int month) { return QStringLiteral("%1.%2").arg(year).arg(month, 2, 10, QLatin1Char('0')); }

void BM_ReplayDemoHistory(benchmark::State& state)
{
  auto& be = backend();
  const QString com = be.value(QStringLiteral("COM_CD"));
  AccountProposals::Chart chart;
  for (const QStringList& a : be.adminQuery(
           QStringLiteral("SELECT ACC_CD, ACC_GUBUN FROM SET_ACCOUNT_LIST WHERE COM_CD = '%1'").arg(com)))
    chart.insert(a[0], a[1].toInt());
  const QList<QStringList> rows = be.adminQuery(
      QStringLiteral("SELECT DEAL_MON, DEAL_CD_2, DACC_GUBUN, DACC_CD, DEAL_CUST, DEAL_SUMM, DEAL_DT FROM DEAL_LIST "
                     "WHERE COM_CD = '%1' AND TRANS_DIV IN (1, 9) ORDER BY DEAL_MON, DEAL_CD, DEAL_CD_2").arg(com));
  QStringList months;
  for (const QStringList& r : rows)
    if (months.isEmpty() || months.last() != r[0])
      months << r[0];
  double rowsSeen = 0, proposed = 0, right = 0, repeating = 0, repeatingRight = 0;
  for (auto _ : state) {
    rowsSeen = proposed = right = repeating = repeatingRight = 0;
    for (int i = 1; i < months.size(); ++i) {
      const QString from = months[std::max(0, i - HistoryMonths)];
      AccountProposals history;
      QSet<QString> seen;
      for (const QStringList& r : rows)
        if (r[0] >= from && r[0] < months[i] && !r[3].isEmpty()) {
          history.add(r[4], r[5], r[3], 1, r[0] + r[6]);
          seen << QStringLiteral("c") + r[4].simplified() << QStringLiteral("s") + r[5].simplified();
        }
      for (const QStringList& r : rows) {
        if (r[0] != months[i] || r[1] != QLatin1String("001") || r[3].isEmpty())
          continue; // only source entries with a known answer
        const auto p = history.propose(r[4], r[5], r[2].toInt(), chart);
        const bool repeats = (!r[4].trimmed().isEmpty() && seen.contains(QStringLiteral("c") + r[4].simplified())) ||
                             seen.contains(QStringLiteral("s") + r[5].simplified());
        rowsSeen += 1;
        proposed += p.isValid();
        right += p.account == r[3];
        repeating += repeats;
        repeatingRight += repeats && p.account == r[3];
      }
    }
  }
  state.counters["months"] = months.size() - 1;
  state.counters["rows"] = rowsSeen;
  state.counters["proposed_share"] = proposed / rowsSeen;
  state.counters["right_of_proposed"] = right / std::max(1.0, proposed);
  state.counters["repeating_share"] = repeating / rowsSeen;
  state.counters["right_of_repeating"] = repeatingRight / std::max(1.0, repeating);
}

QString benchMonth() { return monthOf(2024, 12); }

void seed()
{
  auto& be = backend();
  const QString c = QLatin1Char('\'') + Company + QLatin1Char('\'');
  for (const char* t : {"DEAL_LIST", "SET_ACCOUNT_LIST", "SET_BUSI_LIST", "SET_BANK_LIST"})
    be.adminExec(QStringLiteral("DELETE FROM %1 WHERE COM_CD = %2").arg(QLatin1String(t), c));
  QStringList v;
  for (int i = 0; i < 40; ++i)
    v << QStringLiteral("(%1,'%2',%3,'계정이름%4',0)").arg(c).arg(100 + i).arg(i % 3 == 0 ? 1 : 2).arg(i, 2, 10, QLatin1Char('0'));
  be.adminExec(QStringLiteral("INSERT INTO SET_ACCOUNT_LIST VALUES ") + v.join(u','));
  be.adminExec(QStringLiteral("INSERT INTO SET_BUSI_LIST VALUES (%1,'01','사업',0)").arg(c));
  be.adminExec(QStringLiteral("INSERT INTO SET_BANK_LIST VALUES (%1,'001','은행 계좌','0')").arg(c));
  // Twelve months of assigned entries and the month to propose for, without accounts:
  // 600 counterparts and 300 summaries that repeat, each with its habitual account.
  for (int m = 0; m <= HistoryMonths; ++m) {
    const bool open = m == HistoryMonths;
    const QString month = open ? benchMonth() : (m == 0 ? monthOf(2023, 12) : monthOf(2024, m));
    v.clear();
    for (int i = 0; i < Entries; ++i) {
      const int cust = (i * 7 + m) % 600;
      const bool in = cust % 4 == 0;
      const int account = in ? 100 + 3 * (cust % 13) : 101 + 3 * (cust % 13);
      v << QStringLiteral("(%1,'%2','D%3','001',%4,'%2.%5','01','%6','','001','적요 %7','거래처 %8','',"
                          "%9,%10,0,'','','','','','',0,0,0,9)")
               .arg(c, month)
               .arg(i, 5, 10, QLatin1Char('0'))
               .arg(in ? 1 : 2)
               .arg(1 + i % 28, 2, 10, QLatin1Char('0'))
               .arg(open ? QString() : QString::number(account))
               .arg(cust % 300)
               .arg(cust)
               .arg(in ? 1000 + i : 0)
               .arg(in ? 0 : 2000 + i);
    }
    be.adminExec(QStringLiteral("INSERT INTO DEAL_LIST VALUES ") + v.join(u','));
  }
}

MYSQL* connectRaw() { return bench::connectRaw(backend()); }

size_t rawFetch(const QByteArray& sql)
{
  MYSQL* m = connectRaw();
  size_t bytes = 0;
  if (mysql_real_query(m, sql.constData(), unsigned(sql.size())) == 0) {
    MYSQL_RES* res = mysql_store_result(m);
    while (MYSQL_ROW row = mysql_fetch_row(res)) {
      unsigned long* len = mysql_fetch_lengths(res);
      for (unsigned i = 0; i < mysql_num_fields(res); ++i)
        bytes += row[i] ? len[i] : 0;
    }
    mysql_free_result(res);
  }
  mysql_close(m);
  return bytes;
}

void BM_Propose5000From60000(benchmark::State& state)
{
  bench::BenchHost host;
  GridView deal, picker;
  Ledger ledger(host, deal.grid(), picker.grid());
  ledger.Form_Load();
  ledger.form.mskM = benchMonth();
  ledger.Set_Deal_List(0);
  // The baseline is the statement the ledger sends with the whole month on screen.
  const QByteArray sql = *euckr::encode(AccountProposals::historySql(Company, benchMonth(), false));
  double raw = 0, propose = 0;
  for (auto _ : state) {
    // Each round is a new start of work, as the member makes it: the last one ended first.
    ledger.State_Div(QStringLiteral("CANCEL"));
    auto t0 = Clock::now();
    benchmark::DoNotOptimize(rawFetch(sql));
    auto t1 = Clock::now();
    ledger.proposeAccounts();
    auto t2 = Clock::now();
    raw += ms(t1 - t0);
    propose += ms(t2 - t1);
  }
  int hinted = 0;
  for (int r = 1; r <= ledger.sprDeal.rowCount(); ++r)
    hinted += !ledger.sprDeal.hint(deal::Account, r).isEmpty();
  if (ledger.sprDeal.rowCount() != Entries || hinted != Entries)
    state.SkipWithError("not every entry got its proposal");
  state.counters["raw_ms"] = raw / double(state.iterations());
  state.counters["proposals_ms"] = propose / double(state.iterations());
  state.counters["ratio"] = propose / raw;
}

} // namespace

BENCHMARK(BM_ReplayDemoHistory)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_Propose5000From60000)->Unit(benchmark::kMillisecond)->Iterations(10);

int main(int argc, char** argv)
{
  return bench::runBackendBenchmarks(argc, argv, Company, [](test::Backend& be) {
    seed();
    return be.connectionString();
  });
}
