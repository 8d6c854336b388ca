#pragma once

#include "ledger/LedgerHost.h"

#include <array>

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

} // namespace vcm::bench
