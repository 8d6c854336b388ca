// Export of a 5,000-row ledger grid (the ledger's own 31-column setup, texts, amounts,
// bank colours): our .xls writer against libxlsxwriter writing the same cells and formats
// to .xlsx, both into a file of the same folder, timed in the same iteration. Afterwards
// the peak memory one .xls export adds, next to the grid's own size.

#include "common/export/ExportSheet.h"
#include "common/export/XlsWriter.h"
#include "common/export/XlsxWriter.h"
#include "ledger/DealColumns.h"
#include "ledger/DealGridModel.h"

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>
#include <malloc.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <string>

using namespace vcm;

namespace {

constexpr int Rows = 5000;
const Colour BankColours[] = {0xDEEFDE, 0xEFDEDE, 0xDEDEEF, 0xFFFFFF};

void fillLedger(Grid& grid)
{
  DealGridModel::setupDeal(grid);
  grid.setRedraw(false);
  grid.setRowCount(Rows);
  for (int r = 1; r <= Rows; ++r) {
    grid.setText(deal::DealDate, r, QStringLiteral("2015.03.%1").arg(1 + r % 28, 2, 10, QLatin1Char('0')));
    grid.setText(deal::DealCode, r, QString::number(100000 + r));
    grid.setText(deal::PartNo, r, QString::number(r % 3));
    grid.setText(deal::ClassName, r, r % 2 ? QStringLiteral("수입") : QStringLiteral("지출"));
    grid.setText(deal::BankName, r, QStringLiteral("국민은행 %1").arg(r % 4));
    grid.setText(deal::BusiName, r, QStringLiteral("방문요양"));
    grid.setText(deal::Account, r, QStringLiteral("%1.급여").arg(4100 + r % 50));
    grid.setText(deal::Summary, r, QStringLiteral("3월분 급식비 %1").arg(r));
    grid.setText(deal::Customer, r, QStringLiteral("가나다상회"));
    grid.setNumber(r % 2 ? deal::InAmount : deal::OutAmount, r, double((r * 7919) % 10000000));
    grid.setText(deal::Branch, r, QStringLiteral("서초지점"));
    grid.setText(deal::Target, r, QStringLiteral("홍길동"));
    grid.setText(deal::BankCode, r, QString::number(r % 4));
    grid.setText(deal::RowColour, r, QString::number(BankColours[r % 4]));
    grid.setBackground(CellRange::row(r), BankColours[r % 4]);
  }
  grid.setRedraw(true);
}

double ms(std::chrono::steady_clock::duration d)
{
  return std::chrono::duration<double, std::milli>(d).count();
}

template <class Writer>
double timedWrite(const ExportSheet& sheet, const QString& path)
{
  const auto start = std::chrono::steady_clock::now();
  QFile file(path);
  if (!file.open(QIODevice::WriteOnly) || !Writer::write(sheet, file))
    std::fprintf(stderr, "writing %s failed\n", qPrintable(path));
  file.close();
  return ms(std::chrono::steady_clock::now() - start);
}

void BM_ExportLedger(benchmark::State& state)
{
  Grid grid;
  fillLedger(grid);
  QTemporaryDir dir;
  const ExportSheet sheet(grid, QStringLiteral("가나다센터_거래내역(2015.03월분)"), 0xF8E7F1, false);
  double xls = 0, xlsx = 0;
  for (auto _ : state) {
    xlsx += timedWrite<XlsxWriter>(sheet, dir.filePath("ledger.xlsx"));
    xls += timedWrite<XlsWriter>(sheet, dir.filePath("ledger.xls"));
  }
  const double n = double(state.iterations());
  state.counters["xls_ms"] = xls / n;
  state.counters["libxlsxwriter_ms"] = xlsx / n;
  state.counters["speedup"] = xlsx / xls;
  state.counters["xls_MB"] = double(QFile(dir.filePath("ledger.xls")).size()) / 1e6;
}
BENCHMARK(BM_ExportLedger)->Unit(benchmark::kMillisecond)->MinTime(3.0);

long statusKb(const char* field)
{
  std::ifstream status("/proc/self/status");
  std::string line;
  const std::string key = std::string(field) + ":";
  while (std::getline(status, line))
    if (line.rfind(key, 0) == 0)
      return std::stol(line.substr(key.size()));
  return 0;
}

/// Peak resident memory an .xls export adds (the peak is reset first), and the heap the
/// grid itself takes.
void reportMemory()
{
  QTemporaryDir dir;
  malloc_trim(0);
  const size_t heapBefore = mallinfo2().uordblks;
  Grid grid;
  fillLedger(grid);
  const double gridMb = double(mallinfo2().uordblks - heapBefore) / 1e6;
  const ExportSheet sheet(grid, QStringLiteral("목록"), 0xF8E7F1, false);
  std::ofstream("/proc/self/clear_refs") << "5";
  const long rssBefore = statusKb("VmRSS");
  QFile file(dir.filePath("peak.xls"));
  if (file.open(QIODevice::WriteOnly))
    XlsWriter::write(sheet, file);
  const long peak = statusKb("VmHWM");
  std::printf("Memory: grid %.1f MB on the heap; one .xls export adds at most %.1f MB "
              "(the file is %.1f MB)\n",
              gridMb, double(peak - rssBefore) / 1024.0, double(file.size()) / 1e6);
}

} // namespace

int main(int argc, char** argv)
{
  QCoreApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  std::printf("\n%d x %d ledger grid: libxlsxwriter (.xlsx) time / our .xls time = counter "
              "\"speedup\" (target > 1)\n",
              Rows, deal::ColumnCount);
  reportMemory();
  benchmark::Shutdown();
  return 0;
}
