#include "common/Deployment.h"
#include "common/Regist.h"
#include "support/FileAccess.h"
#include "support/ScratchSettings.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace vcm;

namespace {

class SettingsTest : public ::testing::Test {
protected:
  void SetUp() override
  {
    ASSERT_TRUE(m_dir.isValid());
    m_file = m_dir.filePath(QStringLiteral("cfg/settings.ini"));
    test::useScratchSettings(m_file);
  }
  void TearDown() override { test::dropScratchSettings(); }

#ifdef Q_OS_WIN
  /// Runs the system's registry tool on the store's key `subkey`; its output, whose
  /// code page and line ends are the console's, not ours.
  QString reg(const QStringList& args, const QString& subkey) const
  {
    QString key = settingsLocation() + QLatin1Char('\\') + subkey;
    key.replace(QStringLiteral("HKEY_CURRENT_USER"), QStringLiteral("HKCU"));
    QProcess p;
    p.start(QStringLiteral("reg"), QStringList{args.first(), key} + args.mid(1));
    EXPECT_TRUE(p.waitForFinished(60000));
    return QString::fromLocal8Bit(p.readAllStandardOutput()).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  }
#endif

  QString chk() const { return SettingsKey + QStringLiteral("Chk"); }
  QString config() const { return SettingsKey + QStringLiteral("Config"); }

  QTemporaryDir m_dir;
  QString m_file;
};

} // namespace

TEST_F(SettingsTest, MissingKeyOrValueReadsEmptyAndCreatesNothing)
{
  EXPECT_EQ(Reg_GetString(HKEY_CURRENT_USER_ROOT, chk(), QStringLiteral("chk_IP_List")), QString());
#ifdef Q_OS_WIN
  EXPECT_FALSE(reg({QStringLiteral("query")}, QStringLiteral("Chk")).contains(QStringLiteral("chk_IP_List")));
#else
  EXPECT_FALSE(QFile::exists(m_file));
#endif
  QString v = QStringLiteral("1");
  ASSERT_TRUE(Reg_SaveString(HKEY_CURRENT_USER_ROOT, chk(), QStringLiteral("Update_Div"), v));
  EXPECT_EQ(Reg_GetString(HKEY_CURRENT_USER_ROOT, chk(), QStringLiteral("chk_IP_List")), QString());
  EXPECT_EQ(Reg_GetString(HKEY_CURRENT_USER_ROOT, config(), QStringLiteral("Update_Div")), QString());
}

TEST_F(SettingsTest, ValuesRoundTripAndEmptyIsStoredAsOneBlank)
{
  const struct {
    const char* name;
    const char* value;
    const char* readBack;
  } cases[] = {
      {"Login_ID", "care1001", "care1001"},
      {"Login_ID", "", " "},
      {"Chk_Login", "0", "0"},
      {"Login_ID", "요양원,관리자", "요양원,관리자"},
      {"Login_ID", "a=b;c", "a=b;c"},
  };
  for (const auto& c : cases) {
    QString value = QString::fromUtf8(c.value);
    ASSERT_TRUE(Reg_SaveString(HKEY_CURRENT_USER_ROOT, config(), QString::fromUtf8(c.name), value));
    if (QString::fromUtf8(c.value).isEmpty())
      EXPECT_EQ(value, QStringLiteral(" ")) << "the caller's text becomes one blank";
    EXPECT_EQ(Reg_GetString(HKEY_CURRENT_USER_ROOT, config(), QString::fromUtf8(c.name)),
              QString::fromUtf8(c.readBack));
  }
}

#ifdef Q_OS_WIN
TEST_F(SettingsTest, ValuesLandInTheCurrentUsersRegistry)
{
  QString id = QStringLiteral("care1001");
  QString empty;
  ASSERT_TRUE(Reg_SaveString(HKEY_CURRENT_USER_ROOT, config(), QStringLiteral("Login_ID"), id));
  ASSERT_TRUE(Reg_SaveString(HKEY_CURRENT_USER_ROOT, chk(), QStringLiteral("Chk_Login"), empty));
  EXPECT_TRUE(settingsLocation().startsWith(QStringLiteral("HKEY_CURRENT_USER\\Software\\")));
  const QString config = reg({QStringLiteral("query")}, QStringLiteral("Config"));
  EXPECT_TRUE(config.contains(QRegularExpression(QStringLiteral("Login_ID\\s+REG_SZ\\s+care1001\\n")))) << config.toStdString();
  const QString chk = reg({QStringLiteral("query")}, QStringLiteral("Chk"));
  EXPECT_TRUE(chk.contains(QRegularExpression(QStringLiteral("Chk_Login\\s+REG_SZ\\s"))) ) << chk.toStdString();
}
#endif

TEST_F(SettingsTest, ReadsLongerThanTheBufferGiveEmptyText)
{
  QString fits = QString(1024, QLatin1Char('x'));
  QString tooLong = QString(2000, QLatin1Char('x'));
  QString koreanTooLong = QString(513, QChar(0xAC00)); // 2 bytes each in the Korean code page
  Reg_SaveString(HKEY_CURRENT_USER_ROOT, config(), QStringLiteral("fits"), fits);
  Reg_SaveString(HKEY_CURRENT_USER_ROOT, config(), QStringLiteral("long"), tooLong);
  Reg_SaveString(HKEY_CURRENT_USER_ROOT, config(), QStringLiteral("ko"), koreanTooLong);
  EXPECT_EQ(Reg_GetString(HKEY_CURRENT_USER_ROOT, config(), QStringLiteral("fits")), fits);
  EXPECT_EQ(Reg_GetString(HKEY_CURRENT_USER_ROOT, config(), QStringLiteral("long")), QString());
  EXPECT_EQ(Reg_GetString(HKEY_CURRENT_USER_ROOT, config(), QStringLiteral("ko")), QString());
}

TEST_F(SettingsTest, AnAdministratorCanSetSwitchesByHandInTheIniFile)
{
#ifdef Q_OS_WIN
  reg({QStringLiteral("add"), QStringLiteral("/v"), QStringLiteral("chk_IP_List"), QStringLiteral("/d"),
       QStringLiteral("1 "), QStringLiteral("/f")}, QStringLiteral("Chk"));
  reg({QStringLiteral("add"), QStringLiteral("/v"), QStringLiteral("Update_Div"), QStringLiteral("/d"),
       QStringLiteral("yes"), QStringLiteral("/f")}, QStringLiteral("Chk"));
#else
  QDir().mkpath(QFileInfo(m_file).absolutePath());
  QFile f(m_file);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  f.write("[Chk]\nchk_IP_List=1 \nUpdate_Div=yes\n");
  f.close();
#endif
  EXPECT_EQ(Reg_GetString(HKEY_CURRENT_USER_ROOT, chk(), QStringLiteral("chk_IP_List")).trimmed(), QStringLiteral("1"));
  EXPECT_EQ(Reg_GetString(HKEY_CURRENT_USER_ROOT, chk(), QStringLiteral("Update_Div")), QStringLiteral("yes"));
}

TEST(Deployment, RecipesAssembleCharacterByCharacter)
{
  const struct {
    const char* recipe;
    const char* value;
  } cases[] = {
      {"d1 d2 d7 . d0 . d0 . d1", "127.0.0.1"},
      {"l21 l2 l12 u20 l18 l4 l17", "vcmUser"},
      {"s0 s2 s10", "!$~"},
      {"d1 : d8 d0", "1:80"},
  };
  for (const auto& c : cases) {
    QString out;
    ASSERT_TRUE(Deployment::assembleRecipe(QString::fromUtf8(c.recipe), &out)) << c.recipe;
    EXPECT_EQ(out, QString::fromUtf8(c.value));
    EXPECT_EQ(Deployment::recipeFor(out), QString::fromUtf8(c.recipe));
  }
  QString out;
  for (const char* bad : {"d10", "l26", "s11", "x1", "d", "u-1", "/"})
    EXPECT_FALSE(Deployment::assembleRecipe(QString::fromUtf8(bad), &out)) << bad;
}

TEST(Deployment, RefusesMissingMalformedAndOpenFiles)
{
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("deploy.ini"));
  Deployment d;
  QString error;
  EXPECT_FALSE(d.load(path, &error));
  EXPECT_TRUE(error.contains(QStringLiteral("없습니다")));

  const auto write = [&](const QByteArray& content, bool everyoneReads = false) {
    QFile f(path);
    f.remove();
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(content);
    f.close();
    ASSERT_TRUE(vcm::test::restrictToOwner(path, everyoneReads));
  };
  const QByteArray good =
      "# test\nserver_address = d1 d2 d7 . d0 . d0 . d1\ndb_user = l21 l2 l12\nftp_user = l21\n"
      "db_password = l0 d1 s0\ndb_name = l21\ncrypt_key = l10 d9\nserver_list_host = d1 : d8\n"
      "maindb = l12\ndb = l3\ndb_port = 13306\n";
  write(good);
  ASSERT_TRUE(d.load(path, &error)) << error.toStdString();
  EXPECT_EQ(d.assemble(QStringLiteral("db_password")), QStringLiteral("a1!"));
  EXPECT_EQ(d.number(QStringLiteral("db_port"), 3306), 13306);
  EXPECT_EQ(d.number(QStringLiteral("ftp_port"), 21), 21);

  write(good, true);
  EXPECT_FALSE(d.load(path, &error));
  EXPECT_TRUE(error.contains(QStringLiteral("다른 사용자가 읽을 수 있습니다")));
  for (const QByteArray& bad : {good + "db_port = x\n", good + "unknown = d1\n", good + "maindb\n",
                                QByteArray(good).replace("db = l3\n", ""), good + "crypt_key = q7\n"}) {
    write(bad);
    EXPECT_FALSE(d.load(path, &error)) << bad.constData();
    EXPECT_FALSE(error.contains(QStringLiteral("a1!"))) << "errors never show secrets";
  }
}
