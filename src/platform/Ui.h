#pragma once

#include <QSize>
#include <QString>
#include <QStringList>

namespace vcm {

/// Icon of a notice or question box.
enum class Icon { None, Information, Exclamation, Question, Critical };

/// Button set of a notice or question box. Texts are Korean: 확인, 예, 아니요.
enum class Buttons { Ok, YesNo, OkCancel };

/// The button the user pressed.
enum class Answer { Ok, Yes, No, Cancel };

/// Mouse pointer shapes the screens use.
enum class Cursor { Normal, Hourglass };

/// Thrown by a test implementation of Ui::endProcess so that tests can observe the end of
/// the process. Deliberately not a RuntimeError: no error handler may swallow it.
struct ProcessEnded {
  int code = 0;
};

/// User-interface services behind every notice, question, cursor change, file dialog,
/// keyboard query and process end. The program installs the Qt implementation; tests
/// install a scripted one that records what the user would have seen.
class Ui {
public:
  virtual ~Ui() = default;

  /// Shows a modal message box and returns the button pressed.
  virtual Answer message(const QString& text, const QString& title, Icon icon,
                         Buttons buttons = Buttons::Ok) = 0;

  virtual void setCursor(Cursor cursor) = 0;

  /// Lets pending interface events run (repaint, input) on the one UI thread.
  virtual void pumpEvents() = 0;

  /// Waits about `ms` milliseconds while letting events run.
  virtual void pause(int ms) = 0;

  /// The program starts waiting on the network (a connect, a query, a transfer, an FTP
  /// reply). Until the matching endNetworkWait() the busy pointer shows and member input
  /// is dropped, so no second command can start; waits may nest.
  virtual void beginNetworkWait() = 0;

  /// Lets paint and timer events run during a network wait (never user input).
  virtual void networkIdle() = 0;

  virtual void endNetworkWait() = 0;

  /// Open-file dialog. Returns the chosen paths, empty when cancelled.
  virtual QStringList openFileNames(const QString& title, const QString& filter,
                                    bool multiple) = 0;

  /// Save-file dialog. Returns the chosen path, empty when cancelled.
  virtual QString saveFileName(const QString& title, const QString& filter,
                               const QString& proposedName) = 0;

  /// Size of the primary screen in device-independent pixels.
  virtual QSize screenSize() const = 0;

  /// Logical dots per inch of the primary screen (96 at 100 %).
  virtual double screenDpi() const = 0;

  virtual bool capsLockOn() const = 0;
  virtual bool shiftDown() const = 0;

  /// Input box with `prompt`, `title` and a pre-filled answer. Returns what was typed,
  /// empty when the box was cancelled.
  virtual QString inputText(const QString& prompt, const QString& title,
                            const QString& preset) = 0;

  /// Starts the program file at `path` in a normal window, without arguments and
  /// without waiting for it. False when the system could not start it.
  virtual bool startProgram(const QString& path) = 0;

  /// Ends the process at once, as a refused start or a fatal failure requires.
  [[noreturn]] virtual void endProcess(int code = 0) = 0;
};

/// The installed implementation. Aborts when none is installed.
Ui& ui();

/// Installs `impl` (not owned) and returns the previous one.
Ui* setUi(Ui* impl);

/// Shorthand for the standard notice titled "작업안내".
Answer notice(const QString& text, Icon icon, Buttons buttons = Buttons::Ok);

} // namespace vcm
