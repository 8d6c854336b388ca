// The export routine and its save dialog through the scripted UI: questions, notices,
// refusals, and a grid that is the same afterwards whatever happened.
#include "ExportTestSupport.h"

#include "common/RuntimeError.h"
#include "common/Session.h"
#include "common/export/ExcelExport.h"
#include "platform/ScriptedUi.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace vcm;

namespace {

const QString kSaved = QStringLiteral("엑셀파일이 정상적으로 저장되었습니다.");
const QString kFailed = QStringLiteral("엑셀 파일 저장을 실패하였습니다. 파일이 열려있는지 확인하세요.");
const QString kOverwrite = QStringLiteral("같은 이름의 파일이 존재합니다. 덮어쓰시겠습니까?");

class ExportRoutine : public ::testing::Test {
protected:
  void SetUp() override
  {
    Session.reset();
    qputenv("VCM_PROGRAM_DIR", m_dir.path().toUtf8());
    test::fillSampleList(m_grid);
    m_before = test::gridSnapshot(m_grid);
  }
  void TearDown() override
  {
    EXPECT_EQ(test::gridSnapshot(m_grid), m_before) << "the grid is only read";
    EXPECT_TRUE(m_ui->cursors.isEmpty() || m_ui->cursors.last() == Cursor::Normal);
  }

  void exportList(const QString& name = QStringLiteral("목록"))
  {
    g_EXCEL_CH(m_grid, name, name, QStringLiteral("&HF8E7F1"), 1, true, 0);
  }
  QString path(const QString& name) const { return m_dir.filePath(name); }
  QStringList files() const { return QDir(m_dir.path()).entryList(QDir::Files | QDir::Hidden); }
  static QByteArray contents(const QString& file)
  {
    QFile f(file);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
  }

  ScopedScriptedUi m_ui;
  QTemporaryDir m_dir;
  Grid m_grid;
  QStringList m_before;
};

} // namespace

TEST(ExportNaming, ProposedNames)
{
  const struct {
    const char16_t* list;
    QDate day;
    const char16_t* expected;
  } cases[] = {
      {u"가나다센터_거래내역(2015.03월분)", {2015, 3, 4}, u"150304_가나다센터_거래내역(2015.03월분).xls"},
      {u"파일[A/B]", {2024, 12, 31}, u"241231_파일(A B).xls"},
      {u"say \"hi\"", {2009, 1, 2}, u"090102_say 'hi'.xls"},
      {u"a:b*c?d<e>f|g\\h", {2009, 1, 2}, u"090102_a b c d e f g h.xls"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(proposedExportName(QString::fromUtf16(c.list), c.day), QString::fromUtf16(c.expected));
}

TEST(ExportNaming, SaveDialogAnswers)
{
  const QString dir = QStringLiteral("/tmp/");
  const QString at224 = dir + QString(224 - dir.size() - 4, QLatin1Char('a')) + ".xls";
  const QString at225 = dir + QString(225 - dir.size() - 4, QLatin1Char('a')) + ".xls";
  const struct {
    QString typed;
    QString expected;
    bool refused;
  } cases[] = {
      {dir + "list", dir + "list.xls", false},
      {dir + "list.XLS", dir + "list.XLS.xls", false},
      {dir + "list.xls", dir + "list.xls", false},
      {"  " + dir + "list.xlsx ", dir + "list.xlsx", false},
      {at224, at224, false},
      {at225, QString(), true},
      {QString(), QString(), false},
  };
  for (const auto& c : cases) {
    ScopedScriptedUi ui;
    ui->saveAnswers.enqueue(c.typed);
    EXPECT_EQ(g_SaveFile_Dlg("proposed.xls", "*.xls", QStringLiteral("노임내역 저장"), ".xls", {"*.xlsx"}),
              QDir::toNativeSeparators(c.expected))
        << c.typed.toStdString();
    EXPECT_EQ(ui->lastDialogTitle, QStringLiteral("노임내역 저장"));
    EXPECT_EQ(ui->lastDialogFilter, "*.xls (*.xls);;*.xlsx (*.xlsx)");
    EXPECT_EQ(ui->texts(), c.refused ? QStringList{QStringLiteral("저장경로 및 저장명이 너무 길니다.저장을 취소합니다.")}
                                     : QStringList{});
  }
}

TEST_F(ExportRoutine, EmptyGridShowsTheNoticeAndNoDialog)
{
  Grid empty(3, 0);
  g_EXCEL_CH(empty, "x", "x", "&HF8E7F1", 1, true, 0);
  ASSERT_EQ(m_ui->messages.size(), 1);
  EXPECT_EQ(m_ui->messages[0].text, QStringLiteral("엑셀파일로 변환할 내역이 없습니다. 확인 후 변환하여주세요."));
  EXPECT_EQ(m_ui->messages[0].icon, Icon::Exclamation);
  EXPECT_TRUE(m_ui->lastDialogTitle.isEmpty());
  EXPECT_EQ(Session.CurrentProcedure, "g_EXCEL_CH");
}

TEST_F(ExportRoutine, ExistingFileAskedNoReopensOnTheChosenPathYesOverwrites)
{
  const QString target = path("old.xls");
  QFile f(target);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  f.write("old");
  f.close();
  m_ui->saveAnswers << target << target;
  m_ui->answers << Answer::No << Answer::Yes;
  exportList();
  EXPECT_EQ(m_ui->texts(), (QStringList{kOverwrite, kOverwrite, kSaved}));
  EXPECT_EQ(m_ui->messages[2].icon, Icon::Information);
  EXPECT_EQ(m_ui->lastProposedName, QDir::toNativeSeparators(target)) << "No shows the dialog again on the chosen path";
  EXPECT_TRUE(contents(target).startsWith("\xD0\xCF\x11\xE0"));
  EXPECT_EQ(files(), QStringList{"old.xls"}) << "no temporary file stays behind";
  EXPECT_GE(m_ui->pumps, 2);
}

TEST_F(ExportRoutine, CancelledDialogSaysNothing)
{
  exportList();
  EXPECT_TRUE(m_ui->messages.isEmpty());
  EXPECT_EQ(m_ui->cursors, (QList<Cursor>{Cursor::Hourglass, Cursor::Normal}));
  EXPECT_TRUE(files().isEmpty());
}

TEST_F(ExportRoutine, RefusedTargetsLeaveNothingDamaged)
{
  const QString failedTitle = QStringLiteral("파일저장 실패");
  const QString cannotCreate = QStringLiteral("엑셀 파일 저장을 실패하였습니다.\n\n선택한 폴더에 파일을 만들 수 "
                                              "없습니다. 폴더의 쓰기 권한과 파일 이름을 확인하세요.");
  // A read-only file stands for one open in another program.
  const QString locked = path("locked.xls");
  QFile f(locked);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  f.write("kept");
  f.close();
  QFile::setPermissions(locked, QFileDevice::ReadOwner | QFileDevice::ReadGroup);
  m_ui->saveAnswers << locked;
  exportList();
  EXPECT_EQ(m_ui->texts(), (QStringList{kOverwrite, kFailed}));
  EXPECT_EQ(m_ui->messages.last().title, failedTitle);
  EXPECT_EQ(m_ui->messages.last().icon, Icon::Critical);
  EXPECT_EQ(contents(locked), "kept");

#ifndef Q_OS_WIN
  // A folder without write permission, and a name longer than the file system takes (the
  // bytes of 90 Hangul). Neither exists on Windows: it ignores a folder's read-only
  // attribute, and a name too long for it is refused by the save dialog's length check.
  QDir(m_dir.path()).mkdir("readonly");
  QFile::setPermissions(path("readonly"), QFileDevice::ReadOwner | QFileDevice::ExeOwner);
  const QString tooLongName = path(QString(90, QChar(u'가')) + ".xls");
  for (const QString& target : {path("readonly/list.xls"), tooLongName}) {
    m_ui->clear();
    m_ui->saveAnswers << target;
    exportList();
    EXPECT_EQ(m_ui->texts(), QStringList{cannotCreate}) << target.toStdString();
    EXPECT_EQ(m_ui->messages.last().title, failedTitle);
  }
  EXPECT_TRUE(QDir(path("readonly")).entryList(QDir::Files | QDir::Hidden).isEmpty());
  EXPECT_EQ(files(), QStringList{"locked.xls"});
  QFile::setPermissions(path("readonly"), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
#endif
  QFile::setPermissions(locked, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
}

TEST_F(ExportRoutine, MoreRowsThanAnXlsSheetHoldsAreRefusedXlsxTakesThem)
{
  m_grid.setRowCount(65536 - 3 + 1);
  m_before = test::gridSnapshot(m_grid);
  m_ui->saveAnswers << path("big.xls") << path("big.xlsx");
  exportList();
  ASSERT_EQ(m_ui->messages.size(), 1);
  EXPECT_TRUE(m_ui->messages[0].text.contains("65,536"));
  EXPECT_TRUE(m_ui->messages[0].text.contains("*.xlsx"));
  EXPECT_TRUE(files().isEmpty());
  m_ui->clear();
  exportList();
  EXPECT_EQ(m_ui->texts(), QStringList{kSaved});
  EXPECT_EQ(files(), QStringList{"big.xlsx"});
}

TEST_F(ExportRoutine, RunTimeErrorsGiveTheStandardNoticeExceptACancel)
{
  const struct {
    int number;
    bool shown;
  } cases[] = {{5, true}, {32755, false}};
  for (const auto& c : cases) {
    m_ui->clear();
    m_ui->onPump = [&] { throw RuntimeError(c.number, QStringLiteral("잘못된 프로시저 호출")); };
    exportList();
    if (c.shown) {
      ASSERT_EQ(m_ui->messages.size(), 1);
      EXPECT_EQ(m_ui->messages[0].title, "오류안내(5)");
      EXPECT_EQ(m_ui->messages[0].text, QStringLiteral("잘못된 프로시저 호출(SUB)g_EXCEL_CH"));
    } else {
      EXPECT_TRUE(m_ui->messages.isEmpty());
    }
    EXPECT_EQ(m_ui->cursors.last(), Cursor::Normal);
  }
  m_ui->onPump = nullptr;

  // A caption colour that is no colour fails where the sheet is made, after the dialog.
  for (const QString& answer : {QString(), path("colour.xls")}) {
    m_ui->clear();
    m_ui->lastDialogTitle.clear();
    m_ui->saveAnswers << answer;
    g_EXCEL_CH(m_grid, "x", "x", "colour", 1, true, 0);
    EXPECT_EQ(m_ui->lastDialogTitle, QStringLiteral("노임내역 저장"));
    EXPECT_EQ(m_ui->messages.size(), answer.isEmpty() ? 0 : 1);
    if (!answer.isEmpty())
      EXPECT_EQ(m_ui->messages[0].title, "오류안내(13)");
  }
  EXPECT_TRUE(files().isEmpty());
}

TEST_F(ExportRoutine, ExportLogOnlyWhereItsFolderExists)
{
  m_ui->saveAnswers << path("first.xls");
  exportList();
  EXPECT_FALSE(QDir(path("Logs")).exists()) << "the program never creates the log folder";

  QDir(m_dir.path()).mkdir("Logs");
  m_ui->saveAnswers << path("second.xls");
  exportList();
  QFile::setPermissions(path("second.xls"), QFileDevice::ReadOwner);
  m_ui->saveAnswers << path("second.xls");
  exportList();
  // Lines end with CR LF on Windows.
  const QStringList lines =
      QString::fromUtf8(contents(path("Logs/Xls_CH.txt")).replace("\r\n", "\n")).split('\n', Qt::SkipEmptyParts);
  ASSERT_EQ(lines.size(), 2);
  EXPECT_TRUE(lines[0].endsWith(QDir::toNativeSeparators(path("second.xls")) + QStringLiteral("\t3\t성공")))
      << lines[0].toStdString();
  EXPECT_TRUE(lines[1].endsWith(QStringLiteral("\t3\t실패"))) << lines[1].toStdString();
  QFile::setPermissions(path("second.xls"), QFileDevice::ReadOwner | QFileDevice::WriteOwner);
}
