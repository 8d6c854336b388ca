#pragma once

#include "common/grid/Grid.h"
#include "ledger/Ledger.h"
#include "ledger/LedgerHost.h"
#include "support/TestBackend.h"

#include <QSet>
#include <QString>
#include <QStringList>

#include <array>
#include <ostream>
#include <utility>

/// Readable texts in test failures.
inline void PrintTo(const QString& text, std::ostream* os)
{
  *os << '"' << text.toStdString() << '"';
}

namespace vcm::test {

/// The main window's work buttons and quick bar as plain values.
class ButtonPanel : public LedgerHost {
public:
  std::array<QString, 9> tags;
  std::array<bool, 9> enabled{true, true, false, true, true, true, true, true, true};
  std::array<std::pair<int, int>, 9> pictures{};
  QString visibleFlags;
  QStringList quickButtons;

  QString workTag(int i) const override { return tags[size_t(i)]; }
  void setWorkTag(int i, const QString& tag) override { tags[size_t(i)] = tag; }
  void setWorkEnabled(int i, bool on) override { enabled[size_t(i)] = on; }
  void setWorkPictures(int i, int a, int b) override { pictures[size_t(i)] = {a, b}; }
  void showWorkButtons(const QString& flags) override { visibleFlags = flags; }
  void settingQuickButton(const QString& name) override
  {
    if (!quickButtons.contains(name))
      quickButtons << name;
  }
  void removeQuickButton(const QString& name) override { quickButtons.removeAll(name); }
};

/// One DEAL_LIST row to put into the test database.
struct DealRow {
  QString code;
  QString part = QStringLiteral("001");
  int cls = 2;
  QString account;
  QString bank = QStringLiteral("001");
  double in = 0;
  double out = 0;
  int trans = 9;
  QString summary;
  int receipt = 0;
  QString busi = QStringLiteral("01");
  QString customer;
};

/// The ledger's tables for one test company on the shared test database: a small chart
/// of accounts, two businesses, three bank accounts and whatever entries a test adds.
class LedgerDb {
public:
  static const QString Company; ///< company code used only by these tests
  static const QString Month;   ///< "2024.05"

  explicit LedgerDb(Backend& be) : m_be(be) {}

  /// Points Session at the test database and resets the company's rows.
  void reset();
  void addDeal(const DealRow& row, const QString& month = Month);
  void addDeals(const QList<DealRow>& rows, const QString& month = Month);
  /// Texts of one column of the company's month, in key order.
  QStringList column(const QString& name, const QString& month = Month) const;
  QList<QStringList> rows(const QString& columns, const QString& month = Month) const;

  Backend& be() const { return m_be; }

private:
  Backend& m_be;
};

/// The ledger's logic on grids of its own, loaded and set to `month` but not activated.
struct LedgerOnGrids {
  explicit LedgerOnGrids(const QString& month = LedgerDb::Month)
  {
    ledger.Form_Load();
    ledger.form.mskM = month;
  }
  ButtonPanel host;
  Grid deal;
  Grid picker;
  Ledger ledger{host, deal, picker};
};

} // namespace vcm::test
