// The downloader's texts for people: rate, time left, percentage and the kept file type.
#include "update/DownloadTexts.h"

#include <gtest/gtest.h>

namespace vcm::download {
namespace {

TEST(DownloadTexts, Rate)
{
  const struct {
    double rate;
    const char* text;
  } cases[] = {
      {0, "0 Bytes/S"},         {512, "512 Bytes/S"},      {1.5, "2 Bytes/S"},
      {2.5, "2 Bytes/S"},       {1023, "1023 Bytes/S"},    {1023.5, ""},
      {1024, "1 KB/S"},         {12646.4, "12.35 KB/S"},   {1048575, "1024 KB/S"},
      {1048576, ""},            {2000000, ""},             {-1, ""},
  };
  for (const auto& c : cases)
    EXPECT_EQ(rateText(c.rate), QString::fromLatin1(c.text)) << c.rate;
}

TEST(DownloadTexts, TimeLeft)
{
  const struct {
    double seconds;
    const char* text;
  } cases[] = {
      {0, "0 sec"},          {42, "42 sec"},           {42.5, "42 sec"},
      {59, "59 sec"},        {59.5, "0 hr 1 min"},     {60, "1 min 0 sec"},
      {90, "1 min 30 sec"},  {125, "2 min 5 sec"},     {3599, "59 min 59 sec"},
      {3900, "1 hr 5 min"},  {7290, "2 hr 2 min"},     {-30, "0 hr 0 min"},
      {-7200, "-2 hr 0 min"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(timeLeftText(c.seconds), QString::fromLatin1(c.text)) << c.seconds;
  // Before any byte has arrived the rate is 0 and the time left unknown.
  EXPECT_EQ(timeLeftText(1.0 / 0.0), QString());
  EXPECT_EQ(timeLeftText(0.0 / 0.0), QString());
}

TEST(DownloadTexts, PercentRoundsHalvesToEven)
{
  EXPECT_EQ(percentOf(1024, 1500), 68);
  EXPECT_EQ(percentOf(1, 8), 12);  // 12.5
  EXPECT_EQ(percentOf(3, 8), 38);  // 37.5
  EXPECT_EQ(percentOf(1500, 1500), 100);
  EXPECT_EQ(percentOf(10, 0), 0);
}

TEST(DownloadTexts, KeepTypeTakesTheAddressExtension)
{
  const struct {
    const char* url;
    const char* target;
    const char* result;
  } cases[] = {
      {"http://h/Setup.exe", "/tmp/Setup.tmp", "/tmp/Setup.exe"},
      {"http://h/a.tar.gz", "/tmp/a.tmp", "/tmp/a.gz"},
      {"http://h/Setup.exe", "/tmp/no_extension", "/tmp/no_extension"},
      {"http://h/noext", "/tmp/Setup.tmp", "/tmp/Setup.tmp"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(keepTypeTarget(QString::fromLatin1(c.url), QString::fromLatin1(c.target)),
              QString::fromLatin1(c.result))
        << c.url << " " << c.target;
}

} // namespace
} // namespace vcm::download
