// Start-up's decisions that need no server: refusal texts, service answers, installer
// size, server date, secrets and connection string.
#include "common/Deployment.h"
#include "common/RuntimeError.h"
#include "common/Session.h"
#include "startup/AccessRegistration.h"
#include "startup/ProgramVersion.h"
#include "startup/Secrets.h"
#include "startup/VersionCheck.h"
#include "support/FileAccess.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#ifndef Q_OS_WIN
#include <sys/stat.h>
#endif

namespace {

using namespace vcm;

QString refusal(const QString& host)
{
  return (QStringLiteral("[MySQL][ODBC 3.51 Driver]Host '") + host +
          QStringLiteral("' is not allowed to connect to this MySQL server"))
      .toUpper();
}

TEST(RefusedAddress, TakesTheAddressOutOfTheDriverText)
{
  struct Case {
    QString text;
    std::optional<QString> address;
  };
  const Case cases[] = {
      {refusal(QStringLiteral("10.1.2.3")), QStringLiteral("10.1.2.3")},
      {refusal(QStringLiteral("192.168.0.15")), QStringLiteral("192.168.0.15")},
      {refusal(QStringLiteral(" 127.0.0.1 ")), QStringLiteral("127.0.0.1")},
      {refusal(QStringLiteral("pc-17.office.example")), std::nullopt},  // a host name
      {refusal(QStringLiteral("fe80::1")), std::nullopt},                // IPv6
      {refusal(QStringLiteral("::ffff:10.1.2.3")), std::nullopt},        // IPv6 form of IPv4
      {refusal(QStringLiteral("10.1.2")), std::nullopt},                 // two dots
      {refusal(QStringLiteral("10.1.2.3.4")), std::nullopt},             // four dots
      {refusal(QStringLiteral("...")), std::nullopt},                    // no digits
      {QStringLiteral("HOST '10.1.2.3' IS NOT ALLOWED TO CONNECT TO THIS MYSQL SERVER"),
       std::nullopt},                                                     // other wording
      {QStringLiteral("[MYSQL][ODBC 3.51 DRIVER]CAN'T CONNECT TO SERVER ON '10.1.2.3'"),
       std::nullopt},
      {QString(), std::nullopt},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text.toStdString());
    EXPECT_EQ(registration::refusedAddress(c.text), c.address);
  }
}

TEST(RegistrationAnswer, ReadsTheTrimmedBodyAsANumber)
{
  struct Case {
    QByteArray body;
    std::optional<double> number;
  };
  const Case cases[] = {
      {"1", 1.0},       {"1 ", 1.0},      {" 1", 1.0},   {"1\r\n", 1.0}, {"1.0", 1.0},
      {"0", 0.0},       {"2", 2.0},       {"-1", -1.0},  {"OK", std::nullopt},
      {"", std::nullopt}, {"   ", std::nullopt}, {"1abc", std::nullopt},
      {"1 1", std::nullopt}, {"inf", std::nullopt}, {"nan", std::nullopt},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.body.toStdString());
    EXPECT_EQ(registration::answerNumber(c.body), c.number);
  }
}

TEST(VersionCheck, ProgramVersionHasNoLeadingZeros)
{
  const QStringList parts = programVersionText().split(QLatin1Char('.'));
  ASSERT_EQ(parts.size(), 3);
  for (const QString& part : parts) {
    bool ok = false;
    EXPECT_EQ(QString::number(part.toInt(&ok)), part);
    EXPECT_TRUE(ok);
  }
}

TEST(VersionCheck, InstallerSizeIsTheRoundedNumber)
{
  struct Case {
    QString text;
    qint32 size;
  };
  const Case cases[] = {
      {QStringLiteral("1234567"), 1234567}, {QString(), 0},
      {QStringLiteral(" 1234567 "), 1234567}, {QStringLiteral("1,234,567"), 1234567},
      {QStringLiteral("12.5"), 12},          {QStringLiteral("13.5"), 14},
      {QStringLiteral("abc"), 0},            {QStringLiteral("2147483647"), 2147483647},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text.toStdString());
    EXPECT_EQ(installerSize(c.text), c.size);
  }
  for (const QString& tooLarge : {QStringLiteral("2147483648"), QStringLiteral("1e400")}) {
    SCOPED_TRACE(tooLarge.toStdString());
    EXPECT_THROW(installerSize(tooLarge), RuntimeError);
  }
}

TEST(VersionCheck, ServerDateIsWrittenWithDots)
{
  EXPECT_EQ(serverDateText(QStringLiteral("2015-03-04 10:11:12")), QStringLiteral("2015.03.04"));
  EXPECT_EQ(serverDateText(QStringLiteral(" 2024-12-31 23:59:59 ")), QStringLiteral("2024.12.31"));
  EXPECT_EQ(serverDateText(QStringLiteral("2016-02-29")), QStringLiteral("2016.02.29"));
  for (const QString& bad : {QString(), QStringLiteral("NOW"), QStringLiteral("2015-02-30 00:00:00")}) {
    SCOPED_TRACE(bad.toStdString());
    EXPECT_THROW(serverDateText(bad), RuntimeError);
  }
}

TEST(DeploymentFile, OnlyASmallRegularFileIsRead)
{
  QTemporaryDir dir;
  const QString fifo = dir.filePath(QStringLiteral("fifo.ini"));
  const QString device = dir.filePath(QStringLiteral("device.ini"));
  const QString big = dir.filePath(QStringLiteral("big.ini"));
#ifndef Q_OS_WIN
  ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
  QFile::link(QStringLiteral("/dev/zero"), device);
#endif
  QFile f(big);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  f.write(QByteArray(1024 * 1024, '#'));
  f.close();
  f.setPermissions(QFile::ReadOwner | QFile::WriteOwner);
  const struct {
    QString path;
    const char* why;
  } cases[] = {{fifo, "일반 파일이 아닙니다"}, {device, "일반 파일이 아닙니다"}, {big, "너무 큽니다"}};
  for (const auto& c : cases) {
    if (!QFileInfo::exists(c.path) && !QFileInfo(c.path).isSymLink())
      continue;  // no pipes or devices here
    SCOPED_TRACE(c.path.toStdString());
    Deployment d;
    QString why;
    EXPECT_FALSE(d.load(c.path, &why));  // returns at once: a pipe without a writer would block a reader
    EXPECT_TRUE(why.contains(QString::fromUtf8(c.why))) << why.toStdString();
  }
}

class SecretsTest : public ::testing::Test {
protected:
  Deployment load(const QStringList& extraLines)
  {
    QStringList lines = {
        QStringLiteral("server_address = ") + Deployment::recipeFor(QStringLiteral("10.20.30.45")),
        QStringLiteral("db_user = ") + Deployment::recipeFor(QStringLiteral("abcdeFg")),
        QStringLiteral("ftp_user = ") + Deployment::recipeFor(QStringLiteral("ftpuser")),
        QStringLiteral("db_password = ") + Deployment::recipeFor(QStringLiteral("ab12cd34!@$%^")),
        QStringLiteral("db_name = ") + Deployment::recipeFor(QStringLiteral("abcDEFgh_-12")),
        QStringLiteral("crypt_key = ") + Deployment::recipeFor(QStringLiteral("keytexts123")),
        QStringLiteral("server_list_host = ") + Deployment::recipeFor(QStringLiteral("10.20.30.40:8080")),
        QStringLiteral("maindb = ") + Deployment::recipeFor(QStringLiteral("mainDBNAME_x")),
        QStringLiteral("db = ") + Deployment::recipeFor(QStringLiteral("vwxyz")),
    };
    lines += extraLines;
    const QString path = m_dir.filePath(QStringLiteral("deploy.ini"));
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(lines.join(QLatin1Char('\n')).toUtf8());
    f.close();
    EXPECT_TRUE(vcm::test::restrictToOwner(path));
    Deployment d;
    QString why;
    EXPECT_TRUE(d.load(path, &why)) << why.toStdString();
    return d;
  }
  void TearDown() override { Session.reset(); }
  QTemporaryDir m_dir;
};

TEST_F(SecretsTest, ConnectionStringCarriesEveryPartInOrder)
{
  Session.reset();
  buildSecrets(load({}));
  EXPECT_EQ(Session.ServerAddress, QStringLiteral("10.20.30.45"));
  EXPECT_EQ(Session.FtpUser, QStringLiteral("ftpuser"));
  EXPECT_EQ(Session.ServerListHost, QStringLiteral("10.20.30.40:8080"));
  EXPECT_EQ(buildConnectionString(),
            QStringLiteral("driver=MySQL ODBC 3.51 Driver;database=abcDEFgh_-12;option=0;"
                           "pwd=ab12cd34!@$%^;port=3306;server=10.20.30.45;uid=abcdeFg;charset=euckr;"));
}

TEST_F(SecretsTest, PortsAndSecondKeyComeFromTheFileWhenGiven)
{
  Session.reset();
  buildSecrets(load({}));
  EXPECT_EQ(Session.InfoCryptKey, Session.CryptKey);
  EXPECT_EQ(Session.FtpPort, 21);
  EXPECT_EQ(Session.HttpPort, 80);

  buildSecrets(load({QStringLiteral("db_port = 33061"), QStringLiteral("ftp_port = 2121"),
                     QStringLiteral("info_crypt_key = ") + Deployment::recipeFor(QStringLiteral("otherkey987"))}));
  EXPECT_EQ(Session.InfoCryptKey, QStringLiteral("otherkey987"));
  EXPECT_EQ(Session.CryptKey, QStringLiteral("keytexts123"));
  EXPECT_EQ(Session.FtpPort, 2121);
  EXPECT_TRUE(buildConnectionString().contains(QStringLiteral(";port=33061;server=10.20.30.45;")));
}

} // namespace
