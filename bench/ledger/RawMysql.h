#pragma once

#include "support/TestBackend.h"

#include <mysql.h>

#include <cstdio>
#include <cstdlib>

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

} // namespace vcm::bench
