// The file transfer screen's logic against the test FTP server and database.
#include "FileTransferFixture.h"
#include "common/export/ExportTestSupport.h"
#include "transfer/RecordingIndicator.h"

#include <QJsonArray>

#include <QFileInfo>

namespace vcm::test {
namespace {

const QString TwoLines = QStringLiteral("\r\n\r\n");

class FileTransferTest : public FileTransferFixture {
protected:
  void SetUp() override
  {
    FileTransferFixture::SetUp();
    t.clock = [] { return QDateTime(QDate(2024, 3, 5), QTime(14, 7, 9)); };
    t.form.focusTitle = [this] { ++titleFocused; };
    t.Form_Load();
  }

  void pick(const QStringList& paths)
  {
    ui->openAnswers.enqueue(paths);
    t.cmdFind_F_Click();
  }

  /// Picks the files, types a title and sends; returns the notices of the send.
  QStringList send(const QStringList& paths, const QString& title = QStringLiteral("영수증"))
  {
    pick(paths);
    t.form.txtTitle = title;
    ui->clear();
    t.cmdTrans_F_Click();
    return ui->texts();
  }

  Grid trans;
  Grid story;
  RecordingIndicator bar;
  FileTransfer t{trans, story, bar};
  int titleFocused = 0;
};

TEST_F(FileTransferTest, PickedFilesShowNameAndKilobytesAndKeepPathAndBytes)
{
  pick({file(QStringLiteral("a.pdf"), 100), file(QStringLiteral("b.hwp"), 1536 * 1024)});
  ASSERT_EQ(trans.rowCount(), 2);
  EXPECT_EQ(trans.text(2, 1), QStringLiteral("a.pdf"));
  EXPECT_EQ(QFileInfo(trans.tag(2, 1)).fileName(), QStringLiteral("a.pdf"));
  EXPECT_EQ(trans.text(3, 1), QStringLiteral("0 KB"));
  EXPECT_EQ(trans.tag(3, 1), QStringLiteral("100"));
  EXPECT_EQ(trans.text(3, 2), QStringLiteral("1,536 KB"));
  EXPECT_EQ(trans.cellType(1, 2), CellType::Button);
  EXPECT_EQ(bar.steps, (QList<RecordingIndicator::Step>{
                           {QStringLiteral("선택한 파일을 불러오는 중입니다.잠시만 기다리세요."), 50},
                           {QStringLiteral("100 %"), 100}}));
  EXPECT_EQ(ui->lastDialogTitle, QStringLiteral("엑셀 등록"));
  EXPECT_TRUE(ui->messages.isEmpty());

  // A cancelled dialog says so and leaves the list; later picks are appended.
  pick({});
  EXPECT_EQ(ui->texts(), QStringList{QStringLiteral("엑셀 불러오기를 취소하였습니다.")});
  pick({file(QStringLiteral("c.txt"), 1)});
  EXPECT_EQ(trans.rowCount(), 3);

  ui->clear();
  t.sprTrans_Click(2, 1);  // not the delete column
  t.sprTrans_Click(1, 1);
  EXPECT_EQ(trans.rowCount(), 2);
  EXPECT_EQ(trans.text(2, 1), QStringLiteral("b.hwp"));
  EXPECT_EQ(ui->texts(), QStringList{QStringLiteral("정상적으로 삭제되었습니다.")});
}

TEST_F(FileTransferTest, ListChecksRefuseWithTheirRowNumbers)
{
  const QString same = file(QStringLiteral("same.pdf"), 10);
  const struct {
    const char* label;
    QStringList files;
    QString message;  // empty: the list passes
  } cases[] = {
      {"six files", {file("1", 1), file("2", 1), file("3", 1), file("4", 1), file("5", 1), file("6", 1)},
       QStringLiteral("최대 5개 파일까지만 등록이 가능합니다.")},
      {"5,121 KB", {file("s", 1), file("big", 5121 * 1024)},
       QStringLiteral("[ 2 행의 파일 크기가 5MB 이상입니다.") + TwoLines + QStringLiteral("해당 파일은 다른 방법으로 전송해주세요.")},
      {"5,120 KB", {file("edge", 5120 * 1024)}, {}},
      {"same file twice", {same, same},
       QStringLiteral("[ 1 행과 2 행 ]의 파일이 동일합니다.") + TwoLines + QStringLiteral("한개의 파일은 삭제해주세요.")},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.label);
    t.cmdReset_Click();
    ui->clear();
    pick(c.files);
    EXPECT_EQ(trans.rowCount(), c.files.size());  // the rows stay
    EXPECT_EQ(ui->texts(), c.message.isEmpty() ? QStringList{} : QStringList{c.message});
    ui->clear();
    EXPECT_EQ(t.chk_Trans_File(), c.message.isEmpty());
    if (!c.message.isEmpty()) {
      t.form.txtTitle = QStringLiteral("제목");
      ui->clear();
      t.cmdTrans_F_Click();
      EXPECT_EQ(ui->texts(), (QStringList{c.message, QStringLiteral("파일전송을 취소하였습니다.")}));
    }
  }
  // The same name in two folders is allowed (a dialog picks from one folder at a time).
  t.cmdReset_Click();
  ui->clear();
  pick({file("n.pdf", 1, "x")});
  pick({file("n.pdf", 1, "y")});
  EXPECT_EQ(trans.rowCount(), 2);
  EXPECT_TRUE(ui->messages.isEmpty());
  EXPECT_TRUE(rows().isEmpty());
}

TEST_F(FileTransferTest, SendRefusalsStopBeforeTheServer)
{
  const QString a = file(QStringLiteral("a.pdf"), 300);
  const struct {
    const char* label;
    QStringList files;
    QString title;
    QString memo;
    Answer answer;
    QStringList messages;
  } cases[] = {
      {"empty title", {a}, QStringLiteral("   "), {}, Answer::Yes,
       {QStringLiteral("파일전송 [제목]을 먼저 기입해주세요.")}},
      {"empty list", {}, QStringLiteral("제목"), {}, Answer::Yes,
       {QStringLiteral("전송할 파일을 [첨부파일찾기]를 이용해 등록해주세요.")}},
      {"No at the question", {a}, QStringLiteral("제목"), {}, Answer::No, {QStringLiteral("전송하시겠습니까?")}},
      {"memo outside EUC-KR", {a}, QStringLiteral("제목"), QStringLiteral("감사😀"), Answer::Yes,
       {QStringLiteral("[메모]에 저장할 수 없는 문자(😀)가 들어 있습니다.") + TwoLines +
        QStringLiteral("이모지나 일부 특수문자·한자는 사용할 수 없으니 지우고 다시 입력하세요.")}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.label);
    t.cmdReset_Click();
    if (!c.files.isEmpty())
      pick(c.files);
    t.form.txtTitle = c.title;
    t.form.txtMemo = c.memo;
    ui->clear();
    ui->answers.enqueue(c.answer);
    const auto commands = be->ftpCommands().size();
    t.cmdTrans_F_Click();
    EXPECT_EQ(ui->texts(), c.messages);
    EXPECT_EQ(be->ftpCommands().size(), commands);
    ui->answers.clear();
  }
  EXPECT_EQ(titleFocused, 1);
  EXPECT_TRUE(rows().isEmpty());
}

TEST_F(FileTransferTest, SendUploadsUnderStoredNamesAndRecordsTheTransfer)
{
#ifdef Q_OS_WIN
  // No Windows file name can hold the list separator.
  const QString a = file(QStringLiteral("가나다.pdf"), 100, QString(), 'a');
#else
  // The list separator in a name is dropped from the recorded name.
  const QString a = file(QStringLiteral("가나|다.pdf"), 100, QString(), 'a');
#endif
  const QString b = file(QStringLiteral("b.hwp"), 600, QString(), 'b');
  pick({a, b});
  // The second file grows after it was picked: its current size is sent and recorded.
  QFile grow(b);
  ASSERT_TRUE(grow.open(QIODevice::Append));
  grow.write("++");
  grow.close();
  t.form.txtTitle = QStringLiteral("  센터's 자료 \\ 3월  ");
  t.form.txtMemo = QStringLiteral("메모");
  ui->clear();
  t.cmdTrans_F_Click();

  EXPECT_EQ(ui->texts(), (QStringList{QStringLiteral("전송하시겠습니까?"), QStringLiteral("정상적으로 전송되었습니다.")}));
  const QString stem = uploadFolder() + QStringLiteral("/C0001_20240305140709_");
  EXPECT_EQ(QFileInfo(stem + "1").size(), 100);
  QFile second(stem + "2");
  ASSERT_TRUE(second.open(QIODevice::ReadOnly));
  EXPECT_EQ(second.readAll(), QByteArray(600, 'b') + "++");
  const QList<QStringList> expected{{
      QStringLiteral("2024.03"), QStringLiteral("센터's 자료 \\ 3월"), QStringLiteral("메모"),
      QStringLiteral("|C0001_20240305140709_1|C0001_20240305140709_2"), QStringLiteral("|가나다.pdf|b.hwp"),
      QStringLiteral("|100|602"), QStringLiteral("2024.03.05 14:07:09")}};
  EXPECT_EQ(rows(), expected);
  EXPECT_EQ(bar.text(), QStringLiteral("전송완료(100%)"));
  EXPECT_EQ(trans.rowCount(), 0);
  EXPECT_TRUE(t.form.txtTitle.isEmpty());
  EXPECT_FALSE(Session.Connection);

  // One login carried both files.
  int logins = 0;
  for (const auto& c : be->ftpCommands())
    logins += c.command == QLatin1String("USER");
  EXPECT_GE(logins, 1);
}

TEST_F(FileTransferTest, FailuresWriteNoRow)
{
  const QString first = file(QStringLiteral("first"), 300);
  const QString second = file(QStringLiteral("second"), 3000);
  const QString uploadFailed = QStringLiteral("파일 다운로드시 오류가 발생하였습니다. 잠시 후 다시 시도하세요.");

  // The server drops the connection during the second file.
  be->setFtp({310});
  EXPECT_EQ(send({first, second}), (QStringList{QStringLiteral("전송하시겠습니까?"), uploadFailed}));
  be->resetFtp();
  EXPECT_EQ(QFileInfo(uploadFolder() + QStringLiteral("/C0001_20240305140709_1")).size(), 300);

  // A picked file that disappeared is named before anything is sent.
  t.cmdReset_Click();
  const QString gone = file(QStringLiteral("gone.pdf"), 10);
  pick({first, gone});
  QFile::remove(gone);
  cleanUp();
  t.form.txtTitle = QStringLiteral("제목");
  ui->clear();
  t.cmdTrans_F_Click();
  EXPECT_EQ(ui->texts(), QStringList{QStringLiteral("[ 2 행 ]의 파일(") + QDir::toNativeSeparators(gone) +
                                     QStringLiteral(")을 읽을 수 없습니다.") + TwoLines +
                                     QStringLiteral("파일이 있는지 확인한 뒤 다시 등록해주세요.")});
  EXPECT_TRUE(QDir(uploadFolder()).entryList({Company + QStringLiteral("_*")}).isEmpty());

  // A refused login.
  t.cmdReset_Click();
  Session.DbPassword = QStringLiteral("wrong");
  send({first});
  ASSERT_EQ(ui->messages.size(), 2);
  EXPECT_EQ(ui->messages[1].text,
            QStringLiteral("서버접속에 실패하였습니다. 접속량이 많아 실패했을수 있으니, 잠시 후 다시 시도하세요."));
  EXPECT_EQ(ui->messages[1].title, QStringLiteral("확인"));
  EXPECT_EQ(ui->messages[1].icon, Icon::Critical);
  EXPECT_TRUE(rows().isEmpty());
}

TEST_F(FileTransferTest, TextsAreStoredWholeOrRefusedBeforeAnyUpload)
{
  // The title is VARCHAR(200): characters, a Hangul syllable is one. The memo is TEXT:
  // 65,535 bytes of euckr, a Hangul syllable is two.
  const QString hangul199 = QString(199, QChar(0xAC00));
  const QString memoBytes65534 = QString(32767, QChar(0xB098));
  const struct {
    const char* what;
    QString title;
    QString memo;
    QString refusalStart;  // empty: sent and stored whole
  } cases[] = {
      {"title one under", hangul199, {}, {}},
      {"title at", hangul199 + QStringLiteral("나"), {}, {}},
      {"title over", hangul199 + QStringLiteral("나다"), {}, QStringLiteral("[제목]은(는) 최대 200자까지")},
      {"memo one under", QStringLiteral("메모"), memoBytes65534, {}},
      {"memo at", QStringLiteral("메모"), memoBytes65534 + QLatin1Char('x'), {}},
      {"memo over", QStringLiteral("메모"), memoBytes65534 + QStringLiteral("나"),
       QStringLiteral("[메모]은(는) 최대 65535바이트(한글 32767자)까지")},
  };
  const QString path = file(QStringLiteral("a.pdf"), 10);
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    cleanUp();
    t.cmdReset_Click();
    pick({path});
    t.form.txtTitle = c.title;
    t.form.txtMemo = c.memo;
    ui->clear();
    t.cmdTrans_F_Click();
    if (c.refusalStart.isEmpty()) {
      EXPECT_EQ(ui->texts().last(), QStringLiteral("정상적으로 전송되었습니다."));
      const QList<QStringList> stored = rows();
      ASSERT_EQ(stored.size(), 1);
      EXPECT_EQ(stored[0][1], c.title);
      EXPECT_EQ(stored[0][2], c.memo);
    } else {
      ASSERT_EQ(ui->messages.size(), 1);
      EXPECT_TRUE(ui->messages[0].text.startsWith(c.refusalStart)) << ui->messages[0].text.toStdString();
      EXPECT_TRUE(rows().isEmpty());
      EXPECT_TRUE(QDir(uploadFolder()).entryList({Company + QStringLiteral("_*")}).isEmpty());
    }
  }
}

TEST_F(FileTransferTest, HistoryListsTheMonthAndTheButtonsMoveIt)
{
  be->adminExec(QStringLiteral(
      "INSERT INTO TRANS_FILE_LIST (COM_CD, REG_MON, TRANS_TITLE, TRANS_DT) VALUES "
      "('C0001', '2024.01', ' 1월 자료 ', '2024.01.10 09:00:00'), "
      "('C0001', '2023.12', '12월 자료', '2023.12.20 17:30:00'), "
      "('C0002', '2024.01', '다른 센터', '2024.01.11 09:00:00')"));
  EXPECT_EQ(t.form.DatM_T, QStringLiteral("2024.03"));
  t.tabTrans_Click(1);
  EXPECT_EQ(story.rowCount(), 0);  // a month without transfers

  t.form.DatM_T = QStringLiteral("2024.01");
  t.Set_Story_List();
  ASSERT_EQ(story.rowCount(), 1);
  EXPECT_EQ(story.text(1, 1), QStringLiteral("2024.01.10 09:00:00"));
  EXPECT_EQ(story.text(2, 1), QStringLiteral("1월 자료"));
  t.DatM_T_ButtonHit(1);
  EXPECT_EQ(t.form.DatM_T, QStringLiteral("2023.12"));
  EXPECT_EQ(story.text(2, 1), QStringLiteral("12월 자료"));

  // The month's list goes into a workbook named and titled after the month.
  const QString book = m_files.filePath(QStringLiteral("history.xls"));
  ui->saveAnswers.enqueue(book);
  t.cmdXls_Click();
  EXPECT_TRUE(ui->lastProposedName.endsWith(QStringLiteral("_파일전송이력(2023.12월분).xls")));
  const QJsonArray cells = readWorkbook(book)[QStringLiteral("cells")].toArray();
  const auto cell = [&](int row, int col) {
    return cells[row].toArray()[col].toObject()[QStringLiteral("value")].toString();
  };
  EXPECT_EQ(cell(0, 0), QStringLiteral("파일전송이력(2023.12월분)"));
  EXPECT_EQ(cell(2, 0), QStringLiteral("전송일시"));
  EXPECT_EQ(cell(3, 0), QStringLiteral("2023.12.20 17:30:00"));
  EXPECT_EQ(cell(3, 1), QStringLiteral("12월 자료"));
  ui->clear();

  t.DatM_T_ButtonHit(2);
  EXPECT_EQ(t.form.DatM_T, QStringLiteral("2024.01"));
  EXPECT_TRUE(ui->messages.isEmpty());
  be->adminExec(QStringLiteral("DELETE FROM TRANS_FILE_LIST WHERE COM_CD = 'C0002'"));

  const struct {
    const char* month;
    int delta;
    const char* expected;
  } months[] = {{"2024.01", -1, "2023.12"}, {"2023.12", 1, "2024.01"}, {"2024.03", -1, "2024.02"},
                {"2024.13", 1, ""}, {"", 1, ""}};
  for (const auto& m : months)
    EXPECT_EQ(FileTransfer::shiftedMonth(QLatin1String(m.month), m.delta), QLatin1String(m.expected)) << m.month;
}

} // namespace
} // namespace vcm::test
