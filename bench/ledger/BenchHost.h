#pragma once

#include "ledger/LedgerHost.h"
#include "platform/ScriptedUi.h"

#include <QApplication>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <vector>

namespace vcm::bench {

/// The main window's work buttons as the ledger benchmarks need them: only the tags.
class BenchHost : public LedgerHost {
public:
  std::array<QString, 9> tags;
  QString workTag(int i) const override { return tags[size_t(i)]; }
  void setWorkTag(int i, const QString& t) override { tags[size_t(i)] = t; }
  void setWorkEnabled(int, bool) override {}
  void setWorkPictures(int, int, int) override {}
  void showWorkButtons(const QString&) override {}
  void settingQuickButton(const QString&) override {}
  void removeQuickButton(const QString&) override {}
};

/// Median of single timings (sorts them).
inline double median(std::vector<double>& v)
{
  std::sort(v.begin(), v.end());
  return v.empty() ? 0 : v[v.size() / 2];
}

inline double micros(std::chrono::steady_clock::duration d)
{
  return std::chrono::duration<double, std::micro>(d).count();
}

/// Runs the registered benchmarks on Qt's offscreen platform with the scripted UI;
/// fails when any notice was shown meanwhile.
inline int runOffscreen(int argc, char** argv)
{
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  ScopedScriptedUi ui;
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return ui->messages.isEmpty() ? 0 : 1;
}

} // namespace vcm::bench
