#include "common/ErrMsg.h"
#include "common/MainConn.h"
#include "common/Session.h"
#include "platform/ScriptedUi.h"

#include <gtest/gtest.h>

using namespace vcm;

class SessionTest : public ::testing::Test {
protected:
  void SetUp() override { Session.reset(); }
  void TearDown() override { Session.reset(); }
  ScopedScriptedUi ui;
};

TEST_F(SessionTest, ErrorNoticeJoinsDescriptionLocationAndProcedure)
{
  Session.CurrentProcedure = QStringLiteral("Main");
  g_Err_Msg(RuntimeError(3704, QStringLiteral("개체가 닫혀 있습니다.")), QStringLiteral("Sub"));
  ASSERT_EQ(ui->messages.size(), 1);
  EXPECT_EQ(ui->messages[0].text, QStringLiteral("개체가 닫혀 있습니다.(Sub)Main"));
  EXPECT_EQ(ui->messages[0].title, QStringLiteral("오류안내(3704)"));
  EXPECT_EQ(ui->messages[0].icon, Icon::Exclamation);
  EXPECT_EQ(ui->messages[0].buttons, Buttons::Ok);
  EXPECT_EQ(Session.CurrentProcedure, QStringLiteral("Main")); // the notice changes no state
}

TEST_F(SessionTest, NegativeErrorNumbersKeepTheirSignInTheTitle)
{
  g_Err_Msg(RuntimeError(errors::kProvider, QStringLiteral("x")), QStringLiteral("로그인"));
  EXPECT_EQ(ui->messages[0].title, QStringLiteral("오류안내(-2147467259)"));
}

TEST_F(SessionTest, ClosingWithoutAConnectionDoesNothing)
{
  g_Nothing_MainConn();
  EXPECT_TRUE(ui->messages.isEmpty());
  EXPECT_FALSE(Session.Connection);
}

TEST_F(SessionTest, ClosingANeverOpenedConnectionWarnsAndKeepsTheObject)
{
  Session.Connection = std::make_unique<Connection>();
  Session.CurrentProcedure = QStringLiteral("Main");
  g_Nothing_MainConn();
  ASSERT_EQ(ui->messages.size(), 2);
  EXPECT_EQ(ui->messages[0].text, QStringLiteral("연결종료시 오류가 발생하였습니다. 잠시 후 다시 시도하세요."));
  EXPECT_EQ(ui->messages[0].title, QStringLiteral("작업안내"));
  EXPECT_EQ(ui->messages[0].icon, Icon::Exclamation);
  EXPECT_TRUE(ui->messages[1].text.endsWith(QStringLiteral("(g_Nothing_MainConn)Main")));
  EXPECT_EQ(ui->messages[1].title, QStringLiteral("오류안내(3704)"));
  EXPECT_TRUE(Session.Connection); // the failed object is kept
}

TEST_F(SessionTest, ReleasingRecordSetsLeavesItsOwnNameAsCurrentProcedure)
{
  Session.CurrentProcedure = QStringLiteral("Set_Deal_List");
  std::unique_ptr<RecordSet> empty;
  g_Rs_Nothing(empty);
  EXPECT_EQ(Session.CurrentProcedure, QStringLiteral("g_Rs_Nothing"));

  auto rs = std::make_unique<RecordSet>(RecordSet::inMemory({{QStringLiteral("A"), RecordSet::ColumnType::Text}}));
  rs->appendRow({QStringLiteral("x")});
  rs->setFilter(QStringLiteral("A = 'x'"));
  Session.CurrentProcedure = QStringLiteral("other");
  g_Rs_Nothing_Filter(rs);
  EXPECT_FALSE(rs);
  EXPECT_EQ(Session.CurrentProcedure, QStringLiteral("g_Rs_Nothing"));

  // An already closed set is simply dropped.
  auto closed = std::make_unique<RecordSet>(RecordSet::inMemory({}));
  closed->close();
  g_Rs_Nothing(closed);
  EXPECT_FALSE(closed);
  EXPECT_TRUE(ui->messages.isEmpty());
}

TEST_F(SessionTest, OpeningWithAMalformedConnectionStringRaisesTheSecondFailure)
{
  Session.ConnectionString = QStringLiteral("driver=x;server");
  try {
    g_Open_MainConn();
    FAIL() << "expected a failure";
  } catch (const RuntimeError& e) {
    EXPECT_EQ(e.number, errors::kProvider);
    EXPECT_TRUE(e.description.startsWith(QStringLiteral("[MySQL][ODBC 3.51 Driver]")));
  }
}
