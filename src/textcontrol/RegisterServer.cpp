// Registers (or with -u unregisters) a control library for the current user by running
// its own registration entry point. The install step runs it on the installed library.

#include "textcontrol/ControlFactory.h"

#include <QCoreApplication>
#include <QStringList>

#include <cstdio>

int main(int argc, char** argv)
{
  QCoreApplication app(argc, argv);
  QStringList args = app.arguments().mid(1);
  const bool unregister = args.removeAll(QStringLiteral("-u")) > 0;
  if (args.size() != 1) {
    std::fprintf(stderr, "usage: koltrich_regsvr [-u] <library>\n");
    return 2;
  }
  const vcm::koltrich::HResult result =
      unregister ? vcm::unregisterServer(args.first()) : vcm::registerServer(args.first());
  if (result != vcm::koltrich::S_Ok) {
    std::fprintf(stderr, "%s failed for %s (0x%08X)\n", unregister ? "unregistration" : "registration",
                 qPrintable(args.first()), unsigned(result));
    return 1;
  }
  std::printf("%s %s\n", unregister ? "unregistered" : "registered", qPrintable(args.first()));
  return 0;
}
