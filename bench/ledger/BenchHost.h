#pragma once

#include "common/Session.h"
#include "ledger/DealColumns.h"
#include "ledger/DealStatements.h"
#include "ledger/Ledger.h"
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

/// Types `summary(i)` into the summary cell of `count` rows spread over the grid, one
/// every `step` rows, as the member would in the work state.
template <typename Summary>
void typeSummaries(Ledger& ledger, int count, int step, Summary summary)
{
  ledger.State_Div(QStringLiteral("EDIT"));
  for (int i = 0; i < count; ++i) {
    const int r = 1 + i * step;
    ledger.sprDeal.setText(deal::Summary, r, summary(i));
    ledger.sprDeal_Change(deal::Summary, r);
  }
}

/// The update of grid row `r` with its own values and another `summary`, for the same
/// statements sent without the ledger.
inline DealWrite directWrite(const Grid& g, int r, const QString& summary)
{
  DealWrite w;
  w.dealCode = g.text(deal::DealCode, r);
  w.partNo = g.text(deal::PartNo, r);
  w.account = g.text(deal::Account, r).left(3);
  w.summary = summary;
  w.income = g.number(deal::InAmount, r);
  w.expense = g.number(deal::OutAmount, r);
  w.classNo = w.income != 0 ? 1 : 2;
  return w;
}

/// The session of a benchmark's company on `connectionString`.
inline void benchSession(const QString& connectionString, const QString& company)
{
  Session.ConnectionString = connectionString;
  Session.CompanyCode = company;
  Session.ServerDate = QStringLiteral("2024.08.10");
}

} // namespace vcm::bench
