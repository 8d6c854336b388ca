#include "common/TextHelpers.h"
#include "platform/ScriptedUi.h"

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

  ui->openAnswers.enqueue({QStringLiteral("/data/영수증.pdf")});
  QString one = g_OpenFile_Dlg(QStringLiteral("모든파일"), QStringLiteral("*.*"), QStringLiteral("파일선택"));
  EXPECT_EQ(one, QStringLiteral("/data/영수증.pdf") + nul + nul);
  EXPECT_EQ(ui->lastDialogFilter, QStringLiteral("모든파일(*.*)"));
  EXPECT_EQ(ui->lastDialogTitle, QStringLiteral("파일선택"));

  ui->openAnswers.enqueue({QStringLiteral("/data/a.xls"), QStringLiteral("/data/b.xls")});
  QString many = g_OpenFile_Dlg(QStringLiteral("엑셀"), QStringLiteral("*.xls;*.xlsx"), QStringLiteral("t"));
  EXPECT_EQ(many, QStringLiteral("/data") + nul + QStringLiteral("a.xls") + nul + QStringLiteral("b.xls") + nul + nul);
  EXPECT_EQ(ui->lastDialogFilter, QStringLiteral("엑셀(*.xls *.xlsx)"));
  EXPECT_EQ(splitOpenFileResult(many), (QStringList{QStringLiteral("/data/a.xls"), QStringLiteral("/data/b.xls")}));
  EXPECT_EQ(splitOpenFileResult(one), QStringList{QStringLiteral("/data/영수증.pdf")});

  EXPECT_EQ(g_OpenFile_Dlg(QStringLiteral("x"), QStringLiteral("*.*"), QStringLiteral("t")), QString());
  EXPECT_TRUE(ui->messages.isEmpty());
}

#include "common/db/EucKr.h"

#include <QStringEncoder>

TEST(EucKr, TableCodecAgreesWithThePlatformConverterForEveryCharacter)
{
  QString encodable;
  int mismatches = 0;
  for (char32_t c = 0x80; c <= 0xFFFF; ++c) {
    if (QChar::isSurrogate(c))
      continue;
    const QString one(QChar(static_cast<char16_t>(c)));
    QStringEncoder platform("EUC-KR", QStringConverter::Flag::Stateless);
    const QByteArray expected = platform.encode(one);
    const bool platformOk = !platform.hasError() && expected.size() == 2;
    const auto ours = vcm::euckr::encode(one);
    if (ours.has_value() != platformOk || (ours && *ours != expected))
      ++mismatches;
    if (ours)
      encodable += one;
  }
  EXPECT_EQ(mismatches, 0);
  EXPECT_GT(encodable.size(), 8000) << "the code page holds over eight thousand characters";
  const QString mixed = QStringLiteral("ABC 123 ") + encodable + QStringLiteral(" 끝");
  const auto bytes = vcm::euckr::encode(mixed);
  ASSERT_TRUE(bytes.has_value());
  EXPECT_EQ(vcm::euckr::decode(bytes->constData(), bytes->size()), mixed);

  // Syllables outside the code page (for example 똠) and emoji are refused.
  EXPECT_FALSE(vcm::euckr::encode(QStringLiteral("똠방")).has_value());
  EXPECT_EQ(vcm::euckr::firstUnencodable(QStringLiteral("가😀나")), QStringLiteral("😀"));
  // A broken trailing byte still decodes without reading past the end.
  const char broken[] = {'\xB0', '\xA1', '\xB0'};
  EXPECT_TRUE(vcm::euckr::decode(broken, 3).startsWith(QStringLiteral("가")));
}
