#include "common/TextHelpers.h"
#include "platform/ScriptedUi.h"

#include <QDir>
#include <gtest/gtest.h>
#include <cmath>

using namespace vcm;

TEST(TextHelpers, SqlStrDoublesApostrophesAndBackslashesOnce)
{
  const struct {
    const char* in;
    const char* out;
  } cases[] = {
      {"O'Brien", "O''Brien"},
      {"C:\\temp", "C:\\\\temp"},
      {"it's C:\\x'", "it''s C:\\\\x''"},
      {"\\'", "\\\\''"},
      {"", ""},
      {"생계비", "생계비"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(g_SqlStr(QString::fromUtf8(c.in)), QString::fromUtf8(c.out)) << c.in;
}

TEST(TextHelpers, NumValReadsLeadingNumberLeniently)
{
  const struct {
    const char* in;
    double out;
  } cases[] = {
      {"1,234,567", 1234567},  {" ", 0},         {"", 0},          {"12abc", 12},
      {"-1,500.5", -1500.5},   {"  42  ", 42},   {"1 2 3", 123},   {"abc", 0},
      {"1.5e3", 1500},         {"2D2", 200},     {"1e", 1},        {".5", 0.5},
      {"+7", 7},               {"1\t0\n0", 100}, {"3.2.1", 3.2},   {"-", 0},
  };
  for (const auto& c : cases) {
    const auto v = g_NumVal(QString::fromUtf8(c.in));
    ASSERT_TRUE(v.has_value()) << c.in;
    EXPECT_DOUBLE_EQ(*v, c.out) << c.in;
  }
}

TEST(TextHelpers, NumValOfAnOverflowingNumberIsEmptyAndCountsAsZero)
{
  const QString huge = QStringLiteral("9").repeated(400);
  EXPECT_FALSE(g_NumVal(huge).has_value());
  EXPECT_EQ(numVal(huge), 0.0);
}

TEST(TextHelpers, NumValReadsLongTextsWhole)
{
  const auto zeros = [](int n) { return QString(n, u'0'); };
  const struct {
    QString in;
    std::optional<double> out;
  } cases[] = {
      {"1e" + zeros(500) + "5", 100000},
      {"1." + zeros(400), 1},
      {"-1." + zeros(400) + "5e-1", -0.1},
      {"0." + zeros(400) + "1", 0},         // underflow
      {"-0." + zeros(400) + "1", 0},
      {"1e-400", 0},
      {"0." + zeros(300) + "1e300", 0.1},   // small mantissa, large exponent: in range
      {"1" + zeros(400) + "e-398", 100},    // large mantissa, small exponent: in range
      {"1,000," + zeros(400), std::nullopt}, // overflow
      {"1e" + zeros(400) + "400", std::nullopt},
      {zeros(500) + "12.5", 12.5},
  };
  for (const auto& c : cases) {
    const auto v = g_NumVal(c.in);
    ASSERT_EQ(v.has_value(), c.out.has_value()) << c.in.left(20).toStdString();
    if (v) {
      EXPECT_DOUBLE_EQ(*v, *c.out) << c.in.left(20).toStdString();
    }
  }
}

TEST(TextHelpers, SettingNumberFollowsTheLeadingNumberRule)
{
  const struct {
    const char* in;
    double out;
  } cases[] = {{"1", 1}, {"1 ", 1}, {" 1", 1}, {"1.0", 1}, {"yes", 0}, {"", 0}, {" ", 0}, {"2", 2}, {"1.5", 1.5}};
  for (const auto& c : cases)
    EXPECT_EQ(settingNumber(QString::fromUtf8(c.in)), c.out) << c.in;
}

TEST(TextHelpers, OpenFileDialogResultFormat)
{
  ScopedScriptedUi ui;
  const QChar nul(QChar::Null);
  // A dialog answers absolute paths (with a drive letter on Windows); the result gives
  // them in the system's own notation.
  const QString dir = QDir::tempPath();
  const auto native = [&](const QString& name) { return QDir::toNativeSeparators(dir + QLatin1Char('/') + name); };

  ui->openAnswers.enqueue({dir + QStringLiteral("/영수증.pdf")});
  QString one = g_OpenFile_Dlg(QStringLiteral("모든파일"), QStringLiteral("*.*"), QStringLiteral("파일선택"));
  EXPECT_EQ(one, native(QStringLiteral("영수증.pdf")) + nul + nul);
  EXPECT_EQ(ui->lastDialogFilter, QStringLiteral("모든파일(*.*)"));
  EXPECT_EQ(ui->lastDialogTitle, QStringLiteral("파일선택"));

  ui->openAnswers.enqueue({dir + QStringLiteral("/a.xls"), dir + QStringLiteral("/b.xls")});
  QString many = g_OpenFile_Dlg(QStringLiteral("엑셀"), QStringLiteral("*.xls;*.xlsx"), QStringLiteral("t"));
  EXPECT_EQ(many, QDir::toNativeSeparators(dir) + nul + QStringLiteral("a.xls") + nul + QStringLiteral("b.xls") + nul + nul);
  EXPECT_EQ(ui->lastDialogFilter, QStringLiteral("엑셀(*.xls *.xlsx)"));
  EXPECT_EQ(splitOpenFileResult(many), (QStringList{native(QStringLiteral("a.xls")), native(QStringLiteral("b.xls"))}));
  EXPECT_EQ(splitOpenFileResult(one), QStringList{native(QStringLiteral("영수증.pdf"))});

  EXPECT_EQ(g_OpenFile_Dlg(QStringLiteral("x"), QStringLiteral("*.*"), QStringLiteral("t")), QString());
  EXPECT_TRUE(ui->messages.isEmpty());
}

#include "common/db/EucKr.h"

// The server is the oracle for the whole code page (common_db_test); these are the
// edges the client decides on its own.
TEST(EucKr, CodePageEdgesAndRefusals)
{
  int encodable = 0, syllables = 0;
  for (char32_t c = 0x80; c <= 0xFFFF; ++c) {
    const QString one(QChar(static_cast<char16_t>(c)));
    if (const auto bytes = vcm::euckr::encode(one)) {
      ++encodable;
      syllables += c >= 0xAC00 && c <= 0xD7A3;
      EXPECT_EQ(vcm::euckr::decode(bytes->constData(), bytes->size()), one) << int(c);
    }
  }
  EXPECT_EQ(encodable, 17048);
  EXPECT_EQ(syllables, 11172);

  const struct { const char* bytes; QString text; } decoded[] = {
      {"\x8C\x63\xA2\xE6\xA2\xE7", QStringLiteral("똠€®")},
      {"A\xB0\xA1" "B", QStringLiteral("A가B")},
      {"\xB0\xA1\xB0", QStringLiteral("가\uFFFD")},     // cut after a lead byte
      {"\xC9\xA1\xFF", QStringLiteral("\uFFFD\uFFFD")}, // user-defined area, stray byte
      {"\x81\x41", QStringLiteral("갂")},                   // first pair of the page
      {"\xC9\x41z", QStringLiteral("\uFFFDAz")},           // an ASCII trail stays itself
  };
  for (const auto& d : decoded)
    EXPECT_EQ(vcm::euckr::decode(d.bytes, qstrlen(d.bytes)), d.text) << d.bytes;

  // Emoji, Hanja outside the set, private use and a lone surrogate are refused whole.
  for (const QString& bad : {QStringLiteral("가😀나"), QStringLiteral("𠀀"), QStringLiteral("\uE000"),
                             QString(QChar(0xD800)), QStringLiteral("丟")})
    EXPECT_FALSE(vcm::euckr::encode(bad).has_value()) << bad.toStdString();
  EXPECT_EQ(vcm::euckr::firstUnencodable(QStringLiteral("똠😀나")), QStringLiteral("😀"));
}
