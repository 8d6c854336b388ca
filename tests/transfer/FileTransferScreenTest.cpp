// The file transfer screen through its real widgets, against the test servers.
#include "FileTransferFixture.h"
#include "common/grid/GridView.h"
#include "textcontrol/RegisteredLibrary.h"
#include "transfer/FileTransferScreen.h"

#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QTextEdit>
#include <QToolButton>

namespace vcm::test {
namespace {

class FileTransferScreenTest : public FileTransferFixture {
protected:
  template <class T>
  T* child(const char* name)
  {
    T* w = screen->findChild<T*>(QLatin1String(name));
    EXPECT_TRUE(w) << name;
    return w;
  }

  void click(const char* name) { QTest::mouseClick(child<QAbstractButton>(name), Qt::LeftButton); }

  void clickCell(GridView* view, int col, int row)
  {
    const QRect cell = view->visualRect(view->model()->index(row - 1, col - 1));
    QTest::mouseClick(view->viewport(), Qt::LeftButton, Qt::NoModifier, cell.center());
  }

  std::unique_ptr<FileTransferScreen> screen;
};

TEST_F(FileTransferScreenTest, MemberSendsAFileAndFindsItInTheHistory)
{
  registerBuiltLibrary();
  screen = std::make_unique<FileTransferScreen>();
  screen->show();
  EXPECT_EQ(screen->windowTitle(), QStringLiteral("파일전송"));
  auto* tabs = child<QTabWidget>("tabTrans");
  EXPECT_EQ(tabs->tabText(0).trimmed(), QStringLiteral("파일전송"));
  EXPECT_EQ(tabs->tabText(1).trimmed(), QStringLiteral("전송이력 조회"));
  const std::pair<const char*, const char*> captions[] = {
      {"cmdFind_F", "첨부파일찾기"}, {"cmdTrans_F", "파일전송"}, {"cmdReset", "초 기 화"}, {"cmdXls", "엑셀변환"}};
  for (const auto& [name, text] : captions)
    EXPECT_EQ(child<QAbstractButton>(name)->text(), QString::fromUtf8(text));
  EXPECT_EQ(child<QLabel>("lblFileNote")->text(), QStringLiteral("(※ 5MB 이하 용량의 파일만 전송 가능합니다.)"));
  ASSERT_TRUE(screen->txtTitle() && screen->txtMemo());

  QTextEdit* title = innerBox(screen->txtTitle());
  title->setFocus();
  QTest::keyClicks(title, QStringLiteral("Bob's files"));
  EXPECT_EQ(screen->transfer().form.txtTitle, QStringLiteral("Bob's files"));

  auto* sprTrans = child<GridView>("sprTrans");
  const QString a = file(QStringLiteral("a.pdf"), 700);
  ui->openAnswers.enqueue({a});
  ui->openAnswers.enqueue({a});
  click("cmdFind_F");
  click("cmdFind_F");
  EXPECT_EQ(ui->texts(), QStringList{QStringLiteral("[ 1 행과 2 행 ]의 파일이 동일합니다.\r\n\r\n한개의 파일은 삭제해주세요.")});
  clickCell(sprTrans, 1, 2);  // the row's 삭제 button
  EXPECT_EQ(sprTrans->grid().rowCount(), 1);
  EXPECT_EQ(sprTrans->grid().text(3, 1), QStringLiteral("1 KB"));

  ui->clear();
  click("cmdTrans_F");
  EXPECT_EQ(ui->texts(), (QStringList{QStringLiteral("전송하시겠습니까?"), QStringLiteral("정상적으로 전송되었습니다.")}));
  EXPECT_EQ(child<QProgressBar>("xBar")->format(), QStringLiteral("전송완료(100%)"));
  EXPECT_EQ(screen->txtTitle()->Text(), QString());  // cleared after the send
  EXPECT_EQ(sprTrans->grid().rowCount(), 0);
  const QList<QStringList> stored = rows();
  ASSERT_EQ(stored.size(), 1);
  EXPECT_EQ(stored[0][1], QStringLiteral("Bob's files"));

  // The history tab lists this month (the row was written with today's month).
  const QString month = QDate::currentDate().toString(QStringLiteral("yyyy.MM"));
  auto* DatM_T = child<QLineEdit>("DatM_T");
  tabs->setCurrentIndex(1);
  DatM_T->setFocus();
  DatM_T->selectAll();
  QTest::keyClicks(DatM_T, QString(month).remove(u'.'));
  click("DatM_T_1");
  EXPECT_EQ(DatM_T->text(), FileTransfer::shiftedMonth(month, -1));
  auto* sprStory = child<GridView>("sprStory");
  EXPECT_EQ(sprStory->grid().rowCount(), 0);
  click("DatM_T_2");
  EXPECT_EQ(DatM_T->text(), month);
  ASSERT_EQ(sprStory->grid().rowCount(), 1);
  EXPECT_EQ(sprStory->grid().text(2, 1), QStringLiteral("Bob's files"));
}

} // namespace
} // namespace vcm::test
