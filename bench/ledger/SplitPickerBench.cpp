// Keyboard speed of the ledger's work state, measured in one run:
//  - a keystroke in a split part's amount cell (the source recomputed) on a 5,000-row
//    month, against one plain pass over the month's amounts (what a recompute that
//    walked the month would cost at the least);
//  - opening the account picker filtered by one character over 200 accounts, against
//    the bare name test over the same 200 names.
// Medians of single operations; the grids sit in GridViews, so the views' share counts.

#include "common/grid/GridView.h"
#include "common/TextHelpers.h"
#include "ledger/DealColumns.h"
#include "ledger/DealSplit.h"
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
constexpr int Accounts = 200;


/// A month of expense entries in work, the account picker filled.
struct Screen {
  bench::BenchHost host;
  GridView deal;
  GridView picker;
  Ledger ledger{host, deal.grid(), picker.grid()};

  Screen()
  {
    host.tags[1] = QStringLiteral("WORK");
    Grid& g = ledger.sprDeal;
    g.setRowCount(Entries);
    for (int r = 1; r <= Entries; ++r) {
      g.setText(deal::DealCode, r, QStringLiteral("%1").arg(r, 5, 10, QLatin1Char('0')));
      g.setText(deal::PartNo, r, QStringLiteral("001"));
      g.setText(deal::ClassNo, r, QStringLiteral("2"));
      g.setText(deal::Summary, r, QStringLiteral("적요 %1").arg(r));
      g.setNumber(deal::OutAmount, r, 1000.0 + r);
    }
    Grid& p = ledger.sprCbo_Acc;
    p.setRowCount(Accounts + 1);
    const QStringList words{"생계비", "수용비", "공공요금", "운영", "차량", "수입", "인건비", "잡비"};
    for (int r = 2; r <= Accounts + 1; ++r) {
      p.setText(picker::Code, r, QString::number(100 + r));
      p.setText(picker::Name, r, words[r % words.size()] + QString::number(r));
      p.setText(picker::ClassNo, r, QStringLiteral("2"));
    }
  }
};

void BM_PartKeystroke(benchmark::State& state)
{
  Screen s;
  Grid& g = s.ledger.sprDeal;
  const int source = Entries - 10; // late in the month: a walk from the top would be longest
  DealSplit::split(g, source, 3);
  const int part = source + 2;
  std::vector<double> keystroke, pass;
  int i = 0;
  for (auto _ : state) {
    const QString typed = QString::number(100 + i++ % 900);
    auto t0 = Clock::now();
    g.setText(deal::OutAmount, part, typed);
    s.ledger.sprDeal_EditChange(deal::OutAmount, part);
    auto t1 = Clock::now();
    double sum = 0;
    for (int r = 1; r <= g.rowCount(); ++r)
      sum += numVal(g.value(deal::OutAmount, r));
    benchmark::DoNotOptimize(sum);
    auto t2 = Clock::now();
    keystroke.push_back(micros(t1 - t0));
    pass.push_back(micros(t2 - t1));
  }
  if (g.number(deal::OutAmount, source) != 1000.0 + source - g.number(deal::OutAmount, part))
    state.SkipWithError("the source does not follow its part");
  state.counters["keystroke_us"] = median(keystroke);
  state.counters["month_pass_us"] = median(pass);
  state.counters["ratio"] = median(keystroke) / median(pass);
}

void BM_PickerOneCharacter(benchmark::State& state)
{
  Screen s;
  Grid& g = s.ledger.sprDeal;
  g.setText(deal::Account, 1, QStringLiteral("비"));
  const QString text = QStringLiteral("비");
  std::vector<double> open, bare;
  for (auto _ : state) {
    auto t0 = Clock::now();
    s.ledger.Show_Cbo_Acc(1, QString());
    auto t1 = Clock::now();
    std::vector<bool> shown;
    shown.reserve(Accounts + 1);
    for (int r = 1; r <= s.ledger.sprCbo_Acc.rowCount(); ++r)
      shown.push_back(s.ledger.sprCbo_Acc.text(picker::Name, r).contains(text));
    benchmark::DoNotOptimize(shown);
    auto t2 = Clock::now();
    open.push_back(micros(t1 - t0));
    bare.push_back(micros(t2 - t1));
    s.ledger.form.picCboAccVisible = false;
  }
  int hidden = 0;
  for (int r = 1; r <= s.ledger.sprCbo_Acc.rowCount(); ++r)
    hidden += s.ledger.sprCbo_Acc.isRowHidden(r) ? 1 : 0;
  if (hidden == 0 || hidden == Accounts + 1)
    state.SkipWithError("the picker was not filtered");
  state.counters["open_us"] = median(open);
  state.counters["bare_filter_us"] = median(bare);
  state.counters["ratio"] = median(open) / median(bare);
}

} // namespace

BENCHMARK(BM_PartKeystroke)->Unit(benchmark::kMicrosecond)->Iterations(2000);
BENCHMARK(BM_PickerOneCharacter)->Unit(benchmark::kMicrosecond)->Iterations(500);

int main(int argc, char** argv)
{
  return bench::runOffscreen(argc, argv);
}
