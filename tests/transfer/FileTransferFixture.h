#pragma once

#include "common/Session.h"
#include "platform/ScriptedUi.h"
#include "support/TestBackend.h"
#include "transfer/FileTransfer.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace vcm::test {

/// A session against the test backend for company C0001 on 5 March 2024, with the
/// company's transfer rows and uploaded files removed before and after each test.
class FileTransferFixture : public ::testing::Test {
protected:
  static inline const QString Company = QStringLiteral("C0001");

  void SetUp() override
  {
    be = &Backend::shared();
    if (!be->available())
      GTEST_SKIP() << be->unavailableReason().toStdString();
    ASSERT_TRUE(m_files.isValid());
    Session.reset();
    Session.ConnectionString = be->connectionString();
    Session.ServerAddress = QStringLiteral("127.0.0.1");
    Session.FtpPort = be->ftpPort();
    Session.FtpUser = be->ftpUser();
    Session.DbPassword = be->ftpPassword();
    Session.CompanyCode = Company;
    Session.ServerDate = QStringLiteral("2024.03.05");
    be->resetFtp();
    cleanUp();
  }

  void TearDown() override
  {
    if (!be || !be->available())
      return;
    be->resetFtp();
    cleanUp();
    Session.Connection.reset();
  }

  void cleanUp() const
  {
    be->adminExec(QStringLiteral("DELETE FROM TRANS_FILE_LIST WHERE COM_CD = '%1'").arg(Company));
    QDir folder(uploadFolder());
    for (const QString& name : folder.entryList({Company + QStringLiteral("_*")}, QDir::Files))
      folder.remove(name);
  }

  QString uploadFolder() const { return be->ftpRoot() + FileTransfer::RemoteFolder; }

  /// A local file of `size` bytes (content from `fill`) under `folder`.
  QString file(const QString& name, qint64 size, const QString& folder = QString(), char fill = 'x') const
  {
    const QString dir = m_files.filePath(folder);
    QDir().mkpath(dir);
    const QString path = QDir(dir).filePath(name);
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(QByteArray(size, fill));
    return path;
  }

  /// The company's TRANS_FILE_LIST rows.
  QList<QStringList> rows() const
  {
    return be->adminQuery(QStringLiteral(
        "SELECT REG_MON, TRANS_TITLE, TRANS_MEMO, File_NM, SIL_FILE_NM, FILE_SIZE, TRANS_DT "
        "FROM TRANS_FILE_LIST WHERE COM_CD = '%1' ORDER BY TRANS_F_NO").arg(Company));
  }

  Backend* be = nullptr;
  ScopedScriptedUi ui;
  QTemporaryDir m_files;
};

} // namespace vcm::test
