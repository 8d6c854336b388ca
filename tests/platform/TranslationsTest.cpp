// Qt's own texts in Korean: where the translation is found, and what the member then sees
// in Qt's widgets.
#include "platform/Translations.h"

#include <QCalendarWidget>
#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QLocale>
#include <QMenu>
#include <QPushButton>
#include <QTemporaryDir>
#include <QToolButton>

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

using namespace vcm;

namespace {

QString translationIn(const QTemporaryDir& dir, const char* folder)
{
  QDir(dir.path()).mkpath(QLatin1String(folder));
  return dir.filePath(QLatin1String(folder) + QLatin1Char('/') + QLatin1String(translations::QtBaseKorean));
}

} // namespace

TEST(Translations, TheProgramsOwnCopyComesFirst)
{
  QTemporaryDir dir;
  const QString program = dir.filePath(QStringLiteral("program"));
  const QString qt = dir.filePath(QStringLiteral("qt"));
  const QString programFile = translationIn(dir, "program");
  const QString qtFile = translationIn(dir, "qt");
  const struct {
    bool inProgram, inQt;
    QString expected;
  } cases[] = {{true, true, programFile}, {false, true, qtFile}, {true, false, programFile}, {false, false, QString()}};
  for (const auto& c : cases) {
    QFile::remove(programFile);
    QFile::remove(qtFile);
    for (const auto& [present, path] : {std::pair{c.inProgram, programFile}, std::pair{c.inQt, qtFile}})
      if (present) {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
      }
    EXPECT_EQ(translations::find({program, qt}), c.expected) << c.inProgram << c.inQt;
  }
}

TEST(Translations, QtsWidgetsSpeakKoreanWithTheCopyBesideTheProgram)
{
  // The build puts the file in translations/ beside the program; with Qt's own folder
  // second, the program's copy is the one taken.
  qputenv("VCM_PROGRAM_DIR", VCM_APP_DIR);
  const QString installed = translations::installKorean();
  qunsetenv("VCM_PROGRAM_DIR");
  EXPECT_EQ(QDir::cleanPath(installed),
            QDir::cleanPath(QStringLiteral(VCM_APP_DIR "/translations/") + QLatin1String(translations::QtBaseKorean)));

  EXPECT_EQ(QLocale().language(), QLocale::Korean);
  QDialogButtonBox buttons(QDialogButtonBox::Ok | QDialogButtonBox::Cancel | QDialogButtonBox::Save);
  EXPECT_EQ(buttons.button(QDialogButtonBox::Cancel)->text(), QStringLiteral("취소"));

  QLineEdit field;
  std::unique_ptr<QMenu> menu(field.createStandardContextMenu());
  QStringList texts;
  for (const QAction* a : menu->actions())
    if (!a->isSeparator())
      texts << a->text();
  ASSERT_FALSE(texts.isEmpty());
  for (const QString& t : texts)
    EXPECT_TRUE(std::any_of(t.begin(), t.end(), [](QChar c) { return c.script() == QChar::Script_Hangul; }))
        << t.toStdString();

  QCalendarWidget calendar;
  calendar.setSelectedDate(QDate(2026, 11, 30));
  calendar.show();
  QString monthButton;
  for (const QToolButton* b : calendar.findChildren<QToolButton*>())
    if (b->objectName() == QLatin1String("qt_calendar_monthbutton"))
      monthButton = b->text();
  EXPECT_EQ(monthButton, QStringLiteral("11월"));
}
