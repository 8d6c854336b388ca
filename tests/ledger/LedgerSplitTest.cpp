// Splitting entries through the ledger's commands, saving the parts, removing them and
// deleting marked entries from the database.
#include "LedgerFixture.h"

using namespace vcm;
using namespace vcm::test;

namespace {

class LedgerSplitTest : public LedgerFixture {
protected:
  void TearDown() override
  {
    if (be.available())
      be.adminExec(QStringLiteral("DROP TRIGGER IF EXISTS LT01_FAIL_DELETE"));
    LedgerFixture::TearDown();
  }
  /// Types an amount into a part as the member does: the cell follows every keystroke.
  void typeAmount(int col, int row, const QString& text)
  {
    ledger->sprDeal.setText(col, row, text);
    ledger->sprDeal_EditChange(col, row);
    ledger->sprDeal_Change(col, row);
  }
  QStringList keys() const
  {
    QStringList out;
    for (const QStringList& r : db.rows(QStringLiteral("DEAL_CD, DEAL_CD_2, DEAL_OUT_AMT, DEAL_IN_AMT")))
      out << r[0] + u'/' + r[1] + u'=' + r[2] + u'/' + r[3];
    return out;
  }
};

} // namespace

TEST_F(LedgerSplitTest, ASplitEntrySavesWithConsecutivePartNumbers)
{
  db.addDeals({{"D01", "001", 2, "101", "001", 0, 100000}, {"D02", "001", 1, "201", "001", 10000, 0}});
  open();
  startWork();
  ledger->sprDeal.setActiveCell(deal::OutAmount, 1);
  ledger->sprDeal_Click(deal::OutAmount, 1);
  ledger->cmdRowAdd_Divide_Click(2);
  ASSERT_EQ(rows(), 4);
  ledger->cmdRowAdd_Divide_Click(1);
  EXPECT_EQ(ui->texts().value(0), QStringLiteral("이미 개별분할한 내역을 다시 분할할 수 없습니다.\n\n재분할을 원할 경우 저장 후 다시 시도하세요."));
  ui->clear();
  EXPECT_EQ(ledger->Cur_Row, 2) << "the first new part is selected";
  EXPECT_EQ(ledger->sprDeal.activeColumn() * 100 + ledger->sprDeal.activeRow(), deal::OutAmount * 100 + 2)
      << "the first part becomes active in the column the member was in";
  typeAmount(deal::Account, 2, QStringLiteral("102.수용비"));
  typeAmount(deal::OutAmount, 2, QStringLiteral("3"));
  typeAmount(deal::OutAmount, 2, QStringLiteral("30,000"));
  typeAmount(deal::Account, 3, QStringLiteral("103.공공요금"));
  typeAmount(deal::OutAmount, 3, QStringLiteral("20000"));
  EXPECT_EQ(cell(deal::OutAmount, 1), QStringLiteral("50,000"));
  EXPECT_TRUE(ui->messages.isEmpty()) << ui->texts().join(u'|').toStdString();

  ledger->AAA_Cmd_Work(2);
  EXPECT_EQ(ui->texts(), QStringList{QStringLiteral("[ 3 ]건이 정상적으로 저장되었습니다.")});
  EXPECT_EQ(keys(), (QStringList{"D01/001=50000/0", "D01/002=30000/0", "D01/003=20000/0", "D02/001=0/10000"}));
  EXPECT_EQ(db.column("DACC_CD"), (QStringList{"101", "102", "103", "201"}));
}

TEST_F(LedgerSplitTest, ASourceWhosePartsWereRemovedSavesAsBefore)
{
  db.addDeals({{"D01", "001", 2, "101", "001", 0, 100000, 9, "원래"}});
  open();
  startWork();
  ledger->cmdRowDel_Click();
  EXPECT_EQ(ui->texts(), QStringList{QStringLiteral("[행삭제]는 신규 [개별분할] 거래내역만 가능합니다. 취소합니다.")});
  EXPECT_EQ(rows(), 1);
  EXPECT_EQ(cell(deal::Changed, 1), QString()) << "a loaded entry is left alone";
  ui->clear();

  ledger->sprDeal_Click(deal::Summary, 1);
  ledger->cmdRowAdd_Divide_Click(2);
  typeAmount(deal::OutAmount, 2, QStringLiteral("30000"));
  typeAmount(deal::OutAmount, 3, QStringLiteral("20000"));
  for (int part : {3, 2}) {
    ledger->sprDeal_Click(deal::Summary, part);
    ledger->cmdRowDel_Click();
  }
  EXPECT_EQ(ui->texts(), (QStringList{"정상적으로 삭제되었습니다.", "정상적으로 삭제되었습니다."}));
  EXPECT_EQ(ui->messages.value(0).icon, Icon::Information);
  ASSERT_EQ(rows(), 1);
  EXPECT_EQ(cell(deal::OutAmount, 1), QStringLiteral("100,000"));
  EXPECT_EQ(ledger->Cur_Row, 1);
  ui->clear();
  type(deal::Summary, 1, QStringLiteral("바꿈"));
  ledger->AAA_Cmd_Work(2);
  EXPECT_EQ(ui->texts(), QStringList{QStringLiteral("[ 1 ]건이 정상적으로 저장되었습니다.")});
  EXPECT_EQ(keys(), QStringList{"D01/001=100000/0"});
}

TEST_F(LedgerSplitTest, MarkedEntriesAreDeletedByTheirKeys)
{
  const QList<DealRow> deals{{"D01", "001", 2, "101", "001", 0, 500},
                             {"D01", "002", 2, "101", "001", 0, 300},
                             {"D01", "003", 2, "101", "001", 0, 200},
                             {"D02", "001", 2, "101", "001", 0, 900}};
  const QString question = QStringLiteral("[ 2 ] 건의 거래내역을 삭제하시겠습니까?");
  const struct {
    QList<int> marked;
    Answer answer;
    QStringList notices;
    QStringList left;
  } cases[] = {
      {{2, 4},
       Answer::Yes,
       {QStringLiteral("원본 거래내역은 삭제할 수 없습니다.( 4 행)\n\n해당행의 체크를 제거 후 다시 시도하세요.")},
       {"D01/001", "D01/002", "D01/003", "D02/001"}},
      {{}, Answer::Yes, {QStringLiteral("삭제할 거래내역을 먼저 체크해주세요.")}, {"D01/001", "D01/002", "D01/003", "D02/001"}},
      {{2, 3}, Answer::No, {question}, {"D01/001", "D01/002", "D01/003", "D02/001"}},
      {{2, 3}, Answer::Yes, {question, QStringLiteral("정상적으로 삭제되었습니다.")}, {"D01/001", "D02/001"}},
  };
  for (const auto& c : cases) {
    db.reset();
    db.addDeals(deals);
    open();
    ui->clear();
    ui->answers.clear();
    for (int r : c.marked)
      ledger->sprDeal.setText(deal::Check, r, QStringLiteral("1"));
    ui->answers.enqueue(c.answer);
    ledger->AAA_Cmd_Work(3);
    EXPECT_EQ(ui->texts(), c.notices) << c.marked.size();
    QStringList left;
    for (const QStringList& r : db.rows(QStringLiteral("DEAL_CD, DEAL_CD_2")))
      left << r[0] + u'/' + r[1];
    EXPECT_EQ(left, c.left);
    EXPECT_EQ(rows(), c.left.size()) << "the grid shows what is stored";
    EXPECT_EQ(ledger->form.totals[0], QStringLiteral("%1 건").arg(c.left.size())) << "and totals it";
  }
}

TEST_F(LedgerSplitTest, ADeleteFailingMidwaySaysHowManyWentAndReloads)
{
  db.addDeals({{"D01", "001", 2, "101", "001", 0, 500},
               {"D01", "002", 2, "101", "001", 0, 300},
               {"D01", "003", 2, "101", "001", 0, 200}});
  be.adminExec(QStringLiteral(
      "CREATE TRIGGER LT01_FAIL_DELETE BEFORE DELETE ON DEAL_LIST FOR EACH ROW "
      "BEGIN IF OLD.COM_CD = 'LT01' AND OLD.DEAL_CD_2 = '003' THEN "
      "SIGNAL SQLSTATE '45000' SET MESSAGE_TEXT = 'refused for the test'; END IF; END"));
  open();
  ui->clear();
  ledger->sprDeal.setText(deal::Check, 2, QStringLiteral("1"));
  ledger->sprDeal.setText(deal::Check, 3, QStringLiteral("1"));
  ledger->AAA_Cmd_Work(3);
  ASSERT_EQ(ui->messages.size(), 3) << ui->texts().join(u'|').toStdString();
  EXPECT_TRUE(ui->messages[1].title.startsWith(QStringLiteral("오류안내(")));
  EXPECT_EQ(ui->messages[2].text, QStringLiteral("삭제시 오류가 발생하였습니다. (오류 전에 [ 1 ]건이 삭제되었습니다.)\n\n"
                                                 "지금 상태 그대로 개발사로 연락주세요."));
  EXPECT_EQ(db.column("DEAL_CD_2"), (QStringList{"001", "003"}));
  EXPECT_EQ(column(deal::PartNo), (QStringList{"001", "003"}));
}
