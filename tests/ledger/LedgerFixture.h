#pragma once

#include "LedgerTestSupport.h"

#include "common/Session.h"
#include "common/grid/Grid.h"
#include "ledger/DealColumns.h"
#include "ledger/Ledger.h"
#include "platform/ScriptedUi.h"

#include <gtest/gtest.h>

#include <memory>

namespace vcm::test {

/// A ledger screen without widgets on the test company's month 2024.05.
class LedgerFixture : public ::testing::Test {
protected:
  void SetUp() override
  {
    if (!be.available())
      GTEST_SKIP() << be.unavailableReason().toStdString();
    db.reset();
  }
  void TearDown() override
  {
    ledger.reset();
    Session.Connection.reset();
    Session.reset();
  }

  /// Opens and activates the screen on the test month.
  Ledger& open(const QString& month = LedgerDb::Month)
  {
    ledger.reset();
    deal = std::make_unique<Grid>();
    picker = std::make_unique<Grid>();
    ledger = std::make_unique<Ledger>(host, *deal, *picker);
    ledger->Form_Load();
    ledger->form.mskM = month;
    ledger->Form_Activate();
    return *ledger;
  }

  QString cell(int col, int row) const { return ledger->sprDeal.text(col, row); }
  int rows() const { return ledger->sprDeal.rowCount(); }
  QStringList column(int col) const
  {
    QStringList out;
    for (int r = 1; r <= rows(); ++r)
      out << cell(col, r);
    return out;
  }

  /// Enters the work state and forgets the notices so far.
  void startWork()
  {
    ledger->AAA_Cmd_Work(1);
    ASSERT_EQ(host.tags[1], QStringLiteral("WORK"));
    ui->clear();
  }

  /// Types into a cell as the member would in the work state.
  void type(int col, int row, const QString& text)
  {
    ledger->sprDeal.setText(col, row, text);
    ledger->sprDeal_Change(col, row);
  }

  Backend& be = Backend::shared();
  LedgerDb db{be};
  ButtonPanel host;
  ScopedScriptedUi ui;
  std::unique_ptr<Grid> deal;
  std::unique_ptr<Grid> picker;
  std::unique_ptr<Ledger> ledger;
};

} // namespace vcm::test
