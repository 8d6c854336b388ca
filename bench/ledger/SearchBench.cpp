// The ledger's search on a 5,000-row month with the summary option and a pattern that
// matches 3 rows (the popup's pick selects the first), against one bare pass of
// QString::contains over the same summaries. Medians of single searches; the grid sits
// in a GridView, so the view's share of the selection counts.

#include "common/grid/GridView.h"
#include "ledger/DealColumns.h"
#include "ledger/Ledger.h"
#include "BenchHost.h"
#include "platform/ScriptedUi.h"

#include <QApplication>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <vector>

using namespace vcm;
using Clock = std::chrono::steady_clock;
using bench::median;
using bench::micros;

namespace {

constexpr int Entries = 5000;
const int MatchRows[] = {700, 2500, 4900};

void BM_SummarySearch(benchmark::State& state)
{
  bench::BenchHost host;
  GridView deal;
  GridView picker;
  Ledger ledger{host, deal.grid(), picker.grid()};
  Grid& g = ledger.sprDeal;
  g.setRowCount(Entries);
  const QStringList words{"점심 식대", "사무용품", "전기요금", "차량 유류", "간식 구입", "수도요금"};
  for (int r = 1; r <= Entries; ++r) {
    g.setText(deal::DealCode, r, QStringLiteral("%1").arg(r, 5, 10, QLatin1Char('0')));
    g.setText(deal::DealDate, r, QStringLiteral("2024.05.%1").arg(r % 28 + 1, 2, 10, QLatin1Char('0')));
    g.setText(deal::Account, r, QStringLiteral("101.생계비"));
    g.setText(deal::Summary, r, words[r % words.size()] + QString::number(r));
    g.setNumber(deal::OutAmount, r, 1000.0 + r);
  }
  for (int r : MatchRows)
    g.setText(deal::Summary, r, QStringLiteral("회의 다과 A%1").arg(r));
  ledger.form.optSearch = 2;
  ledger.form.txtSearch = QStringLiteral("다과 a#");
  size_t listed = 0;
  ledger.showSearchPopup = [&](const SearchList& matches) {
    listed = matches.size();
    ledger.Search_Row = matches.front()[8].toInt();
  };

  std::vector<double> search, bare;
  for (auto _ : state) {
    ledger.Cur_Row = 0;
    auto t0 = Clock::now();
    ledger.cmdSearch_Click();
    auto t1 = Clock::now();
    int found = 0;
    for (int r = 1; r <= g.rowCount(); ++r)
      found += g.text(deal::Summary, r).contains(QStringLiteral("다과")) ? 1 : 0;
    benchmark::DoNotOptimize(found);
    auto t2 = Clock::now();
    search.push_back(micros(t1 - t0));
    bare.push_back(micros(t2 - t1));
  }
  if (listed != 3 || ledger.Cur_Row != MatchRows[0])
    state.SkipWithError("the search did not find the three rows");
  state.counters["search_ms"] = median(search) / 1000;
  state.counters["bare_contains_ms"] = median(bare) / 1000;
  state.counters["ratio"] = median(search) / median(bare);
}

} // namespace

BENCHMARK(BM_SummarySearch)->Unit(benchmark::kMillisecond)->Iterations(200);

int main(int argc, char** argv)
{
  return bench::runOffscreen(argc, argv);
}
