#pragma once

#include "platform/Ui.h"

#include <QList>
#include <QQueue>
#include <functional>

namespace vcm {

/// Test implementation of Ui: records every notice and answers questions from a script.
/// Without a scripted answer a question gets Yes (Ok for notices).
class ScriptedUi : public Ui {
public:
  struct Message {
    QString text;
    QString title;
    Icon icon = Icon::None;
    Buttons buttons = Buttons::Ok;
  };

  Answer message(const QString& text, const QString& title, Icon icon,
                 Buttons buttons = Buttons::Ok) override;
  void setCursor(Cursor cursor) override;
  void pumpEvents() override;
  void pause(int ms) override;
  void beginNetworkWait() override;
  void networkIdle() override;
  void endNetworkWait() override;
  QStringList openFileNames(const QString& title, const QString& filter, bool multiple) override;
  QString saveFileName(const QString& title, const QString& filter,
                       const QString& proposedName) override;
  QSize screenSize() const override { return m_screen; }
  double screenDpi() const override { return m_dpi; }
  bool capsLockOn() const override { return m_capsLock; }
  bool shiftDown() const override { return m_shift; }
  QString inputText(const QString& prompt, const QString& title, const QString& preset) override;
  bool startProgram(const QString& path) override;
  [[noreturn]] void endProcess(int code = 0) override;

  // Script and observations.
  QList<Message> messages;
  QQueue<Answer> answers;
  QQueue<QStringList> openAnswers;
  QQueue<QString> saveAnswers;
  QList<Cursor> cursors;
  QList<int> pauses;
  int pumps = 0;
  QString lastDialogTitle;
  QString lastDialogFilter;
  QString lastProposedName;
  /// Answers of input boxes in order; without one the box is cancelled (empty text).
  QQueue<QString> inputAnswers;
  QStringList inputPrompts;
  /// Programs started, and whether the system is to start them.
  QStringList startedPrograms;
  bool programsStart = true;
  /// Called on every pumpEvents(), so a test can act "while" long work runs.
  std::function<void()> onPump;
  /// Network waits begun, idle passes during them, and the depth now (0 when none runs).
  int networkWaits = 0;
  int networkIdles = 0;
  int networkWaitDepth = 0;
  /// Called on every networkIdle().
  std::function<void()> onNetworkIdle;

  QSize m_screen{1920, 1080};
  double m_dpi = 96.0;
  bool m_capsLock = false;
  bool m_shift = false;

  /// Texts of all recorded messages, in order.
  QStringList texts() const;
  void clear();
};

/// Installs a ScriptedUi for the lifetime of the guard.
class ScopedScriptedUi {
public:
  ScopedScriptedUi() : m_previous(setUi(&m_ui)) {}
  ~ScopedScriptedUi() { setUi(m_previous); }
  ScriptedUi* operator->() { return &m_ui; }
  ScriptedUi& operator*() { return m_ui; }

private:
  ScriptedUi m_ui;
  Ui* m_previous;
};

} // namespace vcm
