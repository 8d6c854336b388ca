// Change requests against the test database; stored values are checked by decrypting them.
#include "BusinessDb.h"

#include "business/BusinessInfoChange.h"
#include "common/Session.h"
#include "platform/ScriptedUi.h"

#include <QRegularExpression>
#include <gtest/gtest.h>

namespace vcm {
namespace {

using Rows = QList<QStringList>;

class BusinessInfoChangeTest : public ::testing::Test {
protected:
  void SetUp() override
  {
    if (!be.available())
      GTEST_SKIP() << be.unavailableReason().toStdString();
    db.reset();
    be.adminExec(QStringLiteral("DROP TRIGGER IF EXISTS BT7701_FAIL"));
  }
  void TearDown() override
  {
    if (be.available())
      be.adminExec(QStringLiteral("DROP TRIGGER IF EXISTS BT7701_FAIL"));
    Session.Connection.reset();
    Session.reset();
  }

  void tick(int item) { change.form.chkWrite_Com[size_t(item)] = true; }

  test::Backend& be = test::Backend::shared();
  test::BusinessDb db{be};
  ScopedScriptedUi ui;
  BusinessInfoChange change;
};

TEST_F(BusinessInfoChangeTest, LoadsCurrentValuesWithAddressLinesApart)
{
  change.Form_Activate();
  EXPECT_TRUE(ui->messages.isEmpty());
  EXPECT_EQ(change.current.txtBase[4], QStringLiteral("서울시 강서구 공항대로 1"));
  EXPECT_EQ(change.current.txtBase[12], QStringLiteral("3층"));
  EXPECT_EQ(change.current.txtBase[13], QStringLiteral("2호"));
  EXPECT_EQ(change.current.txtBase[10], QStringLiteral("hope7701"));
  EXPECT_EQ(Session.CurrentProcedure, QStringLiteral("g_Rs_Nothing"));
}

TEST_F(BusinessInfoChangeTest, AddressItemWritesOneHeaderAndThreeDetailsInOrder)
{
  tick(9);
  change.form.mskBase_CH[2] = QStringLiteral("073-22");
  change.form.txtBase_CH[4] = QStringLiteral("  서울시 영등포구 도림로 5 ");
  change.form.txtBase_CH[12] = QStringLiteral("4층");
  change.form.txtBase_CH[5] = QStringLiteral("not ticked");
  ASSERT_TRUE(change.cmdFinish_Click());

  EXPECT_EQ(db.details(), (Rows{{"0001", "COM_POSTNO", "073-22"},
                                {"0001", "COM_JUSO1", "서울시 영등포구 도림로 5"},
                                {"0001", "COM_JUSO2", "4층"}}));
  const Rows headers = db.headers();
  ASSERT_EQ(headers.size(), 1);
  EXPECT_EQ(headers[0][0], QStringLiteral("0001"));
  EXPECT_EQ(headers[0][1], QStringLiteral("0"));
  EXPECT_TRUE(QRegularExpression(QStringLiteral("^\\d{4}\\.\\d\\d\\.\\d\\d \\d\\d:\\d\\d:\\d\\d$"))
                  .match(headers[0][2]).hasMatch()) << headers[0][2].toStdString();
  ASSERT_EQ(ui->messages.size(), 2);
  EXPECT_EQ(ui->messages[0].text, BusinessInfoChange::kSaveQuestion);
  EXPECT_EQ(ui->messages[0].buttons, Buttons::YesNo);
  EXPECT_EQ(ui->messages[1].text, BusinessInfoChange::kSavedText);
  EXPECT_EQ(ui->messages[1].icon, Icon::Information);
  EXPECT_FALSE(change.cmdFinishEnabled);
  EXPECT_EQ(Session.Connection, nullptr);
}

TEST_F(BusinessInfoChangeTest, ValuesAreStoredExactlyAndContractWithoutChoiceIsThree)
{
  tick(5);
  tick(11);
  tick(17);
  change.form.txtBase_CH[2] = QStringLiteral("김'철\\수");
  change.form.txtBase_CH[6] = QStringLiteral(" o'neil\\x@예시.kr ");
  ASSERT_TRUE(change.cmdFinish_Click());
  EXPECT_EQ(db.details(), (Rows{{"0001", "BOSS_NM", "김'철\\수"},
                                {"0001", "COM_MAIL", "o'neil\\x@예시.kr"},
                                {"0001", "CON_DIV", "3"}}));
}

TEST_F(BusinessInfoChangeTest, NumbersFollowTheHighestRequest)
{
  const struct {
    QStringList existing;
    const char* next;
  } cases[] = {
      {{}, "0001"},
      {{"0010", "0011"}, "0012"},
      {{"0009"}, "0010"},
      {{"9999"}, "10000"},
      {{"9999", "10000"}, "10001"},
  };
  for (const auto& c : cases) {
    db.reset();
    for (const QString& n : c.existing)
      db.addHeader(n);
    BusinessInfoChange fresh;
    fresh.form.chkWrite_Com[0] = true;
    fresh.form.txtBase_CH[0] = QStringLiteral("12345");
    ASSERT_TRUE(fresh.cmdFinish_Click()) << c.next;
    EXPECT_EQ(db.details(), (Rows{{c.next, "CENTER_CD", "12345"}})) << c.next;
    EXPECT_EQ(db.headers().size(), c.existing.size() + 1) << c.next;
  }
}

TEST_F(BusinessInfoChangeTest, RefusalsWriteNothing)
{
  const auto nothingWritten = [&](const char* what) {
    EXPECT_TRUE(db.details().isEmpty()) << what;
    EXPECT_TRUE(db.headers().isEmpty()) << what;
    EXPECT_TRUE(change.cmdFinishEnabled) << what;
  };
  // Ticked, typed, unticked: nothing is ticked any more.
  change.form.txtBase_CH[2] = QStringLiteral("홍길동");
  EXPECT_FALSE(change.cmdFinish_Click());
  EXPECT_EQ(ui->texts(), QStringList{BusinessInfoChange::kNothingTickedText});
  nothingWritten("unticked");

  ui->clear();
  tick(5);
  ui->answers.enqueue(Answer::No);
  EXPECT_FALSE(change.cmdFinish_Click());
  EXPECT_EQ(ui->texts(), QStringList{BusinessInfoChange::kSaveQuestion});
  nothingWritten("answered No");

  ui->clear();
  tick(7);
  change.form.txtBase_CH[3] = QStringLiteral("이모지😀");
  EXPECT_FALSE(change.cmdFinish_Click());
  ASSERT_EQ(ui->messages.size(), 1);
  EXPECT_TRUE(ui->messages[0].text.startsWith(QStringLiteral("[센 터 장 명] 항목에 저장할 수 없는 문자(😀)")));
  nothingWritten("outside EUC-KR");
}

TEST_F(BusinessInfoChangeTest, LongValuesAreStoredWholeOrRefused)
{
  // AFTER_STORY holds HEX(AES_ENCRYPT(value)) in 1,000 characters: 31 blocks of 16
  // bytes, so a value of at most 495 euckr bytes (a Hangul syllable is two).
  const QString bytes494 = QString(247, QChar(0xD64D));
  const struct {
    const char* what;
    QString value;
    bool stored;
  } cases[] = {
      {"one under", bytes494, true},
      {"at", bytes494 + QLatin1Char('a'), true},
      {"over", bytes494 + QStringLiteral("길"), false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    db.reset();
    ui->clear();
    BusinessInfoChange fresh;
    fresh.form.chkWrite_Com[5] = true;
    fresh.form.txtBase_CH[2] = c.value;
    EXPECT_EQ(fresh.cmdFinish_Click(), c.stored);
    if (c.stored) {
      EXPECT_EQ(db.details(), (Rows{{"0001", "BOSS_NM", c.value}}));
    } else {
      ASSERT_EQ(ui->messages.size(), 1);
      EXPECT_EQ(ui->messages[0].text,
                QStringLiteral("[대 표 자 명]은(는) 최대 495바이트(한글 247자)까지 저장할 수 있습니다. (지금 496바이트)"
                               "\r\n\r\n내용을 줄인 후 다시 시도해주세요."));
      EXPECT_TRUE(db.details().isEmpty());
    }
  }
}

TEST_F(BusinessInfoChangeTest, FailedHeaderKeepsItsDetailsOutOfTheNextRequest)
{
  be.adminExec(QStringLiteral("CREATE TRIGGER BT7701_FAIL BEFORE INSERT ON TRANS_COM_INFO FOR EACH ROW "
                              "SIGNAL SQLSTATE '45000' SET MESSAGE_TEXT = 'header refused'"));
  tick(0);
  tick(1);
  change.form.mskBase_CH[0] = QStringLiteral("111-22-33333");
  Session.CurrentProcedure = QStringLiteral("txtTel_KeyPress"); // the save names no procedure
  EXPECT_FALSE(change.cmdFinish_Click());
  EXPECT_TRUE(db.headers().isEmpty());
  ASSERT_EQ(ui->messages.size(), 3);
  EXPECT_TRUE(ui->messages[1].title.startsWith(QStringLiteral("오류안내(")));
  EXPECT_TRUE(ui->messages[1].text.contains(QStringLiteral("header refused")));
  EXPECT_TRUE(ui->messages[1].text.endsWith(QStringLiteral("(사업장_사업장정보_변경)txtTel_KeyPress")))
      << ui->messages[1].text.toStdString();
  EXPECT_EQ(ui->messages[2].text, BusinessInfoChange::kNotSavedText);
  EXPECT_TRUE(change.cmdFinishEnabled);
  EXPECT_EQ(Session.Connection, nullptr);

  // Saved again once the server takes headers: a number of its own, the unconfirmed
  // details stay apart under theirs.
  be.adminExec(QStringLiteral("DROP TRIGGER BT7701_FAIL"));
  ui->clear();
  change.form.chkWrite_Com[1] = false;
  ASSERT_TRUE(change.cmdFinish_Click());
  EXPECT_EQ(db.details(), (Rows{{"0001", "CENTER_CD", ""}, {"0001", "BIZ_NO", "111-22-33333"}, {"0002", "CENTER_CD", ""}}));
  ASSERT_EQ(db.headers().size(), 1);
  EXPECT_EQ(db.headers()[0][0], QStringLiteral("0002"));
}

TEST_F(BusinessInfoChangeTest, NumbersSkipDetailsWithoutAHeader)
{
  const struct {
    QStringList headers;
    QStringList details;
    const char* next;
  } cases[] = {
      {{"0001"}, {"0001", "0002"}, "0003"},     // another computer between its two INSERTs
      {{"0005"}, {"0003"}, "0006"},             // a stale detail below the headers
      {{}, {"0007"}, "0008"},                   // details only
      {{"0009"}, {"0010", "0010"}, "0011"},
  };
  for (const auto& c : cases) {
    db.reset();
    for (const QString& n : c.headers)
      db.addHeader(n);
    for (const QString& n : c.details)
      db.addDetail(n, QStringLiteral("BOSS_NM"), QStringLiteral("other"));
    BusinessInfoChange fresh;
    fresh.form.chkWrite_Com[16] = true;
    fresh.form.txtBase_CH[11] = QStringLiteral("new-pw");
    ASSERT_TRUE(fresh.cmdFinish_Click()) << c.next;
    Rows expected;
    for (const QString& n : c.details)
      expected.push_back({n, QStringLiteral("BOSS_NM"), QStringLiteral("other")});
    expected.push_back({QLatin1String(c.next), QStringLiteral("HOPE_PW"), QStringLiteral("new-pw")});
    EXPECT_EQ(db.details(), expected) << c.next << ": no detail row is removed or joined";
  }
}

TEST_F(BusinessInfoChangeTest, AnotherComputersSaveInProgressKeepsItsRows)
{
  db.addHeader(QStringLiteral("0001"));
  db.addDetail(QStringLiteral("0001"), QStringLiteral("BOSS_NM"), QStringLiteral("kept"));
  // Computer B has written its details and not yet its header.
  db.addDetail(QStringLiteral("0002"), QStringLiteral("COM_MAIL"), QStringLiteral("b@pc"));
  // Computer C takes its number after this save's details and writes its details
  // between this save's detail and header INSERTs.
  be.adminExec(QStringLiteral("CREATE TRIGGER BT7701_FAIL BEFORE INSERT ON TRANS_COM_INFO FOR EACH ROW "
                              "BEGIN IF NEW.TRANS_CD = '0003' THEN "
                              "INSERT INTO TRANS_COM_INFO_DETAIL (COM_CD, TRANS_CD, SAVE_FIELD, AFTER_STORY) "
                              "VALUES (NEW.COM_CD, '0004', 'HOPE_ID', HEX(AES_ENCRYPT('c-pc', '%1'))); "
                              "END IF; END")
                   .arg(db.infoKey()));
  const auto save = [&](const QString& mail) {
    BusinessInfoChange fresh;
    fresh.form.chkWrite_Com[11] = true;
    fresh.form.txtBase_CH[6] = mail;
    return fresh.cmdFinish_Click();
  };
  ASSERT_TRUE(save(QStringLiteral("a1@pc")));
  db.addHeader(QStringLiteral("0002")); // B and C finish
  db.addHeader(QStringLiteral("0004"));
  ASSERT_TRUE(save(QStringLiteral("a2@pc")));

  EXPECT_EQ(db.details(), (Rows{{"0001", "BOSS_NM", "kept"},
                                {"0002", "COM_MAIL", "b@pc"},
                                {"0003", "COM_MAIL", "a1@pc"},
                                {"0004", "HOPE_ID", "c-pc"},
                                {"0005", "COM_MAIL", "a2@pc"}}));
  QStringList numbers;
  for (const QStringList& h : db.headers())
    numbers << h[0];
  EXPECT_EQ(numbers, (QStringList{"0001", "0002", "0003", "0004", "0005"}));
  EXPECT_EQ(ui->texts(), (QStringList{BusinessInfoChange::kSaveQuestion, BusinessInfoChange::kSavedText,
                                      BusinessInfoChange::kSaveQuestion, BusinessInfoChange::kSavedText}));
}

} // namespace
} // namespace vcm
