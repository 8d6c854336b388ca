// Filling a 20,000 x 31 ledger and 1,000 row-highlight clicks: GridView over Grid against
// QTableWidget doing the same with setItem / setBackground, in the same run. Neither view
// is shown, so both pay for their model and notifications but not for painting.
// Memory per cell comes from the heap in use before and after the fill.

#include "common/grid/GridView.h"
#include "common/screen/GridRoutines.h"

#include <QApplication>
#include <QTableWidget>

#include <benchmark/benchmark.h>
#include <malloc.h>

#include <cstdio>
#include <map>
#include <random>
#include <string>
#include <vector>

using namespace vcm;

namespace {

constexpr int Rows = 20000;
constexpr int Cols = 31;
constexpr int Clicks = 1000;
constexpr int AmountIn = 16;
constexpr int AmountOut = 17;
const QColor Highlight(0xDE, 0xDE, 0xEF); // &HEFDEDE

// Texts are made once and shared by both sides, so the measure is the containers'.
const std::vector<QString>& texts()
{
  static const std::vector<QString> pool = [] {
    std::vector<QString> v;
    v.reserve(size_t(Rows) * Cols);
    for (int r = 1; r <= Rows; ++r)
      for (int c = 1; c <= Cols; ++c)
        v.push_back(QStringLiteral("%1-%2").arg(r).arg(c));
    return v;
  }();
  return pool;
}

const QString& textOf(int row, int col)
{
  return texts()[size_t(row - 1) * Cols + size_t(col - 1)];
}

double amountOf(int row)
{
  return double((row * 7919) % 1000000);
}

std::vector<int> clickRows()
{
  std::mt19937 rng(42);
  std::uniform_int_distribution<int> pick(1, Rows);
  std::vector<int> rows(Clicks);
  for (int& r : rows)
    r = pick(rng);
  return rows;
}

void fillGrid(Grid& g)
{
  g.suspendRedraw();
  g.setColumnCount(Cols);
  g.setNumberCells(CellRange::column(AmountIn), -999999999, 999999999);
  g.setNumberCells(CellRange::column(AmountOut), -999999999, 999999999);
  g.setRowCount(Rows);
  for (int r = 1; r <= Rows; ++r)
    for (int c = 1; c <= Cols; ++c) {
      if (c == AmountIn || c == AmountOut)
        g.setNumber(c, r, amountOf(r));
      else
        g.setText(c, r, textOf(r, c));
    }
  g.resumeRedraw();
}

void fillTable(QTableWidget& t)
{
  t.setUpdatesEnabled(false);
  t.setColumnCount(Cols);
  t.setRowCount(Rows);
  for (int r = 1; r <= Rows; ++r)
    for (int c = 1; c <= Cols; ++c) {
      auto* item = new QTableWidgetItem;
      if (c == AmountIn || c == AmountOut)
        item->setData(Qt::DisplayRole, amountOf(r));
      else
        item->setText(textOf(r, c));
      t.setItem(r - 1, c - 1, item);
    }
  t.setUpdatesEnabled(true);
}

void BM_Fill_GridView(benchmark::State& state)
{
  texts();
  for (auto _ : state) {
    state.PauseTiming();
    auto* view = new GridView;
    state.ResumeTiming();
    fillGrid(view->grid());
    state.PauseTiming();
    delete view;
    state.ResumeTiming();
  }
  state.SetItemsProcessed(state.iterations() * Rows * Cols);
}

void BM_Fill_QTableWidget(benchmark::State& state)
{
  texts();
  for (auto _ : state) {
    state.PauseTiming();
    auto* table = new QTableWidget;
    state.ResumeTiming();
    fillTable(*table);
    state.PauseTiming();
    delete table;
    state.ResumeTiming();
  }
  state.SetItemsProcessed(state.iterations() * Rows * Cols);
}

// A click as the list screens do it: the whole sheet back to white, the clicked row
// highlighted and made active.
void BM_Clicks_GridView(benchmark::State& state)
{
  GridView view;
  fillGrid(view.grid());
  const std::vector<int> rows = clickRows();
  for (auto _ : state)
    for (int r : rows)
      g_Spr_Row_Color(view.grid(), r, 0xEFDEDE, 3, false);
  state.SetItemsProcessed(state.iterations() * Clicks);
}

// QTableWidget at its best: only the previous and the new row are repainted per click
// (whole-sheet white would be 620,000 setBackground calls per click).
void BM_Clicks_QTableWidget(benchmark::State& state)
{
  QTableWidget table;
  fillTable(table);
  const std::vector<int> rows = clickRows();
  int previous = 0;
  for (auto _ : state)
    for (int r : rows) {
      if (previous > 0)
        for (int c = 0; c < Cols; ++c)
          table.item(previous - 1, c)->setBackground(Qt::white);
      for (int c = 0; c < Cols; ++c)
        table.item(r - 1, c)->setBackground(Highlight);
      table.setCurrentCell(r - 1, 2);
      previous = r;
    }
  state.SetItemsProcessed(state.iterations() * Clicks);
}

BENCHMARK(BM_Fill_GridView)->Unit(benchmark::kMillisecond)->MinTime(1.0);
BENCHMARK(BM_Fill_QTableWidget)->Unit(benchmark::kMillisecond)->MinTime(1.0);
BENCHMARK(BM_Clicks_GridView)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Clicks_QTableWidget)->Unit(benchmark::kMillisecond);

/// Console output plus the real time of every run, for the ratios at the end.
class RatioReporter : public benchmark::ConsoleReporter {
public:
  std::map<std::string, double> realTime;
  void ReportRuns(const std::vector<Run>& runs) override
  {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs)
      realTime[run.benchmark_name()] = run.GetAdjustedRealTime();
  }
};

template <class Fill>
double heapBytesPerCell(Fill fill)
{
  malloc_trim(0);
  const size_t before = mallinfo2().uordblks;
  fill();
  const size_t after = mallinfo2().uordblks;
  return double(after - before) / (double(Rows) * Cols);
}

} // namespace

int main(int argc, char** argv)
{
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
    qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);

  texts();
  double gridBytes = 0, tableBytes = 0;
  {
    GridView* view = nullptr;
    gridBytes = heapBytesPerCell([&] {
      view = new GridView;
      fillGrid(view->grid());
    });
    delete view;
  }
  {
    QTableWidget* table = nullptr;
    tableBytes = heapBytesPerCell([&] {
      table = new QTableWidget;
      fillTable(*table);
    });
    delete table;
  }

  auto ratio = [&](const char* baseline, const char* ours) {
    const auto b = reporter.realTime.find(baseline);
    const auto o = reporter.realTime.find(ours);
    return b == reporter.realTime.end() || o == reporter.realTime.end() || o->second <= 0
               ? 0.0
               : b->second / o->second;
  };
  std::printf("\nGrid %d x %d, %d clicks; QTableWidget time / GridView time (target >= 5):\n",
              Rows, Cols, Clicks);
  std::printf("  fill           %6.1fx\n", ratio("BM_Fill_QTableWidget/min_time:1.000",
                                                  "BM_Fill_GridView/min_time:1.000"));
  std::printf("  row highlight  %6.1fx\n", ratio("BM_Clicks_QTableWidget", "BM_Clicks_GridView"));
  std::printf("Heap per cell after the fill (texts shared, not counted):\n");
  std::printf("  GridView       %6.1f bytes\n  QTableWidget   %6.1f bytes  (%.1fx)\n", gridBytes,
              tableBytes, gridBytes > 0 ? tableBytes / gridBytes : 0.0);
  benchmark::Shutdown();
  return 0;
}
