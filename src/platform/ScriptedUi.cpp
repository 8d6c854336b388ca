#include "platform/ScriptedUi.h"

namespace vcm {

Answer ScriptedUi::message(const QString& text, const QString& title, Icon icon, Buttons buttons)
{
  messages.append({text, title, icon, buttons});
  if (!answers.isEmpty())
    return answers.dequeue();
  return buttons == Buttons::YesNo ? Answer::Yes : Answer::Ok;
}

void ScriptedUi::setCursor(Cursor cursor) { cursors.append(cursor); }

void ScriptedUi::pumpEvents()
{
  ++pumps;
  if (onPump)
    onPump();
}

void ScriptedUi::pause(int ms)
{
  pauses.append(ms);
  pumpEvents();
}

void ScriptedUi::beginNetworkWait()
{
  ++networkWaits;
  ++networkWaitDepth;
}

void ScriptedUi::networkIdle()
{
  ++networkIdles;
  if (onNetworkIdle)
    onNetworkIdle();
}

void ScriptedUi::endNetworkWait() { --networkWaitDepth; }

QStringList ScriptedUi::openFileNames(const QString& title, const QString& filter, bool)
{
  lastDialogTitle = title;
  lastDialogFilter = filter;
  return openAnswers.isEmpty() ? QStringList{} : openAnswers.dequeue();
}

QString ScriptedUi::saveFileName(const QString& title, const QString& filter,
                                 const QString& proposedName)
{
  lastDialogTitle = title;
  lastDialogFilter = filter;
  lastProposedName = proposedName;
  return saveAnswers.isEmpty() ? QString{} : saveAnswers.dequeue();
}

QString ScriptedUi::inputText(const QString& prompt, const QString& title, const QString&)
{
  inputPrompts << prompt;
  lastDialogTitle = title;
  return inputAnswers.isEmpty() ? QString{} : inputAnswers.dequeue();
}

bool ScriptedUi::startProgram(const QString& path)
{
  startedPrograms << path;
  return programsStart;
}

void ScriptedUi::endProcess(int code) { throw ProcessEnded{code}; }

QStringList ScriptedUi::texts() const
{
  QStringList out;
  for (const auto& m : messages)
    out << m.text;
  return out;
}

void ScriptedUi::clear()
{
  messages.clear();
  cursors.clear();
  pauses.clear();
  pumps = 0;
}

} // namespace vcm
