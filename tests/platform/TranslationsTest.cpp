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

TEST(Translations, TheProgramsOwnCopyComesFirst)
{
  QTemporaryDir dir;
  const QStringList folders{dir.filePath(QStringLiteral("program")), dir.filePath(QStringLiteral("qt"))};
  auto file = [&](int folder) { return QDir(folders[folder]).filePath(QLatin1String(translations::QtBaseKorean)); };
  for (const QString& f : folders)
    QDir().mkpath(f);
  // In which folders the file lies (bit 0 the program's, bit 1 Qt's), and which is taken.
  const std::pair<int, QString> cases[] = {{3, file(0)}, {2, file(1)}, {1, file(0)}, {0, QString()}};
  for (const auto& [present, expected] : cases) {
    for (int folder : {0, 1}) {
      QFile f(file(folder));
      ASSERT_TRUE((present >> folder) & 1 ? f.open(QIODevice::WriteOnly) : (!f.exists() || f.remove()));
    }
    EXPECT_EQ(translations::find(folders), expected) << present;
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
