// Ledger speed against the database's own floor, measured in one run:
//  - loading a month of 5,000 entries (40 accounts, 5 businesses, 5 banks) into the grid
//    against fetching the same query with bare libmariadb into plain structs;
//  - saving 500 changed rows against executing the same 500 statements directly;
//  - a row click with painting on 5,000 rows (median of single clicks);
//  - the month's load over TLS against the same load in clear text from the same server
//    (a backend of its own that offers TLS), alternating, medians of the rounds.
// Both sides of a ratio open and close their own connection, as the ledger does.

#include "common/MainConn.h"
#include "common/Session.h"
#include "common/db/EucKr.h"
#include "common/grid/GridView.h"
#include "ledger/DealColumns.h"
#include "ledger/DealStatements.h"
#include "ledger/Ledger.h"
#include "BenchHost.h"
#include "BackendBench.h"
#include "platform/ScriptedUi.h"
#include "support/TestBackend.h"

#include <QApplication>

#include <benchmark/benchmark.h>
#include <mysql.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

using namespace vcm;
using Clock = std::chrono::steady_clock;

namespace {

const QString Company = QStringLiteral("LB01");
const QString Month = QStringLiteral("2024.07");
constexpr int Entries = 5000;
constexpr int Changed = 500;

using Buttons = bench::BenchHost;

struct Deal {
  std::string comCd, dealMon, dealCd, dealCd2, daccGubun, dealDt, dbusiCd, daccCd, drevCd, dbankCd,
      dealSumm, dealCust, dealTarget, dealInAmt, dealOutAmt, dealBalance, dealGubun, dealMemo, fDamnm,
      fRegdt, lDamnm, lRegdt, wSingoDiv, receiptDiv, aboutDiv, transDiv;
};

test::Backend& backend() { return test::Backend::shared(); }

void seed(test::Backend& be)
{
  const QString c = QLatin1Char('\'') + Company + QLatin1Char('\'');
  for (const char* t : {"DEAL_LIST", "SET_ACCOUNT_LIST", "SET_BUSI_LIST", "SET_BANK_LIST"})
    be.adminExec(QStringLiteral("DELETE FROM %1 WHERE COM_CD = %2").arg(QLatin1String(t), c));
  QStringList v;
  for (int i = 0; i < 40; ++i)
    v << QStringLiteral("(%1,'%2',%3,'계정이름%4',0)").arg(c).arg(100 + i).arg(i % 3 == 0 ? 1 : 2).arg(i, 2, 10, QLatin1Char('0'));
  be.adminExec(QStringLiteral("INSERT INTO SET_ACCOUNT_LIST VALUES ") + v.join(u','));
  v.clear();
  for (int i = 1; i <= 5; ++i)
    v << QStringLiteral("(%1,'0%2','사업 %2',0)").arg(c).arg(i);
  be.adminExec(QStringLiteral("INSERT INTO SET_BUSI_LIST VALUES ") + v.join(u','));
  v.clear();
  for (int i = 1; i <= 5; ++i)
    v << QStringLiteral("(%1,'00%2','은행 계좌 %2','%3')").arg(c).arg(i).arg(i * 1000003 % 16777215);
  be.adminExec(QStringLiteral("INSERT INTO SET_BANK_LIST VALUES ") + v.join(u','));
  v.clear();
  for (int i = 0; i < Entries; ++i) {
    const bool in = i % 4 == 0;
    v << QStringLiteral("(%1,'%2','D%3','001',%4,'2024.07.%5','0%6','%7','','00%8','적요 내용 %3','거래처 %9','대상자',"
                        "%10,%11,0,'본점','',  '', '', '', '', 0, 0, 0, 9)")
             .arg(c, Month)
             .arg(i, 5, 10, QLatin1Char('0'))
             .arg(in ? 1 : 2)
             .arg(1 + i % 28, 2, 10, QLatin1Char('0'))
             .arg(1 + i % 5)
             .arg(in ? 100 + 3 * (i % 13) : 101 + 3 * (i % 13)) // an account of the entry's class
             .arg(1 + (i / 1000) % 5)
             .arg(i % 97)
             .arg(in ? 1000 + i : 0)
             .arg(in ? 0 : 2000 + i);
  }
  be.adminExec(QStringLiteral("INSERT INTO DEAL_LIST VALUES ") + v.join(u','));
}

MYSQL* connectRaw() { return bench::connectRaw(backend()); }

std::vector<Deal> rawFetch(const QByteArray& sql)
{
  MYSQL* m = connectRaw();
  std::vector<Deal> out;
  if (mysql_real_query(m, sql.constData(), unsigned(sql.size())) == 0) {
    MYSQL_RES* res = mysql_store_result(m);
    out.reserve(mysql_num_rows(res));
    while (MYSQL_ROW row = mysql_fetch_row(res)) {
      unsigned long* len = mysql_fetch_lengths(res);
      auto s = [&](int i) { return row[i] ? std::string(row[i], len[i]) : std::string(); };
      out.push_back({s(0), s(1), s(2), s(3), s(4), s(5), s(6), s(7), s(8), s(9), s(10), s(11), s(12),
                     s(13), s(14), s(15), s(16), s(17), s(18), s(19), s(20), s(21), s(22), s(23), s(24),
                     s(25)});
    }
    mysql_free_result(res);
  }
  mysql_close(m);
  return out;
}

void rawExecute(const std::vector<QByteArray>& statements)
{
  MYSQL* m = connectRaw();
  for (const QByteArray& s : statements)
    if (mysql_real_query(m, s.constData(), unsigned(s.size())) != 0)
      std::fprintf(stderr, "execute: %s\n", mysql_error(m));
  mysql_close(m);
}

/// A ledger over a GridView, so that the view's notifications are paid for too.
struct Screen {
  Buttons host;
  GridView deal;
  GridView picker;
  Ledger ledger{host, deal.grid(), picker.grid()};
  Screen()
  {
    ledger.Form_Load();
    ledger.form.mskM = Month;
  }
};

double ms(Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

void BM_LoadMonth(benchmark::State& state)
{
  Screen s;
  const QByteArray sql = *euckr::encode(DealStatements::dealList(Company, Month, {}));
  double raw = 0, load = 0;
  for (auto _ : state) {
    auto t0 = Clock::now();
    benchmark::DoNotOptimize(rawFetch(sql));
    auto t1 = Clock::now();
    s.ledger.Set_Deal_List(0);
    auto t2 = Clock::now();
    raw += ms(t1 - t0);
    load += ms(t2 - t1);
  }
  if (s.ledger.sprDeal.rowCount() != Entries)
    state.SkipWithError("the month did not load");
  state.counters["raw_ms"] = raw / double(state.iterations());
  state.counters["ledger_ms"] = load / double(state.iterations());
  state.counters["ratio"] = load / raw;
}

/// The database layer's share of a load: the same query into a record set, no grid.
void BM_RecordSetOnly(benchmark::State& state)
{
  const QString sql = DealStatements::dealList(Company, Month, {});
  for (auto _ : state) {
    g_Open_MainConn();
    auto rs = openRecordSet(sql);
    benchmark::DoNotOptimize(rs->recordCount());
    g_Rs_Nothing(rs);
    g_Nothing_MainConn();
  }
}

/// The ledger's own share: the same load into grids that no view shows.
void BM_LoadWithoutView(benchmark::State& state)
{
  Buttons host;
  Grid deal, picker;
  Ledger ledger(host, deal, picker);
  ledger.Form_Load();
  ledger.form.mskM = Month;
  for (auto _ : state)
    ledger.Set_Deal_List(0);
}

void BM_SaveRows(benchmark::State& state)
{
  Screen s;
  s.ledger.Set_Deal_List(0);
  double raw = 0, save = 0;
  int round = 0;
  for (auto _ : state) {
    ++round;
    // The same 500 rows change each round, first through the ledger and then as the
    // same statements sent directly (with other texts, so both really write).
    state.PauseTiming();
    std::vector<QByteArray> statements;
    bench::typeSummaries(s.ledger, Changed, Entries / Changed,
                         [&](int i) { return QStringLiteral("저장 %1-%2").arg(round).arg(i); });
    state.ResumeTiming();
    auto t0 = Clock::now();
    const bool ok = s.ledger.Save_Deal();
    auto t1 = Clock::now();
    if (!ok) {
      state.SkipWithError("save failed");
      break;
    }
    state.PauseTiming();
    s.ledger.State_Div(QStringLiteral("CANCEL"));
    for (int i = 0; i < Changed; ++i) {
      const DealWrite w = bench::directWrite(s.ledger.sprDeal, 1 + i * (Entries / Changed),
                                             QStringLiteral("직접 %1-%2").arg(round).arg(i));
      statements.push_back(*euckr::encode(DealStatements::update(Company, Month, w)));
    }
    state.ResumeTiming();
    auto t2 = Clock::now();
    rawExecute(statements);
    auto t3 = Clock::now();
    save += ms(t1 - t0);
    raw += ms(t3 - t2);
  }
  state.counters["raw_ms"] = raw / double(state.iterations());
  state.counters["ledger_ms"] = save / double(state.iterations());
  state.counters["ratio"] = save / raw;
}

void BM_RowClick(benchmark::State& state)
{
  Screen s;
  s.ledger.Set_Deal_List(0);
  std::vector<double> clicks;
  int r = 1;
  for (auto _ : state) {
    r = r % Entries + 97;
    if (r > Entries)
      r -= Entries;
    auto t0 = Clock::now();
    s.ledger.sprDeal_Click(deal::Summary, r);
    clicks.push_back(std::chrono::duration<double, std::micro>(Clock::now() - t0).count());
  }
  std::sort(clicks.begin(), clicks.end());
  state.counters["median_us"] = clicks.empty() ? 0 : clicks[clicks.size() / 2];
  state.counters["rows"] = s.ledger.sprDeal.rowCount();
}

double median(std::vector<double> v)
{
  std::sort(v.begin(), v.end());
  return v.empty() ? 0 : v[v.size() / 2];
}

void BM_LoadMonthTls(benchmark::State& state)
{
  test::IsolatedOptions options;
  options.noLocalGrant = false;
  options.schemaOnly = true;
  options.tls = true;
  const auto tls = test::Backend::startIsolated(options);
  seed(*tls);
  const QString shared = Session.ConnectionString;
  Session.ConnectionString = tls->connectionString();
  Screen s;
  std::vector<double> clear, secured;
  bool encrypted = true;
  for (auto _ : state) {
    for (const bool useTls : {false, true}) {
      Session.Tls = {};
      Session.Tls.db = useTls ? TlsMode::Required : TlsMode::Off;
      Session.Tls.caFile = tls->value(QStringLiteral("TLS_CA"));
      const auto t0 = Clock::now();
      s.ledger.Set_Deal_List(0);
      (useTls ? secured : clear).push_back(ms(Clock::now() - t0));
      if (useTls)
        encrypted &= Session.DbLink.encrypted;
    }
  }
  if (!encrypted || s.ledger.sprDeal.rowCount() != Entries)
    state.SkipWithError("the month did not load over TLS");
  state.counters["clear_median_ms"] = median(clear);
  state.counters["tls_median_ms"] = median(secured);
  state.counters["ratio"] = median(secured) / median(clear);
  Session.Tls = {};
  Session.ConnectionString = shared;
}

} // namespace

BENCHMARK(BM_LoadMonthTls)->Unit(benchmark::kMillisecond)->Iterations(15);
BENCHMARK(BM_LoadMonth)->Unit(benchmark::kMillisecond)->Iterations(20);
BENCHMARK(BM_RecordSetOnly)->Unit(benchmark::kMillisecond)->Iterations(20);
BENCHMARK(BM_LoadWithoutView)->Unit(benchmark::kMillisecond)->Iterations(20);
BENCHMARK(BM_SaveRows)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_RowClick)->Unit(benchmark::kMicrosecond)->Iterations(2000);

int main(int argc, char** argv)
{
  return bench::runBackendBenchmarks(argc, argv, Company, [](test::Backend& be) {
    seed(be);
    return be.connectionString();
  });
}
