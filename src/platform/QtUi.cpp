#include "platform/QtUi.h"

#include "platform/Keyboard.h"

#include <QApplication>
#include <QDeadlineTimer>
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

/// Drops member input (keys, clicks, wheel, context menus) while the program waits on
/// the network. Qt's ExcludeUserInputEvents would only hold such input back until the
/// next full pass of the event loop, which long work makes between its statements and
/// blocks: a click made during one wait would then start a second command while the
/// first still runs. Window-system events (paint, resize, close) still come through.
class InputDropper : public QObject {
public:
  bool eventFilter(QObject* watched, QEvent* event) override
  {
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::Wheel:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::ShortcutOverride:
    case QEvent::Shortcut:
    case QEvent::ContextMenu:
    case QEvent::TouchBegin:
    case QEvent::TouchUpdate:
    case QEvent::TouchEnd:
    case QEvent::TabletPress:
    case QEvent::TabletRelease:
      return true;
    default:
      return QObject::eventFilter(watched, event);
    }
  }
};

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
  // Long work pumps after every small step (a transfer after every 255 bytes). Running
  // the events each time costs a system call and a repaint per step; calls within a
  // millisecond of the last pass are folded into the next one, so input and painting
  // still come through a thousand times a second at a fraction of the cost.
  static QDeadlineTimer nextFullPass(0);
  if (!nextFullPass.hasExpired())
    return;
  QApplication::processEvents();
  nextFullPass.setPreciseRemainingTime(0, 1'000'000);
}

void QtUi::pause(int ms)
{
  QDeadlineTimer deadline(ms);
  while (!deadline.hasExpired()) {
    QApplication::processEvents(QEventLoop::AllEvents, 20);
    QThread::msleep(std::min<qint64>(10, std::max<qint64>(0, deadline.remainingTime())));
  }
}

void QtUi::beginNetworkWait()
{
  if (m_networkWaitDepth++ > 0)
    return;
  QApplication::setOverrideCursor(Qt::WaitCursor);
  m_dropper = new InputDropper;
  qApp->installEventFilter(m_dropper);
}

void QtUi::networkIdle()
{
  // Input is delivered now and dropped by the filter, not held back for later.
  QApplication::processEvents(QEventLoop::AllEvents);
}

void QtUi::endNetworkWait()
{
  if (m_networkWaitDepth == 0 || --m_networkWaitDepth > 0)
    return;
  qApp->removeEventFilter(m_dropper);
  delete m_dropper;
  m_dropper = nullptr;
  QApplication::restoreOverrideCursor();
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
  // Callers ask about an existing file themselves (and offer the dialog again on No).
  return QFileDialog::getSaveFileName(dialogOwner(), title, proposedName, filter, nullptr,
                                      QFileDialog::DontConfirmOverwrite);
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
