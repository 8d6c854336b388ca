#pragma once

#include "support/TestBackend.h"

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace vcm::test {

/// The bytes of the file at `path`; empty when it cannot be read.
inline QByteArray fileBytes(const QString& path)
{
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

/// Replaces the file at `path` with `bytes`; false when it cannot be written.
inline bool writeFileBytes(const QString& path, const QByteArray& bytes)
{
  QFile f(path);
  return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(bytes) == bytes.size();
}

/// Tests against the HTTP peer: it serves files as a plain web server at the start and
/// end of every test, whatever a test asked of it. A derived SetUp returns when this one
/// skipped or failed.
class HttpPeerTest : public ::testing::Test {
protected:
  void SetUp() override
  {
    be = &Backend::shared();
    if (!be->available())
      GTEST_SKIP() << be->unavailableReason().toStdString();
    be->resetHttp();
    ASSERT_TRUE(m_dir.isValid());
    m_installer = fileBytes(be->installerFile());
  }

  void TearDown() override
  {
    if (be && be->available())
      be->resetHttp();
  }

  bool setUpStopped() const { return IsSkipped() || HasFatalFailure(); }

  Backend* be = nullptr;
  QTemporaryDir m_dir;
  QByteArray m_installer;  ///< the published installer as the peers serve it
};

} // namespace vcm::test
