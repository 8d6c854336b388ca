// Member actions over a distant database: every connection goes through the delaying
// proxy (tests/peers/delay_proxy.py) at 15 ms each way, a 30 ms round trip. Each action
// is compared with the floor of the same link measured in the same run: opening a
// connection plus one round trip that carries the same bytes. The proxy's counts give
// the connections and client round trips (bursts) each action costs.
//
//   VCM_TEST_ENV=<build>/test-backend/backend.env build/bench/ledger/ledger_link_bench

#include "common/MainConn.h"
#include "common/Session.h"
#include "common/db/EucKr.h"
#include "ledger/DealColumns.h"
#include "ledger/DealStatements.h"
#include "ledger/Ledger.h"
#include "login/LoginQuery.h"
#include "BenchHost.h"
#include "BackendBench.h"
#include "platform/ScriptedUi.h"
#include "support/DelayProxy.h"
#include "support/TestBackend.h"

#include <QApplication>

#include <benchmark/benchmark.h>
#include <mysql.h>

#include <chrono>
#include <cstdio>
#include <functional>

using namespace vcm;
using Clock = std::chrono::steady_clock;

namespace {

const QString Company = QStringLiteral("LR01");
const QString Month = QStringLiteral("2024.07");
constexpr int Entries = 5000;
constexpr int Changed = 500;
constexpr int Parts = 50;
constexpr double OneWayMs = 15;

test::Backend& backend() { return test::Backend::shared(); }
test::DelayProxy* g_proxy = nullptr;

double ms(Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

void seed()
{
  auto& be = backend();
  const QString c = QLatin1Char('\'') + Company + QLatin1Char('\'');
  for (const char* t : {"DEAL_LIST", "SET_ACCOUNT_LIST", "SET_BUSI_LIST", "SET_BANK_LIST"})
    be.adminExec(QStringLiteral("DELETE FROM %1 WHERE COM_CD = %2").arg(QLatin1String(t), c));
  be.adminExec(QStringLiteral("INSERT INTO SET_ACCOUNT_LIST VALUES (%1,'101',2,'생계비',0),(%1,'201',1,'본인부담금',0)").arg(c));
  be.adminExec(QStringLiteral("INSERT INTO SET_BUSI_LIST VALUES (%1,'01','방문요양',0)").arg(c));
  be.adminExec(QStringLiteral("INSERT INTO SET_BANK_LIST VALUES (%1,'001','국민 123','')").arg(c));
  QStringList v;
  for (int i = 0; i < Entries; ++i)
    v << QStringLiteral("(%1,'%2','D%3','001',2,'2024.07.03','01','101','','001','적요 %3','거래처','대상자',"
                        "0,%4,0,'본점','','','','','',0,0,0,9)")
             .arg(c, Month)
             .arg(i, 5, 10, QLatin1Char('0'))
             .arg(2000 + i);
  be.adminExec(QStringLiteral("INSERT INTO DEAL_LIST VALUES ") + v.join(u','));
}

/// The link's floor: a bare libmariadb connection through the proxy and one round trip
/// carrying `statements` as one packet, every result read.
double floorMs(const QList<QByteArray>& statements)
{
  auto& be = backend();
  const auto t0 = Clock::now();
  MYSQL* m = mysql_init(nullptr);
  mysql_optionsv(m, MYSQL_SET_CHARSET_NAME, "euckr");
  const unsigned int protocol = MYSQL_PROTOCOL_TCP;
  mysql_optionsv(m, MYSQL_OPT_PROTOCOL, &protocol);
  if (!mysql_real_connect(m, "127.0.0.1", be.dbUser().toUtf8().constData(), be.dbPassword().toUtf8().constData(),
                          be.dbName().toUtf8().constData(), unsigned(g_proxy->port()), nullptr,
                          CLIENT_MULTI_STATEMENTS)) {
    std::fprintf(stderr, "connect: %s\n", mysql_error(m));
    std::abort();
  }
  const QByteArray packet = QByteArrayList(statements).join(';');
  if (mysql_real_query(m, packet.constData(), unsigned(packet.size())) != 0)
    std::fprintf(stderr, "floor: %s\n", mysql_error(m));
  do {
    if (MYSQL_RES* r = mysql_store_result(m))
      mysql_free_result(r);
  } while (mysql_next_result(m) == 0);
  mysql_close(m);
  return ms(Clock::now() - t0);
}

/// Times `action` through the proxy; counters: ms, floor_ms, ratio, connections, bursts.
/// `prepare` runs untimed before each round; `floor` measures the round's floor, given the
/// bytes the action sent.
void measure(benchmark::State& state, const std::function<void()>& prepare, const std::function<void()>& action,
             const std::function<double(qint64)>& floorOf)
{
  double took = 0, floor = 0;
  test::LinkCounts counted;
  for (auto _ : state) {
    state.PauseTiming();
    if (prepare)
      prepare();
    const test::LinkCounts before = g_proxy->counts();
    state.ResumeTiming();
    const auto t0 = Clock::now();
    action();
    took += ms(Clock::now() - t0);
    state.PauseTiming();
    counted = g_proxy->counts() - before;
    floor += floorOf(counted.clientBytes);
    state.ResumeTiming();
  }
  const double n = double(state.iterations());
  state.counters["ms"] = took / n;
  state.counters["floor_ms"] = floor / n;
  state.counters["ratio"] = took / floor;
  state.counters["connections"] = counted.connections;
  state.counters["bursts"] = counted.bursts;
}

struct Screen {
  bench::BenchHost host;
  Grid deal, picker;
  Ledger ledger{host, deal, picker};
  Screen()
  {
    ledger.Form_Load();
    ledger.form.mskM = Month;
    ledger.Set_Deal_List(0);
  }
};

/// `Parts` rows with part number `part`, one under every 97th entry.
QStringList partRows(int part)
{
  QStringList v;
  for (int i = 0; i < Parts; ++i)
    v << QStringLiteral("('%1','%2','D%3','%4',2,'2024.07.03','01','101','','001','','','',0,1,0,'','','','','','',0,0,0,0)")
             .arg(Company, Month)
             .arg(i * 97, 5, 10, QLatin1Char('0'))
             .arg(part);
  return v;
}

/// The floor of writing or deleting `Parts` rows one statement each, then reloading.
double partsFloorMs(bool insert)
{
  auto& be = backend();
  if (!insert)
    be.adminExec(QStringLiteral("INSERT INTO DEAL_LIST VALUES ") + partRows(900).join(u','));
  QList<QByteArray> statements;
  for (const QString& row : partRows(900))
    statements << (insert ? QStringLiteral("INSERT INTO DEAL_LIST VALUES ") + row
                          : QStringLiteral("DELETE FROM DEAL_LIST WHERE COM_CD = '%1' AND DEAL_MON = '%2' AND "
                                           "DEAL_CD = '%3' AND DEAL_CD_2 = '900'")
                                .arg(Company, Month, row.section(u'\'', 5, 5)))
                      .toUtf8();
  statements << *euckr::encode(DealStatements::dealList(Company, Month, {}));
  const double took = floorMs(statements);
  be.adminExec(QStringLiteral("DELETE FROM DEAL_LIST WHERE COM_CD = '%1' AND DEAL_CD_2 = '900'").arg(Company));
  return took;
}

void BM_Login(benchmark::State& state)
{
  const QString sql = LoginQuery::build(QStringLiteral("key"), QStringLiteral("member"));
  measure(state, nullptr, [&] {
    g_Open_MainConn();
    auto rs = openRecordSet(sql);
    g_Rs_Nothing(rs);
    g_Nothing_MainConn();
  }, [&](qint64) { return floorMs({*euckr::encode(sql)}); });
}

void BM_LoadMonth(benchmark::State& state)
{
  Screen s;
  const QByteArray sql = *euckr::encode(DealStatements::dealList(Company, Month, {}));
  measure(state, nullptr, [&] { s.ledger.Set_Deal_List(0); }, [&](qint64) { return floorMs({sql}); });
  if (s.ledger.sprDeal.rowCount() != Entries)
    state.SkipWithError("the month did not load");
}

/// Save of 500 changed rows. The save reloads the month afterwards, so its floor's one
/// round trip carries the month's query after the same statements.
void BM_SaveRows(benchmark::State& state)
{
  Screen s;
  int round = 0;
  measure(
      state,
      [&] {
        ++round;
        bench::typeSummaries(s.ledger, Changed, Entries / Changed,
                             [&](int i) { return QStringLiteral("저장 %1-%2").arg(round).arg(i); });
      },
      [&] {
        if (!s.ledger.Save_Deal())
          std::abort();
        s.ledger.State_Div(QStringLiteral("CANCEL"));
      },
      [&](qint64) {
        // The same statements with other texts, so that the server really writes.
        QList<QByteArray> statements;
        for (int i = 0; i < Changed; ++i)
          statements << *euckr::encode(DealStatements::update(
              Company, Month,
              bench::directWrite(s.ledger.sprDeal, 1 + i * (Entries / Changed),
                                 QStringLiteral("직접 %1-%2").arg(round).arg(i))));
        statements << *euckr::encode(DealStatements::dealList(Company, Month, {}));
        return floorMs(statements);
      });
}

/// Save of 50 new parts, 5 under each of 10 entries.
void BM_SplitSave(benchmark::State& state)
{
  Screen s;
  measure(
      state,
      [&] {
        s.ledger.State_Div(QStringLiteral("EDIT"));
        Grid& g = s.ledger.sprDeal;
        for (int e = 0; e < Parts / 5; ++e) {
          const int source = 1 + e * 100 + e * 5;
          g.setNumber(deal::SplitOut, source, g.number(deal::OutAmount, source));
          g.setNumber(deal::OutAmount, source, g.number(deal::OutAmount, source) - 5);
          g.setText(deal::Changed, source, QStringLiteral("1"));
          for (int p = 1; p <= 5; ++p) {
            g.insertRows(source + p);
            for (int col : {deal::DealDate, deal::DealCode, deal::BusiCode, deal::BankCode, deal::ClassNo, deal::Account})
              g.setText(col, source + p, g.text(col, source));
            g.setNumber(deal::OutAmount, source + p, 1);
            g.setText(deal::NewPart, source + p, QStringLiteral("1"));
            g.setText(deal::Changed, source + p, QStringLiteral("1"));
            g.setText(deal::SplitSource, source + p, g.text(deal::DealCode, source) + g.text(deal::PartNo, source));
          }
        }
      },
      [&] {
        if (!s.ledger.Save_Deal())
          std::abort();
        s.ledger.State_Div(QStringLiteral("CANCEL"));
      },
      [](qint64) { return partsFloorMs(true); });
}

/// Deleting 50 saved parts (the ones the split save stored), which reloads the month.
void BM_DeleteParts(benchmark::State& state)
{
  Screen s;
  int round = 0;
  measure(
      state,
      [&] {
        auto& be = backend();
        ++round;
        be.adminExec(QStringLiteral("INSERT INTO DEAL_LIST VALUES ") + partRows(100 + round).join(u','));
        s.ledger.Set_Deal_List(0);
        for (int r = 1; r <= s.ledger.sprDeal.rowCount(); ++r)
          if (s.ledger.sprDeal.text(deal::PartNo, r) == QString::number(100 + round))
            s.ledger.sprDeal.setText(deal::Check, r, QStringLiteral("1"));
      },
      [&] { s.ledger.Del_Noim(); }, [](qint64) { return partsFloorMs(false); });
}

} // namespace

BENCHMARK(BM_Login)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_LoadMonth)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_SaveRows)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_SplitSave)->Unit(benchmark::kMillisecond)->Iterations(2);
BENCHMARK(BM_DeleteParts)->Unit(benchmark::kMillisecond)->Iterations(3);

int main(int argc, char** argv)
{
  std::unique_ptr<test::DelayProxy> proxy;
  return bench::runBackendBenchmarks(argc, argv, Company, [&](test::Backend& be) {
    seed();
    proxy = std::make_unique<test::DelayProxy>(be.dbPort(), OneWayMs);
    g_proxy = proxy.get();
    return be.connectionString({}, proxy->port());
  }, [&] { proxy.reset(); });
}
