// Entering and leaving the work state, its guards and the close request.
#include "LedgerFixture.h"

#include "ledger/LedgerColours.h"

using namespace vcm;
using namespace vcm::test;

namespace {

class LedgerWorkTest : public LedgerFixture {
protected:
  void addThree()
  {
    db.addDeals({{"D01", "001", 2, "101", "001", 0, 1000, 9, "가"},
                 {"D02", "001", 2, "101", "003", 0, 2000, 9, "나"},
                 {"D03", "001", 1, "201", "001", 3000, 0, 9, "다"}});
  }
  void command(short n) { ledger->AAA_Cmd_Work(n); }
  bool working() const { return host.tags[1] == QStringLiteral("WORK"); }
};

const QString kCancelQuestion = QStringLiteral("내용 변경 후 저장 안된 내용이 존재합니다.\n\n그래도 취소하시겠습니까?");

} // namespace

TEST_F(LedgerWorkTest, ActivationShowsTheLedgerButtonsAndItsQuickButton)
{
  addThree();
  open();
  EXPECT_EQ(host.visibleFlags, QStringLiteral("0,1,1,1,0,0,1,0,1"));
  EXPECT_EQ(host.quickButtons, QStringList{Ledger::ScreenName});
  EXPECT_EQ(rows(), 3);
}

TEST_F(LedgerWorkTest, EnteringWorkSetsButtonsLocksAndPainting)
{
  addThree();
  open();
  command(1);
  ASSERT_TRUE(working());
  EXPECT_EQ(host.enabled, (std::array<bool, 9>{false, true, true, false, true, true, true, true, false}));
  EXPECT_EQ(host.pictures[1], std::make_pair(1, 2));
  EXPECT_FALSE(ledger->form.searchFramesEnabled);
  EXPECT_TRUE(ledger->form.picWorkVisible);
  EXPECT_TRUE(ledger->form.splitButtonsEnabled);
  EXPECT_EQ(ledger->form.splitButtonColour, ledgerColours::SplitButtonOn);
  for (int col = 1; col <= deal::ColumnCount; ++col) {
    const bool editable = col == 11 || (col >= 14 && col <= 17) || col == 21;
    EXPECT_EQ(ledger->sprDeal.isLocked(col, 2), !editable) << "column " << col;
  }
  // Work painting: read-only columns grey, the bank colour elsewhere, current row on top.
  ledger->sprDeal_Click(deal::Summary, 1);
  EXPECT_EQ(ledger->sprDeal.background(deal::BankName, 2), ledgerColours::ReadOnlyInWork);
  EXPECT_EQ(ledger->sprDeal.background(deal::Summary, 2), Colour(12632256));
  EXPECT_EQ(ledger->sprDeal.background(deal::BankName, 1), ledgerColours::CurrentRow);
  EXPECT_TRUE(ui->messages.isEmpty());

  // A click on the receipt column in work marks the row changed.
  ledger->sprDeal_Click(deal::Receipt, 3);
  EXPECT_EQ(cell(deal::Receipt, 3), QStringLiteral("1"));
  EXPECT_EQ(cell(deal::Changed, 3), QStringLiteral("1"));
  EXPECT_EQ(ledger->sprDeal.foreground(deal::Summary, 3), ledgerColours::ChangedText);
}

TEST_F(LedgerWorkTest, WorkIsRefusedOnAClosedMonthAnEmptyGridAndABadMonth)
{
  const struct {
    int trans;       // of the only entry; -1: no entry
    QString month;
    short command;
    QString notice;
  } cases[] = {
      {1, LedgerDb::Month, 1, QStringLiteral("현재 작업권한이 [베트라케어]에 있습니다.\n\n작업을 취소합니다.")},
      {-1, LedgerDb::Month, 1, QStringLiteral("수정할 내역이 존재하지 않습니다.")},
      {9, QStringLiteral("2024.13"), 1, QStringLiteral("[거래년월]을 정확히 기입해주신 후 버튼을 클릭해주세요.")},
      {9, QStringLiteral("2024.13"), 2, QStringLiteral("[거래년월]을 정확히 기입해주신 후 버튼을 클릭해주세요.")},
      {9, QStringLiteral("2024.13"), 8, QStringLiteral("[거래년월]을 정확히 기입해주신 후 버튼을 클릭해주세요.")},
  };
  for (const auto& c : cases) {
    db.reset();
    if (c.trans >= 0)
      db.addDeal({"D01", "001", 2, "101", "001", 0, 1000, c.trans});
    open();
    ledger->form.mskM = c.month;
    int unloads = 0;
    ledger->unloadScreen = [&] { ++unloads; };
    ui->clear();
    command(c.command);
    EXPECT_EQ(ui->texts(), QStringList{c.notice});
    EXPECT_FALSE(working());
    EXPECT_EQ(unloads, 0);
  }
}

TEST_F(LedgerWorkTest, CancellingAsksOnlyWhenRowsChangedAndReloads)
{
  const struct {
    bool change;
    Answer answer;
    bool stillWorking;
    QString summaryAfter;
  } cases[] = {
      {false, Answer::Yes, false, QStringLiteral("가")},
      {true, Answer::No, true, QStringLiteral("바뀜")},
      {true, Answer::Yes, false, QStringLiteral("가")},
  };
  for (const auto& c : cases) {
    db.reset();
    host = ButtonPanel{};
    addThree();
    open();
    command(1);
    if (c.change)
      type(deal::Summary, 1, QStringLiteral("바뀜"));
    ui->clear();
    if (c.change)
      ui->answers.enqueue(c.answer);
    command(1);
    EXPECT_EQ(ui->texts(), c.change ? QStringList{kCancelQuestion} : QStringList{});
    if (c.change)
      EXPECT_EQ(ui->messages[0].icon, Icon::Question);
    EXPECT_EQ(working(), c.stillWorking);
    EXPECT_EQ(cell(deal::Summary, 1), c.summaryAfter);
    if (!c.stillWorking) {
      EXPECT_EQ(host.enabled, (std::array<bool, 9>{true, true, false, true, true, true, true, true, true}));
      EXPECT_EQ(host.pictures[0], std::make_pair(3, 4));
      EXPECT_EQ(host.pictures[1], std::make_pair(5, 6));
      EXPECT_TRUE(ledger->form.searchFramesEnabled);
      EXPECT_FALSE(ledger->form.picWorkVisible);
      EXPECT_EQ(ledger->form.splitButtonColour, colours::ButtonFace);
      EXPECT_TRUE(ledger->sprDeal.isLocked(deal::Summary, 1));
    }
  }
}

TEST_F(LedgerWorkTest, ClosingIsRefusedDuringWork)
{
  addThree();
  open();
  bool closed = false;
  ledger->unloadScreen = [&] {
    bool cancel = false;
    ledger->Form_QueryUnload(cancel);
    closed = !cancel;
  };
  const struct {
    bool work;
    QString otherTag; // tag of cmdWork(0), set by another screen's new-entry state
    bool closes;
  } cases[] = {{true, QString(), false}, {false, QStringLiteral("WORK"), false}, {false, QString(), true}};
  for (const auto& c : cases) {
    if (c.work != working())
      command(1);
    host.tags[0] = c.otherTag;
    ui->clear();
    command(8);
    EXPECT_EQ(closed, c.closes);
    EXPECT_EQ(ui->texts(), c.closes ? QStringList{}
                                    : QStringList{QStringLiteral("현재 신규 또는 수정작업중입니다.\n\n작업을 모두 마친 후 종료해주세요.")});
  }
  EXPECT_TRUE(host.quickButtons.isEmpty()) << "the quick button goes with the screen";
  EXPECT_FALSE(ledger->lists.Acc_List) << "the code lists are released";
}
