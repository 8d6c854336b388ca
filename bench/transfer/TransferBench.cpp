// Upload speed against curl's own floor, measured in one run: a 5 MB file sent with the
// FTP routines (login, directory, 255-byte blocks with the progress bar updated and
// events let run after each, close) against `curl -T` sending the same file to the same
// server (its process start and login included, as the routines' login is).

#include "common/Session.h"
#include "platform/QtUi.h"
#include "support/TestBackend.h"
#include "transfer/FtpRoutines.h"
#include "transfer/ProgressBarIndicator.h"

#include <QApplication>
#include <QEvent>
#include <QProcess>
#include <QProgressBar>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

using namespace vcm;
using Clock = std::chrono::steady_clock;

namespace {

constexpr qint64 FileSize = 5 * 1024 * 1024;
const QString Folder = QStringLiteral("/bench-upload");

test::Backend& backend() { return test::Backend::shared(); }

double ms(Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

/// Counts the paints of the progress bar: how often the window actually showed it.
struct PaintCounter : QObject {
  int paints = 0;
  bool eventFilter(QObject*, QEvent* event) override
  {
    paints += event->type() == QEvent::Paint;
    return false;
  }
};

double median(std::vector<double> v)
{
  std::sort(v.begin(), v.end());
  return v.empty() ? 0 : v[v.size() / 2];
}

bool uploadWithRoutines(const QString& path, ProgressIndicator& bar)
{
  auto& be = backend();
  if (!g_FtpOpen(QStringLiteral("127.0.0.1"), QString::number(be.ftpPort()), be.ftpUser(), be.ftpPassword()))
    return false;
  g_FTPSetDir(Folder);
  const bool ok = g_FTPUpload(path, QStringLiteral("routines.bin"), bar, QStringLiteral("완료"));
  g_FtpClose();
  return ok;
}

bool uploadWithCurl(const QString& path)
{
  auto& be = backend();
  // "%2F": the path from the server's root, as the routines send it.
  const QString url = QStringLiteral("ftp://127.0.0.1:") + QString::number(be.ftpPort()) +
                      QStringLiteral("/%2F") + Folder.mid(1) + QStringLiteral("/curl.bin");
  const int rc = QProcess::execute(QStringLiteral("curl"),
                                   {QStringLiteral("-s"), QStringLiteral("-T"), path, QStringLiteral("-u"),
                                    be.ftpUser() + QLatin1Char(':') + be.ftpPassword(), url});
  return rc == 0;
}

void BM_Upload5MB(benchmark::State& state)
{
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("5mb.bin"));
  QFile file(path);
  file.open(QIODevice::WriteOnly);
  QByteArray block(64 * 1024, Qt::Uninitialized);
  for (qsizetype i = 0; i < block.size(); ++i)
    block[i] = char(i * 31 + 7);
  for (qint64 written = 0; written < FileSize; written += block.size())
    file.write(block);
  file.close();

  QProgressBar widget;
  widget.setRange(0, 100);
  widget.setTextVisible(true);
  widget.resize(600, 24);
  widget.show();
  ProgressBarIndicator bar(&widget);
  PaintCounter counter;
  widget.installEventFilter(&counter);

  std::vector<double> routines, curl;
  for (auto _ : state) {
    auto t0 = Clock::now();
    if (!uploadWithCurl(path))
      state.SkipWithError("curl -T failed");
    auto t1 = Clock::now();
    if (!uploadWithRoutines(path, bar))
      state.SkipWithError("g_FTPUpload failed");
    auto t2 = Clock::now();
    curl.push_back(ms(t1 - t0));
    routines.push_back(ms(t2 - t1));
  }
  state.counters["curl_ms"] = median(curl);
  state.counters["routines_ms"] = median(routines);
  state.counters["paints_per_upload"] = counter.paints / double(state.iterations());
  state.counters["ratio"] = median(routines) / median(curl);
}

} // namespace

BENCHMARK(BM_Upload5MB)->Unit(benchmark::kMillisecond)->Iterations(9);

int main(int argc, char** argv)
{
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);  // the progress bar is shown and its events run
  if (!backend().available()) {
    std::fprintf(stderr, "VCM_TEST_ENV must name a running test backend's backend.env: %s\n",
                 qPrintable(backend().unavailableReason()));
    return 1;
  }
  QtUi qtUi;
  setUi(&qtUi);
  QDir().mkpath(backend().ftpRoot() + Folder);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  QDir(backend().ftpRoot() + Folder).removeRecursively();
  return 0;
}
