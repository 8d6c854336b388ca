#pragma once

#include "common/Session.h"
#include "startup/StartupScreens.h"

#include <QStringList>

namespace vcm::test {

/// Records what start-up asks of its screens, with the session state of that moment.
class RecordingScreens : public StartupScreens {
public:
  QStringList calls;
  QString version = QStringLiteral("1.0.57");
  bool connectionOpenAtLogin = false;
  bool connectionOpenAtUpdate = false;
  bool secretsSetAtLogin = false;
  qint32 sizeAtUpdate = -1;

  void showLoading() override { calls << QStringLiteral("loading"); }
  void unloadLoading() override { calls << QStringLiteral("unload"); }
  void showLogin() override
  {
    calls << QStringLiteral("login");
    connectionOpenAtLogin = Session.Connection && Session.Connection->isOpen();
    secretsSetAtLogin = !Session.ConnectionString.isEmpty() && !Session.CryptKey.isEmpty() &&
                        !Session.DbPassword.isEmpty();
  }
  void showUpdate() override
  {
    calls << QStringLiteral("update");
    sizeAtUpdate = Session.UpdateFileSize;
    connectionOpenAtUpdate = Session.Connection && Session.Connection->isOpen();
  }
  QString programVersion() const override { return version; }
};

} // namespace vcm::test
