// Hostile texts through every field a member types into: each is stored exactly as
// typed, found as typed, or refused with a notice; never cut, never run as SQL.
#include "../business/BusinessDb.h"
#include "../ledger/LedgerTestSupport.h"
#include "../transfer/RecordingIndicator.h"
#include "business/BusinessInfoChange.h"
#include "common/Session.h"
#include "ledger/DealColumns.h"
#include "ledger/Ledger.h"
#include "login/LoginQuery.h"
#include "login/LoginScreen.h"
#include "platform/ScriptedUi.h"
#include "support/TestBackend.h"
#include "transfer/FileTransfer.h"

#include <QDir>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

namespace vcm::test {
namespace {

const QString kTooLong = QStringLiteral("최대");  // every length refusal names the limit so

struct HostileText {
  const char* name;
  QString text;
  bool fitsEverywhere;
};

const QList<HostileText>& hostileTexts()
{
  static const QList<HostileText> texts{
      {"apostrophe", QStringLiteral("O'Neil's ''"), true},
      {"backslash", QStringLiteral("C:\\temp\\ \\' \\\\"), true},
      {"percent and underscore", QStringLiteral("100%_할인_%"), true},
      {"statement end", QStringLiteral("x'; DROP TABLE DEAL_LIST; --"), true},
      {"comments", QStringLiteral("a /* b */ -- c # d"), true},
      {"NUL", QString::fromUtf16(u"앞\0뒤", 3), true},
      {"100 KB", QString(100 * 1024, QLatin1Char('x')), false},
  };
  return texts;
}

class HostileTextsTest : public ::testing::Test {
protected:
  void SetUp() override
  {
    if (!be.available())
      GTEST_SKIP() << be.unavailableReason().toStdString();
    ASSERT_TRUE(m_dir.isValid());
  }
  void TearDown() override
  {
    Session.Connection.reset();
    Session.reset();
  }

  /// Saves `text` into `column` of the ledger's first row and reloads the month; the
  /// notices of the save.
  QStringList ledgerSave(int column, const QString& text)
  {
    LedgerDb db(be);
    db.reset();
    db.addDeals({{"D01", "001", 2, "101", "001", 0, 100}});
    LedgerOnGrids screen;
    Ledger& ledger = screen.ledger;
    ledger.Form_Activate();
    ledger.AAA_Cmd_Work(1);
    ui->clear();
    ledger.sprDeal.setText(column, 1, text);
    ledger.sprDeal_Change(column, 1);
    ledger.AAA_Cmd_Work(2);
    const QStringList notices = ui->texts();
    if (notices.value(0).startsWith(QStringLiteral("[ 1 ]건이")))
      EXPECT_EQ(ledger.sprDeal.text(column, 1), text) << "reloaded as typed";
    // The search finds the row by the text as typed, wildcards and all.
    ledger.form.txtSearch = text;
    ledger.form.optSearch = column == deal::Customer ? 3 : 2;
    ui->clear();
    ledger.cmdSearch_Click();
    EXPECT_TRUE(ui->texts().isEmpty()) << ui->texts().join(QLatin1Char('|')).toStdString();
    if (notices.value(0).startsWith(QStringLiteral("[ 1 ]건이")) && column != deal::Target)
      EXPECT_EQ(ledger.sprDeal.rowCount(), 1) << "found by its own text";
    return notices;
  }

  /// Sends one file with `title` and `memo`; the notices and the stored title and memo.
  QStringList transfer(const QString& title, const QString& memo, QStringList& stored)
  {
    Session.reset();
    Session.ConnectionString = be.connectionString();
    Session.ServerAddress = QStringLiteral("127.0.0.1");
    Session.FtpPort = be.ftpPort();
    Session.FtpUser = be.ftpUser();
    Session.DbPassword = be.ftpPassword();
    Session.CompanyCode = QStringLiteral("H001");
    Session.ServerDate = QStringLiteral("2024.03.05");
    be.adminExec(QStringLiteral("DELETE FROM TRANS_FILE_LIST WHERE COM_CD = 'H001'"));
    const QString path = m_dir.filePath(QStringLiteral("hostile.txt"));
    QFile f(path);
    f.open(QIODevice::WriteOnly);
    f.write("x");
    f.close();
    Grid trans;
    Grid story;
    RecordingIndicator bar;
    FileTransfer t(trans, story, bar);
    t.Form_Load();
    ui->openAnswers.enqueue({path});
    t.cmdFind_F_Click();
    t.form.txtTitle = title;
    t.form.txtMemo = memo;
    ui->clear();
    t.cmdTrans_F_Click();
    const auto rows = be.adminQuery(
        QStringLiteral("SELECT TRANS_TITLE, TRANS_MEMO FROM TRANS_FILE_LIST WHERE COM_CD = 'H001'"));
    stored = rows.value(0);
    be.adminExec(QStringLiteral("DELETE FROM TRANS_FILE_LIST WHERE COM_CD = 'H001'"));
    QDir folder(be.ftpRoot() + FileTransfer::RemoteFolder);
    for (const QString& name : folder.entryList({QStringLiteral("H001_*")}, QDir::Files))
      folder.remove(name);
    return ui->texts();
  }

  Backend& be = Backend::shared();
  ScopedScriptedUi ui;
  QTemporaryDir m_dir;
};

TEST_F(HostileTextsTest, EveryFieldStoresFindsOrRefusesTheTextAsTyped)
{
  for (const HostileText& h : hostileTexts()) {
    SCOPED_TRACE(h.name);
    const QString saved = QStringLiteral("[ 1 ]건이 정상적으로 저장되었습니다.");

    for (const int column : {deal::Summary, deal::Customer, deal::Target}) {
      SCOPED_TRACE(column);
      const QStringList notices = ledgerSave(column, h.text);
      ASSERT_EQ(notices.size(), 1) << notices.join(QLatin1Char('|')).toStdString();
      if (h.fitsEverywhere)
        EXPECT_EQ(notices[0], saved);
      else
        EXPECT_TRUE(notices[0].startsWith(QStringLiteral("1행 - [")) && notices[0].contains(kTooLong));
    }

    QStringList stored;
    for (const bool inTitle : {true, false}) {
      const QStringList notices = inTitle ? transfer(h.text, {}, stored) : transfer(QStringLiteral("제목"), h.text, stored);
      if (h.fitsEverywhere) {
        EXPECT_EQ(notices.value(1), QStringLiteral("정상적으로 전송되었습니다."));
        EXPECT_EQ(stored.value(inTitle ? 0 : 1), h.text);
      } else {
        EXPECT_TRUE(notices.value(0).contains(kTooLong)) << notices.join(QLatin1Char('|')).toStdString();
        EXPECT_TRUE(stored.isEmpty());
      }
    }

    BusinessDb business(be);
    business.reset();
    ui->clear();
    BusinessInfoChange change;
    change.form.chkWrite_Com[5] = true;
    change.form.txtBase_CH[2] = h.text;
    EXPECT_EQ(change.cmdFinish_Click(), h.fitsEverywhere);
    if (h.fitsEverywhere)
      EXPECT_EQ(business.details(), (QList<QStringList>{{"0001", "BOSS_NM", h.text}}));
    else
      EXPECT_TRUE(ui->texts().value(0).contains(kTooLong));

    Session.reset();
    Session.ConnectionString = be.connectionString();
    Session.CryptKey = be.cryptKey();
    ui->clear();
    LoginScreen login;
    login.show();
    login.txtID()->setText(h.text);
    login.txtPW()->setText(QStringLiteral("x"));
    QTest::keyClick(login.txtPW(), Qt::Key_Return);
    EXPECT_EQ(ui->texts(), QStringList{LoginQuery::kUnknownIdText});
  }
}

} // namespace
} // namespace vcm::test
