// Saving changed rows: checks, exact writes, part numbers, progress and failures.
#include "LedgerFixture.h"
#include "support/DelayProxy.h"

#include "ledger/LedgerColours.h"

using namespace vcm;
using namespace vcm::test;

namespace {

class LedgerSaveTest : public LedgerFixture {
protected:
  void TearDown() override
  {
    if (be.available())
      dropTrigger();
    LedgerFixture::TearDown();
  }

  void startWork()
  {
    ledger->AAA_Cmd_Work(1);
    ASSERT_EQ(host.tags[1], QStringLiteral("WORK"));
    ui->clear();
  }
  void save() { ledger->AAA_Cmd_Work(2); }

  /// Makes the server refuse the test company's `statement` (INSERT or UPDATE) of rows
  /// matching `condition`, as a lost permission or a broken row would.
  void failOn(const QString& statement, const QString& condition)
  {
    be.adminExec(QStringLiteral("CREATE TRIGGER LT01_FAIL BEFORE %1 ON DEAL_LIST FOR EACH ROW "
                                "BEGIN IF NEW.COM_CD = 'LT01' AND %2 THEN "
                                "SIGNAL SQLSTATE '45000' SET MESSAGE_TEXT = 'refused for the test'; "
                                "END IF; END")
                     .arg(statement, condition));
  }
  void dropTrigger() { be.adminExec(QStringLiteral("DROP TRIGGER IF EXISTS LT01_FAIL")); }

  /// A backend of the test's own, holding `count` entries, the ledger open on them in the
  /// work state and every row given the summary "줄<row>"; null after a failure.
  std::unique_ptr<IsolatedBackend> ownBackendWithTypedRows(int count);

  /// Puts an unsaved split part of row `source` below it, as splitting does.
  void addPart(int source, int at, double out)
  {
    Grid& g = ledger->sprDeal;
    g.insertRows(at);
    for (int col : {deal::DealDate, deal::DealCode, deal::BusiCode, deal::BankCode, deal::ClassNo, deal::Account})
      g.setText(col, at, g.text(col, source));
    g.setNumber(deal::OutAmount, at, out);
    g.setText(deal::NewPart, at, QStringLiteral("1"));
    g.setText(deal::Changed, at, QStringLiteral("1"));
    g.setText(deal::SplitSource, at, g.text(deal::DealCode, source) + g.text(deal::PartNo, source));
  }
  /// Takes `out` from a source row's expense, remembering its amount before the split.
  void shrinkSource(int source, double out)
  {
    Grid& g = ledger->sprDeal;
    if (g.number(deal::SplitOut, source) == 0)
      g.setNumber(deal::SplitOut, source, g.number(deal::OutAmount, source));
    g.setNumber(deal::OutAmount, source, g.number(deal::OutAmount, source) - out);
    g.setText(deal::Changed, source, QStringLiteral("1"));
  }
};

const QString kSaveFailed = QStringLiteral("저장시 오류가 발생하였습니다.");

} // namespace

TEST_F(LedgerSaveTest, AFailingCheckNamesItsRowAndWritesNothing)
{
  db.addDeals({{"D01", "001", 2, "101", "001", 0, 1000, 9, "가"},
               {"D02", "001", 2, "101", "001", 0, 2000, 9, "나"},
               {"D03", "001", 2, "101", "001", 0, 3000, 9, "다"}});
  open();
  startWork();
  type(deal::Summary, 1, QStringLiteral("바뀜"));
  type(deal::Account, 3, QStringLiteral("101.생계 비"));
  save();
  EXPECT_EQ(ui->texts(), QStringList{QStringLiteral("3행 - 계정코드가 틀립니다. 개발사로 연락주세요. 저장을 취소합니다.")});
  EXPECT_EQ(db.column("DEAL_SUMM"), (QStringList{"가", "나", "다"}));
  EXPECT_EQ(host.tags[1], QStringLiteral("WORK")) << "the work state and the changes stay";
  EXPECT_EQ(cell(deal::Summary, 1), QStringLiteral("바뀜"));

  ui->clear();
  ledger->AAA_Cmd_Work(1);
  ui->clear();
  ledger->AAA_Cmd_Work(1); // back in work with a fresh grid, nothing changed
  save();
  EXPECT_EQ(ui->texts(), QStringList{QStringLiteral("저장할 내역이 존재하지 않습니다.\n\n저장을 취소합니다.")});
}

TEST_F(LedgerSaveTest, ChangedRowsAreStoredExactlyWithProgress)
{
  QList<DealRow> deals;
  for (int i = 1; i <= 10; ++i)
    deals << DealRow{QStringLiteral("D%1").arg(i, 2, 10, QLatin1Char('0')), "001", 2, "101", "001", 0, 1000.0 * i};
  db.addDeals(deals);
  open();
  startWork();
  const QString summary = QStringLiteral("O'Neil's \\ 식비 '' \\\\n");
  type(deal::Summary, 3, summary);
  type(deal::Customer, 3, QStringLiteral("마트\\"));
  type(deal::Target, 3, QStringLiteral("김'씨"));
  type(deal::Account, 3, QStringLiteral("102.수용비"));
  type(deal::OutAmount, 3, QStringLiteral("12,345"));
  type(deal::Account, 7, QStringLiteral("201.본인부담금"));
  type(deal::OutAmount, 7, QStringLiteral("0"));
  type(deal::InAmount, 7, QStringLiteral("777"));

  QStringList progress;
  ledger->form.changed = [&] {
    if (progress.isEmpty() || progress.back() != ledger->form.xBarText)
      progress << ledger->form.xBarText;
  };
  save();

  QStringList expected{QString()};
  for (int j = 1; j <= 10; ++j)
    expected << QStringLiteral("%1 / 10 - (%2%)").arg(j).arg(j * 10);
  expected << QStringLiteral("[ 2 ]건이 정상적으로 저장되었습니다.");
  progress.removeAll(QString()); // the bar is emptied before the first row
  expected.removeAll(QString());
  EXPECT_EQ(progress.mid(0, 11), expected);
  EXPECT_EQ(ui->texts(), QStringList{QStringLiteral("[ 2 ]건이 정상적으로 저장되었습니다.")});
  EXPECT_EQ(ui->messages.value(0).icon, Icon::Information);

  const auto stored = db.rows(QStringLiteral("DEAL_SUMM, DEAL_CUST, DEAL_TARGET, DACC_CD, DACC_GUBUN, "
                                             "DEAL_IN_AMT, DEAL_OUT_AMT"));
  EXPECT_EQ(stored[2], (QStringList{summary, "마트\\", "김'씨", "102", "2", "0", "12345"}));
  EXPECT_EQ(stored[6], (QStringList{"", "", "", "201", "1", "777", "0"}));
  EXPECT_EQ(stored[0], (QStringList{"", "", "", "101", "2", "0", "1000"})) << "unchanged rows are not written";
  EXPECT_NE(host.tags[1], QStringLiteral("WORK")) << "a successful save returns to browsing";
  EXPECT_EQ(cell(deal::Summary, 3), summary) << "the grid is reloaded from what was stored";
  EXPECT_EQ(cell(deal::Changed, 3), QString());
  EXPECT_EQ(ledger->form.totals[0], QStringLiteral("10 건"));
}

TEST_F(LedgerSaveTest, NewPartsTakeTheNextPartNumbers)
{
  db.addDeals({{"D01", "001", 2, "101", "001", 0, 10000},
               {"D02", "001", 2, "101", "001", 0, 9000},
               {"D02", "002", 2, "101", "001", 0, 500},
               {"D02", "003", 2, "101", "001", 0, 500}});
  open();
  startWork();
  // D01 gets two parts (002 and 003), D02 one after its highest number (004).
  shrinkSource(1, 4000);
  addPart(1, 2, 3000);
  addPart(1, 3, 1000);
  shrinkSource(4, 2000);
  addPart(4, 5, 2000);
  save();
  EXPECT_EQ(ui->texts(), QStringList{QStringLiteral("[ 5 ]건이 정상적으로 저장되었습니다.")});
  const auto stored = db.rows(QStringLiteral("DEAL_CD, DEAL_CD_2, DEAL_OUT_AMT, DBANK_CD, DEAL_DT, TRANS_DIV"));
  QStringList keys;
  for (const auto& r : stored)
    keys << r[0] + u'/' + r[1] + u'=' + r[2];
  EXPECT_EQ(keys, (QStringList{"D01/001=6000", "D01/002=3000", "D01/003=1000", "D02/001=7000",
                               "D02/002=500", "D02/003=500", "D02/004=2000"}));
  EXPECT_EQ(stored[1][3], QStringLiteral("001"));
  EXPECT_EQ(stored[1][4], QStringLiteral("2024.05.03"));
  EXPECT_EQ(stored[1][5], QStringLiteral("0")) << "new parts keep the table's default";
}

TEST_F(LedgerSaveTest, UnbalancedSplitStopsTheSave)
{
  db.addDeals({{"D01", "001", 2, "101", "001", 0, 10000}});
  open();
  startWork();
  shrinkSource(1, 4000);
  addPart(1, 2, 3999);
  save();
  EXPECT_EQ(ui->texts(), QStringList{QStringLiteral("개별 분할된 금액이 맞지 않습니다. 현재 상태 그래도 노팀장에게 연락주세요.(1행)")});
  EXPECT_EQ(db.column("DEAL_OUT_AMT"), QStringList{"10000"});
}

TEST_F(LedgerSaveTest, RegistrationOrderIsCheckedAfterTheSave)
{
  const struct {
    QStringList banks;
    bool notice;
  } cases[] = {{{"001", "001", "002", "001"}, true}, {{"001", "002", "002"}, false}};
  for (const auto& c : cases) {
    db.reset();
    QList<DealRow> deals;
    for (int i = 0; i < c.banks.size(); ++i)
      deals << DealRow{QStringLiteral("D%1").arg(i), "001", 2, "101", c.banks[i], 0, 100};
    db.addDeals(deals);
    open();
    startWork();
    type(deal::Summary, 1, QStringLiteral("저장"));
    save();
    QStringList expected{QStringLiteral("[ 1 ]건이 정상적으로 저장되었습니다.")};
    if (c.notice)
      expected << QStringLiteral("등록된 거래내역의 등록순서가 맞지 않습니다.\n\n확인이 필요하니 반드시 연락주세요.");
    EXPECT_EQ(ui->texts(), expected) << c.banks.join(u',').toStdString();
  }
}

TEST_F(LedgerSaveTest, AFailedSplitSaveKeepsTheUnwrittenWorkAndASecondSaveCompletesIt)
{
  db.addDeals({{"D01", "001", 2, "101", "001", 0, 1000, 9, "가"},
               {"D02", "001", 2, "101", "001", 0, 2000, 9, "나"}});
  open();
  startWork();
  shrinkSource(1, 300);
  addPart(1, 2, 300);
  type(deal::Summary, 3, QStringLiteral("바뀜"));
  failOn(QStringLiteral("INSERT"), QStringLiteral("NEW.DEAL_CD_2 = '002'"));
  save();

  ASSERT_EQ(ui->messages.size(), 2) << ui->texts().join(u'|').toStdString();
  EXPECT_TRUE(ui->messages[0].text.endsWith(QStringLiteral("Save_Deal"))) << "not the record-set release";
  EXPECT_TRUE(ui->messages[1].text.startsWith(kSaveFailed));
  EXPECT_TRUE(ui->messages[1].text.contains(QStringLiteral("[ 1 ]건이 저장되었습니다")));
  EXPECT_EQ(host.tags[1], QStringLiteral("WORK"));
  EXPECT_EQ(rows(), 3) << "the grid is neither emptied nor reloaded";
  EXPECT_EQ(column(deal::Changed), (QStringList{"", "1", "1"}));
  EXPECT_EQ(column(deal::NewPart), (QStringList{"", "1", ""}));
  EXPECT_EQ(cell(deal::Summary, 3), QStringLiteral("바뀜"));
  EXPECT_EQ(ledger->sprDeal.foreground(deal::Summary, 3), ledgerColours::ChangedText) << "still marked";

  dropTrigger();
  ui->clear();
  save();
  EXPECT_EQ(ui->texts(), QStringList{QStringLiteral("[ 2 ]건이 정상적으로 저장되었습니다.")});
  const auto stored = db.rows(QStringLiteral("DEAL_CD, DEAL_CD_2, DEAL_OUT_AMT, DEAL_SUMM"));
  EXPECT_EQ(stored, (QList<QStringList>{{"D01", "001", "700", "가"}, {"D01", "002", "300", ""},
                                        {"D02", "001", "2000", "바뀜"}}));
}

TEST_F(LedgerSaveTest, ARefusedUpdateMidwayKeepsTheRestForTheNextSave)
{
  QList<DealRow> deals;
  for (int i = 1; i <= 6; ++i)
    deals << DealRow{QStringLiteral("D%1").arg(i), "001", 2, "101", "001", 0, 100.0 * i};
  db.addDeals(deals);
  open();
  startWork();
  for (int r = 1; r <= 6; ++r)
    type(deal::Summary, r, r == 3 ? QStringLiteral("실패") : QStringLiteral("줄%1").arg(r));
  failOn(QStringLiteral("UPDATE"), QStringLiteral("NEW.DEAL_SUMM = '실패'"));
  save();
  EXPECT_TRUE(ui->messages.value(1).text.contains(QStringLiteral("[ 2 ]건이 저장되었습니다")));
  EXPECT_EQ(db.column("DEAL_SUMM"), (QStringList{"줄1", "줄2", "", "", "", ""}));
  EXPECT_EQ(column(deal::Changed), (QStringList{"", "", "1", "1", "1", "1"}));
  EXPECT_EQ(column(deal::Summary), (QStringList{"줄1", "줄2", "실패", "줄4", "줄5", "줄6"}));

  dropTrigger();
  ui->clear();
  save();
  EXPECT_EQ(ui->texts(), QStringList{QStringLiteral("[ 4 ]건이 정상적으로 저장되었습니다.")});
  EXPECT_EQ(db.column("DEAL_SUMM"), (QStringList{"줄1", "줄2", "실패", "줄4", "줄5", "줄6"}));
}

TEST_F(LedgerSaveTest, AnEntryDeletedElsewhereIsNotCountedAsSaved)
{
  db.addDeals({{"D1", "001", 2, "101", "001", 0, 100}, {"D2", "001", 2, "101", "001", 0, 200},
               {"D3", "001", 2, "101", "001", 0, 300}});
  open();
  startWork();
  for (int r = 1; r <= 3; ++r)
    type(deal::Summary, r, QStringLiteral("줄%1").arg(r));
  be.adminExec(QStringLiteral("DELETE FROM DEAL_LIST WHERE COM_CD = 'LT01' AND DEAL_CD = 'D2'"));
  save();
  EXPECT_EQ(ui->texts(), QStringList{QStringLiteral(
                             "[ 2행 ]의 거래내역이 다른 곳에서 삭제되어 저장하지 못했습니다. ([ 2 ]건은 저장되었습니다.)"
                             "\n\n[취소]로 작업을 마친 후 거래내역을 다시 확인해주세요.")});
  EXPECT_EQ(db.column("DEAL_SUMM"), (QStringList{"줄1", "줄3"}));
  EXPECT_EQ(column(deal::Changed), (QStringList{"", "1", ""})) << "the work stays, the lost row marked";
  EXPECT_EQ(host.tags[1], QStringLiteral("WORK"));
}

TEST_F(LedgerSaveTest, ASaveAndItsReloadShareOneConnection)
{
  db.addDeals({{"D1", "001", 2, "101", "001", 0, 100}, {"D2", "001", 2, "101", "001", 0, 200}});
  open();
  startWork();
  type(deal::Summary, 1, QStringLiteral("줄1"));
  test::DelayProxy proxy(be.dbPort(), 0);
  Session.ConnectionString = be.connectionString({}, proxy.port());
  // Connections are what is counted: on Windows a first TLS connection to a server costs
  // one more, to read its greeting.
  Session.Tls.db = TlsMode::Off;
  save();
  EXPECT_EQ(ui->texts(), QStringList{QStringLiteral("[ 1 ]건이 정상적으로 저장되었습니다.")});
  EXPECT_EQ(rows(), 2) << "the month came back";
  EXPECT_EQ(proxy.counts().connections, 1);
  EXPECT_FALSE(Session.Connection && Session.Connection->isOpen()) << "and the connection is closed after";
}

TEST_F(LedgerSaveTest, ANewPartWhoseInsertRanUnansweredIsNotStoredTwice)
{
  db.addDeals({{"D01", "001", 2, "101", "001", 0, 1000, 9, "가"}});
  open();
  startWork();
  shrinkSource(1, 300);
  addPart(1, 2, 300);
  Session.ConnectionString = be.connectionString({}, be.dbProxyPort());
  // The source's update is answered; the part's insert runs, and then the link is gone.
  be.setDbProxy({.cutAtOk = 2});
  save();
  be.resetDbProxy();
  ASSERT_EQ(db.rows(QStringLiteral("DEAL_CD_2")).size(), 2) << "the insert ran";
  EXPECT_EQ(column(deal::NewPart), (QStringList{"", "1"})) << "unanswered, so still unsaved";

  ui->clear();
  type(deal::Summary, 2, QStringLiteral("나"));
  save();
  EXPECT_EQ(ui->texts(), QStringList{QStringLiteral("[ 1 ]건이 정상적으로 저장되었습니다.")});
  EXPECT_EQ(db.rows(QStringLiteral("DEAL_CD, DEAL_CD_2, DEAL_OUT_AMT, DEAL_SUMM")),
            (QList<QStringList>{{"D01", "001", "700", "가"}, {"D01", "002", "300", "나"}}));
}

TEST_F(LedgerSaveTest, AServerKilledMidSaveLosesNoWork)
{
  std::unique_ptr<IsolatedBackend> iso;
  try {
    iso = Backend::startIsolated({.noLocalGrant = false});
  } catch (const BackendError& e) {
    FAIL() << e.what();
  }
  LedgerDb own{*iso};
  own.reset();
  QList<DealRow> deals;
  for (int i = 1; i <= 6; ++i)
    deals << DealRow{QStringLiteral("D%1").arg(i), "001", 2, "101", "001", 0, 100.0 * i};
  own.addDeals(deals);
  open();
  startWork();
  for (int r = 1; r <= 6; ++r)
    type(deal::Summary, r, QStringLiteral("줄%1").arg(r));
  bool killed = false;
  ledger->form.changed = [&] {
    if (!killed && ledger->form.xBarText == QStringLiteral("3 / 6 - (50%)")) {
      killed = true;
      iso->killDatabase();
    }
  };
  save();
  ASSERT_TRUE(killed);
  EXPECT_TRUE(ui->texts().join(u'|').contains(QStringLiteral("[ 3 ]건이 저장되었습니다")))
      << ui->texts().join(u'|').toStdString();
  EXPECT_EQ(rows(), 6);
  EXPECT_EQ(column(deal::Changed), (QStringList{"", "", "", "1", "1", "1"}));
  EXPECT_EQ(host.tags[1], QStringLiteral("WORK"));

  ledger->form.changed = nullptr;
  iso->restartDatabase();
  ui->clear();
  save();
  EXPECT_EQ(ui->texts(), QStringList{QStringLiteral("[ 3 ]건이 정상적으로 저장되었습니다.")});
  EXPECT_EQ(own.column("DEAL_SUMM"), (QStringList{"줄1", "줄2", "줄3", "줄4", "줄5", "줄6"}));
}

TEST_F(LedgerSaveTest, RowsTheServerCannotTakeAreRefusedBeforeAnyWrite)
{
  db.addDeals({{"D01", "001", 2, "101", "001", 0, 100, 9, "가"},
               {"D02", "001", 2, "101", "001", 0, 200, 9, "나"},
               {"D03", "001", 2, "101", "001", 0, 300, 9, "다"},
               {"D04", "001", 2, "101", "001", 0, 400, 9, "라"},
               {"D04", "999", 2, "101", "001", 0, 1, 9, "마"}});
  open();
  startWork();
  type(deal::Summary, 1, QStringLiteral("하나"));
  type(deal::Customer, 2, QStringLiteral("마트😀"));
  type(deal::Summary, 3, QStringLiteral("셋"));
  save();
  EXPECT_EQ(ui->texts(), QStringList{QStringLiteral(
                             "2행 - [거래처]에 저장할 수 없는 문자(😀)가 있습니다. 저장을 취소합니다.")});
  EXPECT_EQ(db.column("DEAL_SUMM"), (QStringList{"가", "나", "다", "라", "마"}));

  // The part after 999 does not fit DEAL_CD_2: the server would store "1000" as "100".
  type(deal::Customer, 2, QStringLiteral("마트"));
  shrinkSource(4, 100);
  addPart(4, 5, 100);
  ui->clear();
  save();
  ASSERT_EQ(ui->messages.size(), 1);
  EXPECT_TRUE(ui->messages[0].text.startsWith(QStringLiteral("[거래번호 D04]"))) << ui->texts()[0].toStdString();
  EXPECT_TRUE(ui->messages[0].text.contains(QStringLiteral("[ 4 ]건이 저장되었습니다")));
  EXPECT_EQ(db.column("DEAL_CD_2"), (QStringList{"001", "001", "001", "001", "999"})) << "no part stored";
  EXPECT_EQ(cell(deal::NewPart, 5), QStringLiteral("1"));
  EXPECT_EQ(host.tags[1], QStringLiteral("WORK"));
}

TEST_F(LedgerSaveTest, TypedTextsAreStoredWholeOrRefusedBeforeAnyWrite)
{
  // The three columns are VARCHAR, counted by the server in characters: a Hangul
  // syllable is one, though euckr spends two bytes on it.
  const struct {
    int column;
    const char* dbColumn;
    const char* label;
    int limit;
  } fields[] = {{deal::Summary, "DEAL_SUMM", "적요", 120},
                {deal::Customer, "DEAL_CUST", "거래처", 60},
                {deal::Target, "DEAL_TARGET", "대상자", 30}};
  db.addDeals({{"D01", "001", 2, "101", "001", 0, 100}, {"D02", "001", 2, "101", "001", 0, 200}});
  for (const auto& f : fields) {
    for (const int length : {f.limit - 1, f.limit, f.limit + 1}) {
      SCOPED_TRACE(std::string(f.dbColumn) + " " + std::to_string(length));
      open();
      startWork();
      const QString text = QString(length, QChar(0xAC01));
      type(deal::Summary, 1, QStringLiteral("먼저"));  // an earlier row that must not be written alone
      type(f.column, 2, text);
      save();
      const QStringList stored = db.column(f.dbColumn);
      if (length <= f.limit) {
        EXPECT_EQ(ui->texts(), QStringList{QStringLiteral("[ 2 ]건이 정상적으로 저장되었습니다.")});
        EXPECT_EQ(stored.value(1), text);
      } else {
        EXPECT_EQ(ui->texts(), QStringList{QStringLiteral("2행 - [%1]은(는) 최대 %2자까지 저장할 수 있습니다. (지금 %3자)"
                                                          "\r\n\r\n내용을 줄인 후 다시 시도해주세요.")
                                               .arg(QString::fromUtf8(f.label)).arg(f.limit).arg(length)});
        EXPECT_EQ(stored.value(1).size(), f.limit) << "the row stays as stored before";
        EXPECT_EQ(host.tags[1], QStringLiteral("WORK"));
        ledger->AAA_Cmd_Work(1);  // cancel the work
      }
      ui->clear();
    }
  }
}

TEST_F(LedgerSaveTest, AFailureBeforeAnyWriteKeepsTheChanges)
{
  db.addDeals({{"D01", "001", 2, "101", "001", 0, 100, 9, "가"}});
  open();
  startWork();
  type(deal::Summary, 1, QStringLiteral("실패"));
  failOn(QStringLiteral("UPDATE"), QStringLiteral("NEW.DEAL_SUMM = '실패'"));
  save();
  ASSERT_EQ(ui->messages.size(), 2);
  EXPECT_TRUE(ui->messages[1].text.contains(QStringLiteral("[ 0 ]건이 저장되었습니다")));
  EXPECT_EQ(cell(deal::Summary, 1), QStringLiteral("실패")) << "nothing was written, so the typed text stays";
  EXPECT_EQ(cell(deal::Changed, 1), QStringLiteral("1"));
  EXPECT_EQ(db.column("DEAL_SUMM"), QStringList{"가"});
}

namespace {

/// `count` entries D0001.. of expense `100 * i`, each given a new summary "줄<i>".
QList<DealRow> numberedDeals(int count)
{
  QList<DealRow> deals;
  for (int i = 1; i <= count; ++i)
    deals << DealRow{QStringLiteral("D%1").arg(i, 4, 10, QLatin1Char('0')), "001", 2, "101", "001", 0, 100.0 * i};
  return deals;
}

QStringList numberedSummaries(int count, int upTo)
{
  QStringList out;
  for (int i = 1; i <= count; ++i)
    out << (i <= upTo ? QStringLiteral("줄%1").arg(i) : QString());
  return out;
}

} // namespace

std::unique_ptr<IsolatedBackend> LedgerSaveTest::ownBackendWithTypedRows(int count)
{
  std::unique_ptr<IsolatedBackend> iso;
  try {
    iso = Backend::startIsolated({.noLocalGrant = false});
  } catch (const BackendError& e) {
    ADD_FAILURE() << e.what();
    return nullptr;
  }
  LedgerDb own{*iso};
  own.reset();
  own.addDeals(numberedDeals(count));
  open();
  startWork();
  for (int r = 1; r <= count; ++r)
    type(deal::Summary, r, QStringLiteral("줄%1").arg(r));
  return iso;
}

TEST_F(LedgerSaveTest, ARefusedRowInABatchLeavesTheRowsBeforeItWrittenAndTheRestMarked)
{
  constexpr int kRows = 40;
  // The first exchange carries three rows, the rest goes together.
  for (const int refused : {1, 3, 4, 25, kRows}) {
    SCOPED_TRACE(refused);
    db.reset();
    db.addDeals(numberedDeals(kRows));
    open();
    startWork();
    for (int r = 1; r <= kRows; ++r)
      type(deal::Summary, r, r == refused ? QStringLiteral("실패") : QStringLiteral("줄%1").arg(r));
    failOn(QStringLiteral("UPDATE"), QStringLiteral("NEW.DEAL_SUMM = '실패'"));
    save();
    dropTrigger();
    ASSERT_EQ(ui->messages.size(), 2) << ui->texts().join(u'|').toStdString();
    EXPECT_EQ(ui->messages[1].text, kSaveFailed + QStringLiteral(" (오류 전에 [ %1 ]건이 저장되었습니다.)\n\n"
                                                                 "지금 상태 그대로 개발사로 연락주세요.")
                                                      .arg(refused - 1));
    EXPECT_EQ(db.column("DEAL_SUMM"), numberedSummaries(kRows, refused - 1));
    QStringList marks;
    for (int r = 1; r <= kRows; ++r)
      marks << (r >= refused ? QStringLiteral("1") : QString());
    EXPECT_EQ(column(deal::Changed), marks);
    EXPECT_EQ(cell(deal::Summary, refused), QStringLiteral("실패"));
    EXPECT_EQ(host.tags[1], QStringLiteral("WORK"));
    ledger->AAA_Cmd_Work(1); // cancel the work
    ui->clear();
  }
}

TEST_F(LedgerSaveTest, AServerKilledInsideTheBulkBatchReportsOnlyConfirmedRows)
{
  constexpr int kRows = 400;
  const auto iso = ownBackendWithTypedRows(kRows);
  ASSERT_TRUE(iso);
  LedgerDb own{*iso};
  // The server takes its time over each row, so it is still writing when it dies.
  iso->adminExec(QStringLiteral("CREATE TRIGGER LT01_SLOW BEFORE UPDATE ON DEAL_LIST FOR EACH ROW "
                                "SET @slow = SLEEP(0.005)"));
  bool killed = false;
  ledger->form.changed = [&] {
    if (!killed && ledger->form.xBarText.startsWith(QStringLiteral("100 / "))) {
      killed = true;
      iso->killDatabase();
    }
  };
  save();
  ledger->form.changed = nullptr;
  ASSERT_TRUE(killed);
  // Results already on their way count; the rows without one keep their marks.
  const int confirmed = static_cast<int>(column(deal::Changed).indexOf(QStringLiteral("1")));
  ASSERT_GE(confirmed, 100);
  ASSERT_LT(confirmed, kRows);
  EXPECT_EQ(column(deal::Changed).mid(confirmed), QStringList(kRows - confirmed, QStringLiteral("1")));
  EXPECT_TRUE(ui->texts().join(u'|').contains(QStringLiteral("[ %1 ]건이 저장되었습니다").arg(confirmed)))
      << ui->texts().join(u'|').toStdString();
  EXPECT_EQ(host.tags[1], QStringLiteral("WORK"));

  iso->restartDatabase();
  iso->adminExec(QStringLiteral("DROP TRIGGER LT01_SLOW"));
  const QStringList stored = own.column("DEAL_SUMM");
  EXPECT_EQ(stored.mid(0, confirmed), numberedSummaries(confirmed, confirmed));
  EXPECT_EQ(stored.value(kRows - 1), QString()) << "the server died before the last row";
  ui->clear();
  save();
  EXPECT_EQ(ui->texts(), QStringList{QStringLiteral("[ %1 ]건이 정상적으로 저장되었습니다.").arg(kRows - confirmed)});
  EXPECT_EQ(own.column("DEAL_SUMM"), numberedSummaries(kRows, kRows));
}

TEST_F(LedgerSaveTest, ASaveLargerThanTheServersPacketLimitIsSplitToFit)
{
  constexpr int kRows = 300; // about 150 KB of statements
  const auto iso = ownBackendWithTypedRows(kRows);
  ASSERT_TRUE(iso);
  LedgerDb own{*iso};
  iso->adminExec(QStringLiteral("SET GLOBAL max_allowed_packet = 16384"));
  save();
  EXPECT_EQ(ui->texts(), QStringList{QStringLiteral("[ %1 ]건이 정상적으로 저장되었습니다.").arg(kRows)});
  EXPECT_EQ(own.column("DEAL_SUMM"), numberedSummaries(kRows, kRows));
}
