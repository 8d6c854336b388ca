#pragma once

#include "BenchHost.h"
#include "support/TestBackend.h"

#include <QApplication>

#include <mysql.h>

#include <cstdio>
#include <cstdlib>
#include <functional>

namespace vcm::bench {

/// A bare libmariadb connection to the test backend's database, the baseline the
/// ledger benchmarks measure against (euckr, TCP, no options of ours).
inline MYSQL* connectRaw(const test::Backend& be)
{
  MYSQL* m = mysql_init(nullptr);
  mysql_optionsv(m, MYSQL_SET_CHARSET_NAME, "euckr");
  const unsigned int protocol = MYSQL_PROTOCOL_TCP;
  mysql_optionsv(m, MYSQL_OPT_PROTOCOL, &protocol);
  if (!mysql_real_connect(m, be.dbHost().toLatin1().constData(), be.dbUser().toUtf8().constData(),
                          be.dbPassword().toUtf8().constData(), be.dbName().toUtf8().constData(),
                          unsigned(be.dbPort()), nullptr, 0)) {
    std::fprintf(stderr, "connect: %s\n", mysql_error(m));
    std::abort();
  }
  return m;
}

/// main() of a ledger benchmark against the test backend: the offscreen platform and
/// scripted notices; `prepare` seeds the company's rows and answers the connection
/// string the session is to use; then the registered benchmarks run, `finish` ends
/// what `prepare` started (while Qt still runs), and the company's entries are removed.
inline int runBackendBenchmarks(int argc, char** argv, const QString& company,
                                const std::function<QString(test::Backend&)>& prepare,
                                const std::function<void()>& finish = {})
{
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  if (!test::Backend::sharedOrExplain())
    return 1;
  ScopedScriptedUi ui;
  auto& be = test::Backend::shared();
  benchSession(prepare(be), company);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  if (finish)
    finish();
  be.adminExec(QStringLiteral("DELETE FROM DEAL_LIST WHERE COM_CD = '%1'").arg(company));
  return 0;
}

} // namespace vcm::bench
