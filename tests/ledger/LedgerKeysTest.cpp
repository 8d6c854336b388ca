// The grid's keys, quick account digits, header sorting and the account picker.
#include "LedgerFixture.h"

#include "ledger/LedgerColours.h"

using namespace vcm;
using namespace vcm::test;

namespace {

class LedgerKeysTest : public LedgerFixture {
protected:
  void SetUp() override
  {
    LedgerFixture::SetUp();
    if (IsSkipped())
      return;
    be.adminExec(QStringLiteral("INSERT INTO SET_ACCOUNT_LIST (COM_CD, ACC_CD, ACC_GUBUN, ACC_NM, ACC_CONSULT) VALUES "
                                "('LT01','104',2,'공공요금및각종세금공과금',0),('LT01','105',2,'차량비',0),"
                                "('LT01','106',2,'기타운영비',0)"));
    db.addDeals({{"D01", "001", 2, "101", "001", 0, 3000}, {"D02", "001", 2, "", "001", 0, 1000},
                 {"D03", "001", 2, "102", "001", 0, 2000}, {"D04", "001", 1, "201", "001", 500, 0}});
  }
  void work()
  {
    open();
    startWork();
  }
  int key(int code, int shift = 0)
  {
    ledger->sprDEAL_KeyDown(code, shift);
    return code;
  }
  /// Types into the account cell: every keystroke is an edit change.
  void typeAccount(int row, const QString& text)
  {
    ledger->sprDeal.setActiveCell(deal::Account, row);
    ledger->sprDeal_Click(deal::Account, row);
    ledger->sprDeal.setText(deal::Account, row, text);
    ledger->sprDeal_EditChange(deal::Account, row);
  }
  QStringList shownAccounts() const
  {
    QStringList out;
    for (int r = 1; r <= ledger->sprCbo_Acc.rowCount(); ++r)
      if (!ledger->sprCbo_Acc.isRowHidden(r))
        out << ledger->sprCbo_Acc.text(picker::Name, r);
    return out;
  }
};

} // namespace

TEST_F(LedgerKeysTest, AQuickDigitBecomesItsAccount)
{
  const struct {
    int row;
    const char* typed;
    QString cell;
  } cases[] = {
      {1, "0", QStringLiteral("101.생계비")},
      {1, "2", QStringLiteral("104.공공요금및각종세금공과금")},
      {1, "9", QStringLiteral("9")},
      {4, "9", QStringLiteral("102.수용비")},
      {3, "9", QString()}, // the row above has no account
      {1, "10", QStringLiteral("10")},
      {1, "1.5", QStringLiteral("1.5")},
      {1, "1", QStringLiteral("1")}, // the company has no 수용비및수수료
  };
  work();
  for (const auto& c : cases) {
    typeAccount(c.row, QLatin1String(c.typed));
    EXPECT_EQ(cell(deal::Account, c.row), c.cell) << c.typed << " on row " << c.row;
    ledger->sprDeal.setText(deal::Account, 4, QStringLiteral("201.본인부담금"));
  }
}

TEST_F(LedgerKeysTest, TheBackquoteOpensThePickerFilteredByTheTypedText)
{
  work();
  const struct {
    QString typed;
    QString picked; // empty: the picker opens
    QStringList shown;
  } cases[] = {
      {QStringLiteral("차량"), QStringLiteral("105.차량비"), {}},
      {QStringLiteral("ㄱㅌㅇ"), QStringLiteral("106.기타운영비"), {}},
      {QStringLiteral("비"), QString(), {"기타운영비", "생계비", "수용비", "차량비"}},
      {QStringLiteral("ㅅㅇ"), QString(), {"수용비", "장기요양수입"}},
  };
  for (const auto& c : cases) {
    ledger->sprDeal.setText(deal::Changed, 2, QString());
    typeAccount(2, c.typed);
    EXPECT_EQ(key(192), 0) << "the key is swallowed";
    EXPECT_TRUE(ledger->Tilde_Key);
    int typedChar = '`';
    ledger->sprDeal_KeyPress(typedChar);
    EXPECT_EQ(typedChar, 0);
    if (!c.picked.isEmpty()) {
      EXPECT_EQ(cell(deal::Account, 2), c.picked);
      EXPECT_FALSE(ledger->form.picCboAccVisible);
      EXPECT_EQ(cell(deal::Changed, 2), QStringLiteral("1"));
      continue;
    }
    EXPECT_TRUE(ledger->form.picCboAccVisible);
    EXPECT_EQ(shownAccounts(), c.shown) << c.typed.toStdString() << ": the empty row is hidden too";
    EXPECT_GT(ledger->sprCbo_Acc.activeRow(), 1);
    EXPECT_FALSE(ledger->sprCbo_Acc.isRowHidden(ledger->sprCbo_Acc.activeRow())) << "Enter takes a row shown";
    ledger->sprCbo_Acc.setActiveCell(picker::Name, 7);
    ledger->sprDeal.setActiveCell(deal::Summary, 1);
    int escape = 27;
    ledger->sprCbo_Acc_KeyDown(escape);
    EXPECT_EQ(escape, 0);
    EXPECT_FALSE(ledger->form.picCboAccVisible);
    EXPECT_EQ(ledger->form.pickerTag, QString());
    EXPECT_EQ(ledger->sprDeal.activeColumn(), deal::Account);
    EXPECT_EQ(ledger->sprDeal.activeRow(), 2);
    EXPECT_EQ(cell(deal::Account, 2), c.typed);
  }
  EXPECT_TRUE(ui->messages.isEmpty());
}

TEST_F(LedgerKeysTest, TheButtonColumnOpensEveryAccountAndTheEmptyRowClears)
{
  open();
  ledger->sprDeal_Click(deal::AccountButton, 1);
  EXPECT_FALSE(ledger->form.picCboAccVisible) << "in browse the click only selects";
  ledger->AAA_Cmd_Work(1);
  bool besideButton = false;
  ledger->form.placePicker = [&](bool fromButton) { return besideButton = fromButton; };
  ledger->sprDeal.setActiveCell(deal::AccountButton, 3);
  ledger->sprDeal_Click(deal::AccountButton, 3);
  EXPECT_TRUE(ledger->form.picCboAccVisible);
  EXPECT_TRUE(besideButton);
  EXPECT_EQ(shownAccounts().size(), ledger->sprCbo_Acc.rowCount());
  EXPECT_EQ(ledger->form.pickerTag, QStringLiteral("3"));
  int enter = 13;
  ledger->sprCbo_Acc.setActiveCell(picker::Name, 1);
  ledger->sprCbo_Acc_KeyDown(enter);
  EXPECT_EQ(cell(deal::Account, 3), QString());
  EXPECT_EQ(cell(deal::Changed, 3), QStringLiteral("1"));
  EXPECT_EQ(ledger->sprDeal.foreground(deal::Summary, 3), ledgerColours::ChangedText);
  EXPECT_FALSE(ledger->form.picCboAccVisible);

  ledger->form.placePicker = [](bool) { return false; };
  ledger->Show_Cbo_Acc(3, QStringLiteral("a"));
  EXPECT_EQ(ui->texts().value(0),
            QStringLiteral("사번조회표의 위치확인에 실패하였습니다.\n\n확인이 필요하니 [미로네]로 연락주세요."));
}

TEST_F(LedgerKeysTest, ArrowsSpaceAndEnterMoveAsTheMemberExpects)
{
  open();
  ledger->sprDeal_Click(deal::Summary, 1);
  EXPECT_EQ(key(38), 0);
  EXPECT_EQ(ledger->Cur_Row, 1) << "Up on the first row does nothing";
  EXPECT_EQ(key(32), 0);
  EXPECT_EQ(cell(deal::Check, 1), QStringLiteral("1"));
  EXPECT_EQ(ledger->Cur_Row, 2) << "Space in browse marks and moves down";
  key(40);
  key(40);
  EXPECT_EQ(key(40), 0);
  EXPECT_EQ(ledger->Cur_Row, 4) << "Down on the last row does nothing";
  EXPECT_EQ(key(38), 0);
  EXPECT_EQ(ledger->Cur_Row, 3);
  EXPECT_EQ(cell(deal::Check, 3), QString()) << "arrow keys do not mark";
  ledger->sprDeal.setActiveCell(deal::AccountButton, 3);
  key(38);
  EXPECT_EQ(ledger->sprDeal.activeColumn() * 100 + ledger->sprDeal.activeRow(), deal::AccountButton * 100 + 2)
      << "the row moves, the column stays";
  EXPECT_EQ(ledger->Cur_Row, 2);
  ledger->sprDeal.setActiveCell(deal::Summary, 2);
  EXPECT_EQ(key(13), 13);
  EXPECT_EQ(ledger->sprDeal.activeColumn(), deal::Summary) << "Enter in browse moves nowhere";

  ledger->AAA_Cmd_Work(1);
  ledger->sprDeal.setText(deal::ClassNo, 3, QStringLiteral("1"));
  const struct {
    int col, row;
    int toCol, toRow;
  } enters[] = {{deal::Account, 2, deal::Summary, 2},
                {deal::Customer, 3, deal::Account, 4},  // an income entry: on to the next account
                {deal::Receipt, 2, deal::Account, 3},
                // Elsewhere on to the next cell the member types into, then the next row.
                {deal::Summary, 1, deal::Customer, 1},
                {deal::Customer, 1, deal::InAmount, 1}, // an expense entry
                {deal::Customer, 4, deal::InAmount, 4}, // an income entry on the last row
                {deal::InAmount, 1, deal::OutAmount, 1},
                {deal::OutAmount, 2, deal::Target, 2},  // past the locked columns
                {deal::AccountButton, 2, deal::Summary, 2},
                {deal::Target, 2, deal::Account, 3},
                {deal::Target, 4, deal::Target, 4}}; // the last cell of the last row: the editor's own Enter
  for (const auto& e : enters) {
    ledger->sprDeal.setActiveCell(e.col, e.row);
    const int left = key(13);
    EXPECT_EQ(ledger->sprDeal.activeColumn() * 100 + ledger->sprDeal.activeRow(), e.toCol * 100 + e.toRow)
        << e.col << "/" << e.row;
    EXPECT_EQ(left, e.toCol == e.col && e.toRow == e.row ? 13 : 0) << e.col << "/" << e.row;
  }
  ledger->sprDeal.setActiveCell(deal::Customer, 2);
  ledger->Cur_Row = 2;
  ledger->cmdRowAdd_Divide_Click(1);
  ledger->sprDeal.setActiveCell(deal::Customer, 2);
  key(13);
  EXPECT_EQ(ledger->sprDeal.activeColumn(), deal::Target) << "a split source's amounts are locked";
  ledger->sprDeal.setActiveCell(deal::Receipt, 1);
  ledger->Cur_Row = 1;
  key(32);
  EXPECT_EQ(cell(deal::Receipt, 1), QStringLiteral("1")) << "Space in work toggles the receipt mark";
}

TEST_F(LedgerKeysTest, HeaderClicksSortInBrowseOnly)
{
  open();
  QStringList sorted;
  for (int i = 0; i < 2; ++i) {
    bool cancel = false;
    ledger->sprI_BeforeUserSort(deal::OutAmount, cancel);
    EXPECT_TRUE(cancel) << "the grid's own sorting never runs";
    sorted << column(deal::OutAmount).join(u' ');
  }
  EXPECT_EQ(sorted, (QStringList{"0 1,000 2,000 3,000", "3,000 2,000 1,000 0"}));
  EXPECT_EQ(ledger->Cur_Row, 1);

  ledger->AAA_Cmd_Work(1);
  bool cancel = false;
  ledger->sprI_BeforeUserSort(deal::DealCode, cancel);
  EXPECT_TRUE(cancel);
  EXPECT_EQ(column(deal::OutAmount).join(u' '), QStringLiteral("3,000 2,000 1,000 0"));
}
