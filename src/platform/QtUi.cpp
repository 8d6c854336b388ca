#include "platform/QtUi.h"

#include "platform/Keyboard.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QScreen>
#include <QThread>
#include <cstdlib>

namespace vcm {

namespace {

QMessageBox::Icon toQt(Icon icon)
{
  switch (icon) {
  case Icon::Information: return QMessageBox::Information;
  case Icon::Exclamation: return QMessageBox::Warning;
  case Icon::Question: return QMessageBox::Question;
  case Icon::Critical: return QMessageBox::Critical;
  case Icon::None: break;
  }
  return QMessageBox::NoIcon;
}

QWidget* dialogOwner()
{
  if (QWidget* w = QApplication::activeWindow())
    return w;
  for (QWidget* w : QApplication::topLevelWidgets())
    if (w->objectName() == QStringLiteral("메인") && w->isVisible())
      return w;
  return nullptr;
}

} // namespace

Answer QtUi::message(const QString& text, const QString& title, Icon icon, Buttons buttons)
{
  QMessageBox box(toQt(icon), title, text, QMessageBox::NoButton, dialogOwner());
  QAbstractButton* yes = nullptr;
  QAbstractButton* no = nullptr;
  QAbstractButton* ok = nullptr;
  QAbstractButton* cancel = nullptr;
  switch (buttons) {
  case Buttons::Ok:
    ok = box.addButton(QStringLiteral("확인"), QMessageBox::AcceptRole);
    box.setEscapeButton(ok);
    break;
  case Buttons::YesNo:
    yes = box.addButton(QStringLiteral("예"), QMessageBox::YesRole);
    no = box.addButton(QStringLiteral("아니요"), QMessageBox::NoRole);
    box.setDefaultButton(static_cast<QPushButton*>(yes));
    box.setEscapeButton(no);
    break;
  case Buttons::OkCancel:
    ok = box.addButton(QStringLiteral("확인"), QMessageBox::AcceptRole);
    cancel = box.addButton(QStringLiteral("취소"), QMessageBox::RejectRole);
    box.setEscapeButton(cancel);
    break;
  }
  // A pending hourglass would otherwise hide that the box waits for the user.
  const bool hadOverride = QApplication::overrideCursor() != nullptr;
  if (hadOverride)
    QApplication::setOverrideCursor(Qt::ArrowCursor);
  box.exec();
  if (hadOverride)
    QApplication::restoreOverrideCursor();
  QAbstractButton* clicked = box.clickedButton();
  if (clicked && clicked == yes)
    return Answer::Yes;
  if (clicked && clicked == no)
    return Answer::No;
  if (clicked && clicked == cancel)
    return Answer::Cancel;
  if (buttons == Buttons::YesNo)
    return Answer::No;
  return Answer::Ok;
}

void QtUi::setCursor(Cursor cursor)
{
  while (QApplication::overrideCursor())
    QApplication::restoreOverrideCursor();
  if (cursor == Cursor::Hourglass)
    QApplication::setOverrideCursor(Qt::WaitCursor);
}

void QtUi::pumpEvents()
{
  // Long work pumps after every small step (a download after every kilobyte), far more
  // often than anyone can type or see. Posted events (repaints, deferred deletes) run on
  // every call; the window system and timers are asked at most once a millisecond,
  // which costs a system call each time.
  static QElapsedTimer sinceFullPass;
  if (sinceFullPass.isValid() && sinceFullPass.nsecsElapsed() < 1000000) {
    QCoreApplication::sendPostedEvents();
    return;
  }
  QApplication::processEvents();
  sinceFullPass.start();
}

void QtUi::pause(int ms)
{
  QDeadlineTimer deadline(ms);
  while (!deadline.hasExpired()) {
    QApplication::processEvents(QEventLoop::AllEvents, 20);
    QThread::msleep(std::min<qint64>(10, std::max<qint64>(0, deadline.remainingTime())));
  }
}

QStringList QtUi::openFileNames(const QString& title, const QString& filter, bool multiple)
{
  if (multiple)
    return QFileDialog::getOpenFileNames(dialogOwner(), title, QString(), filter);
  const QString one = QFileDialog::getOpenFileName(dialogOwner(), title, QString(), filter);
  return one.isEmpty() ? QStringList{} : QStringList{one};
}

QString QtUi::saveFileName(const QString& title, const QString& filter,
                           const QString& proposedName)
{
  return QFileDialog::getSaveFileName(dialogOwner(), title, proposedName, filter);
}

QSize QtUi::screenSize() const
{
  const QScreen* s = QGuiApplication::primaryScreen();
  return s ? s->size() : QSize(1024, 768);
}

double QtUi::screenDpi() const
{
  const QScreen* s = QGuiApplication::primaryScreen();
  return s ? s->logicalDotsPerInch() : 96.0;
}

bool QtUi::capsLockOn() const { return keyboard::capsLockOn(); }
bool QtUi::shiftDown() const { return keyboard::shiftDown(); }

QString QtUi::inputText(const QString& prompt, const QString& title, const QString& preset)
{
  return QInputDialog::getText(dialogOwner(), title, prompt, QLineEdit::Normal, preset);
}

bool QtUi::startProgram(const QString& path)
{
  // Detached: the started program outlives this one, which ends right after.
  return QProcess::startDetached(path, {});
}

void QtUi::endProcess(int code)
{
  // The old client ended with End: no further events, no unload questions.
  std::exit(code);
}

} // namespace vcm
