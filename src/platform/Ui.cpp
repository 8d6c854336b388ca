#include "platform/Ui.h"

#include <cstdio>
#include <cstdlib>

namespace vcm {

namespace {
Ui* g_ui = nullptr;
}

Ui& ui()
{
  if (!g_ui) {
    std::fputs("vcm: no user-interface services installed\n", stderr);
    std::abort();
  }
  return *g_ui;
}

Ui* setUi(Ui* impl)
{
  Ui* previous = g_ui;
  g_ui = impl;
  return previous;
}

Answer notice(const QString& text, Icon icon, Buttons buttons)
{
  return ui().message(text, QStringLiteral("작업안내"), icon, buttons);
}

} // namespace vcm
