// Downloading a 50 MB file over loopback from the HTTP peer:
//  - `curl -o` as a separate process (the baseline);
//  - the downloader control with CHUNK 1024, a progress bar moved and events let run
//    after every chunk, as the update screen does.
// Both runs alternate in each iteration; the counters give the medians and their ratio.

#include "platform/QtUi.h"
#include "support/TestBackend.h"
#include "update/Ctl_DN.h"

#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QProgressBar>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

using namespace vcm;
using Clock = std::chrono::steady_clock;

namespace {

constexpr qint64 FileBytes = 50LL * 1024 * 1024;
const QString FileName = QStringLiteral("bench50.bin");

test::Backend& backend() { return test::Backend::shared(); }

QString url()
{
  return QStringLiteral("http://127.0.0.1:%1/%2").arg(backend().httpPort()).arg(FileName);
}

void writeSource()
{
  QFile f(backend().httpRoot() + QLatin1Char('/') + FileName);
  if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
    return;
  QByteArray block(1 << 20, Qt::Uninitialized);
  QRandomGenerator rng(50);
  for (qint64 written = 0; written < FileBytes; written += block.size()) {
    rng.fillRange(reinterpret_cast<quint32*>(block.data()), block.size() / 4);
    f.write(block);
  }
}

double ms(Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

double median(std::vector<double> v)
{
  std::sort(v.begin(), v.end());
  return v.empty() ? 0 : v[v.size() / 2];
}

bool curlDownload(const QString& target)
{
  QProcess curl;
  curl.start(QStringLiteral("curl"), {QStringLiteral("-s"), QStringLiteral("-o"), target, url()});
  return curl.waitForFinished(120000) && curl.exitCode() == 0;
}

bool controlDownload(const QString& target, QProgressBar& bar, bool letEventsRun = true)
{
  Ctl_DN dn;
  bool complete = false;
  double total = 0;
  dn.events().RecievedBytes = [&](qint32& bytes) {
    bar.setValue(int(bytes / total * 100));
    if (letEventsRun)
      ui().pumpEvents();
  };
  dn.events().DLComplete = [&] { complete = true; };
  dn.SetUrl(url());
  dn.GetFileInformation();
  total = dn.FileSize();
  dn.SetSaveLocation(target);
  dn.DownLoad();
  return complete;
}

void BM_Download50MB(benchmark::State& state)
{
  QTemporaryDir dir;
  QProgressBar bar;
  bar.setRange(0, 100);
  bar.show();
  std::vector<double> curlMs, controlMs;
  for (auto _ : state) {
    const QString a = dir.filePath(QStringLiteral("curl.bin"));
    const QString b = dir.filePath(QStringLiteral("control.bin"));
    auto t0 = Clock::now();
    const bool curlOk = curlDownload(a);
    auto t1 = Clock::now();
    const bool controlOk = controlDownload(b, bar);
    auto t2 = Clock::now();
    if (!curlOk || !controlOk || QFileInfo(a).size() != FileBytes || QFileInfo(b).size() != FileBytes) {
      state.SkipWithError("a download did not complete");
      return;
    }
    curlMs.push_back(ms(t1 - t0));
    controlMs.push_back(ms(t2 - t1));
    QFile::remove(a);
    QFile::remove(b);
  }
  state.counters["curl_ms"] = median(curlMs);
  state.counters["control_ms"] = median(controlMs);
  state.counters["ratio"] = median(controlMs) / median(curlMs);
}

/// The control's share without the host's event loop: what letting events run costs.
void BM_ControlWithoutEvents(benchmark::State& state)
{
  QTemporaryDir dir;
  QProgressBar bar;
  std::vector<double> controlMs;
  for (auto _ : state) {
    const QString b = dir.filePath(QStringLiteral("control.bin"));
    auto t0 = Clock::now();
    const bool ok = controlDownload(b, bar, false);
    controlMs.push_back(ms(Clock::now() - t0));
    if (!ok) {
      state.SkipWithError("the download did not complete");
      return;
    }
    QFile::remove(b);
  }
  state.counters["control_ms"] = median(controlMs);
}

BENCHMARK(BM_Download50MB)->Unit(benchmark::kMillisecond)->Iterations(7);
BENCHMARK(BM_ControlWithoutEvents)->Unit(benchmark::kMillisecond)->Iterations(7);

} // namespace

int main(int argc, char** argv)
{
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  if (!test::Backend::sharedOrExplain())
    return 1;
  QtUi qtUi;
  setUi(&qtUi);
  writeSource();
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  QFile::remove(backend().httpRoot() + QLatin1Char('/') + FileName);
  setUi(nullptr);
  return 0;
}
