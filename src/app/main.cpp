// The program's entry point: start-up runs once before any screen exists; afterwards the
// program lives as long as one of its windows is open.
#include "app/AppStartupScreens.h"
#include "app/RegisterScreens.h"
#include "platform/Appearance.h"
#include "platform/QtUi.h"
#include "platform/Translations.h"
#include "startup/Main.h"

#include <QApplication>
#include <QWidget>

namespace {

bool anyWindowOpen()
{
  for (const QWidget* w : QApplication::topLevelWidgets())
    if (w->isVisible())
      return true;
  return false;
}

} // namespace

int main(int argc, char** argv)
{
  // The window system is whatever the environment names (QT_QPA_PLATFORM); the
  // application name stays the executable's, which the single-instance lock relies on.
  QApplication app(argc, argv);
  // Before the first window: Qt's dialogs, buttons and calendars speak Korean too.
  vcm::translations::installKorean();
  vcm::installAppearance();
  vcm::QtUi qtUi;
  vcm::setUi(&qtUi);
  vcm::registerScreens();

  int result = 0;
  {
    vcm::AppStartupScreens screens;
    vcm::Main(screens);
    // After a refused or failed start no window is left, and nothing would end the loop.
    if (anyWindowOpen())
      result = app.exec();
  }
  vcm::setUi(nullptr);
  return result;
}
