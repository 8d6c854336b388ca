// The business information view against the test database.
#include "BusinessDb.h"

#include "business/BusinessInfoView.h"
#include "common/Session.h"
#include "platform/ScriptedUi.h"

#include <gtest/gtest.h>

namespace vcm {
namespace {

class BusinessInfoViewTest : public ::testing::Test {
protected:
  void SetUp() override
  {
    if (!be.available())
      GTEST_SKIP() << be.unavailableReason().toStdString();
    db.reset();
  }
  void TearDown() override
  {
    Session.Connection.reset();
    Session.reset();
  }

  /// Loads the view and returns its fields.
  const CompanyFields& load()
  {
    view.Set_Basic_info();
    return view.fields;
  }

  test::Backend& be = test::Backend::shared();
  test::BusinessDb db{be};
  ScopedScriptedUi ui;
  BusinessInfoView view;
};

TEST_F(BusinessInfoViewTest, FillsEveryFieldTrimmedWithCredentialsDecrypted)
{
  const CompanyFields& f = load();
  EXPECT_TRUE(ui->messages.isEmpty()) << ui->texts().join(QLatin1Char('|')).toStdString();
  EXPECT_EQ(f.txtCCode, test::BusinessDb::Company);
  EXPECT_EQ(f.txtBase[0], QStringLiteral("77011"));
  EXPECT_EQ(f.txtBase[1], QStringLiteral("시험재가센터"));
  EXPECT_EQ(f.txtBase[4], QStringLiteral("서울시 강서구 공항대로 1 3층"));
  EXPECT_EQ(f.txtBase[7], QStringLiteral("bank-7701"));
  EXPECT_EQ(f.txtBase[11], QStringLiteral("hopePw#7701"));
  EXPECT_EQ(f.mskBase[0], QStringLiteral("1234567890"));
  EXPECT_EQ(f.mskBase[4], QStringLiteral("2020.02.03"));
  EXPECT_EQ(f.txtTel[3], QStringLiteral("010-3333-4444"));
  EXPECT_EQ(f.conDiv, 1);
  EXPECT_TRUE(f.cmdComEditVisible);
  EXPECT_EQ(Session.Connection, nullptr);
}

TEST_F(BusinessInfoViewTest, AddressLinesAreJoinedByExactlyOneBlank)
{
  const struct {
    const char* line1;
    const char* line2;
    const char* shown;
  } cases[] = {
      {"'  서울시 1  '", "NULL", "서울시 1 "},
      {"NULL", "NULL", " "},
      {"NULL", "'  2호'", " 2호"},
  };
  for (const auto& c : cases) {
    db.set(QStringLiteral("DM_JUSO1 = %1, DM_JUSO2 = %2").arg(QString::fromUtf8(c.line1), QString::fromUtf8(c.line2)));
    EXPECT_EQ(load().txtBase[5], QString::fromUtf8(c.shown)) << c.line1 << " " << c.line2;
  }
}

TEST_F(BusinessInfoViewTest, ChangeButtonAndContractFollowTheRow)
{
  const struct {
    int writeCom;
    int conDiv;
    bool visible;
  } cases[] = {{0, 3, false}, {1, 1, true}, {5, 3, true}};
  for (const auto& c : cases) {
    db.set(QStringLiteral("MEMBER_WRITE_COM = %1, CON_DIV = %2").arg(c.writeCom).arg(c.conDiv));
    const CompanyFields& f = load();
    EXPECT_EQ(f.cmdComEditVisible, c.visible) << c.writeCom;
    EXPECT_EQ(f.conDiv, c.conDiv);
  }
}

TEST_F(BusinessInfoViewTest, UnknownContractGivesTheErrorNoticeAndKeepsTheRest)
{
  load(); // the button is shown, the contract is 1
  db.set(QStringLiteral("CON_DIV = 7, MEMBER_WRITE_COM = 0"));
  const CompanyFields& f = load();
  ASSERT_EQ(ui->messages.size(), 1);
  EXPECT_EQ(ui->messages[0].title, QStringLiteral("오류안내(340)"));
  EXPECT_TRUE(ui->messages[0].text.endsWith(QStringLiteral("(사업장_사업장정보)Frm_Clear")))
      << ui->messages[0].text.toStdString();
  EXPECT_EQ(f.txtBase[11], QStringLiteral("hopePw#7701")); // filled before the contract
  EXPECT_EQ(f.mskBase[4], QString());                       // after it: stays cleared
  EXPECT_TRUE(f.cmdComEditVisible);                         // keeps its previous state
  EXPECT_EQ(f.conDiv, 1);
  EXPECT_EQ(Session.Connection, nullptr);
}

TEST_F(BusinessInfoViewTest, CompanyCodeNotPositiveTouchesNothing)
{
  load();
  // A connection string that cannot work: any database access would end in a notice.
  Session.ConnectionString = be.connectionString(QStringLiteral("wrong-password"));
  for (const char* code : {"0", "", "abc"}) {
    Session.CompanyCode = QLatin1String(code);
    const CompanyFields& f = load();
    EXPECT_TRUE(ui->messages.isEmpty()) << code;
    EXPECT_EQ(f.txtBase[1], QString()) << code;
    EXPECT_EQ(f.txtCCode, QString()) << code;
  }
}

TEST_F(BusinessInfoViewTest, NoRowGivesTheMessageAndEmptyFields)
{
  Session.CompanyCode = QStringLiteral("7799");
  const CompanyFields& f = load();
  ASSERT_EQ(ui->texts(), QStringList{BusinessInfoView::kNoRowText});
  EXPECT_EQ(ui->messages[0].icon, Icon::Exclamation);
  EXPECT_EQ(f.txtBase[1], QString());
  EXPECT_EQ(f.txtCCode, QString());
  EXPECT_FALSE(f.cmdComEditVisible);
}

} // namespace
} // namespace vcm
