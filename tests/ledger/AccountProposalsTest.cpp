// Proposals from a centre's counted history, without a database.
#include "ledger/AccountProposals.h"

#include <gtest/gtest.h>

using namespace vcm;

TEST(AccountProposals, CounterpartThenSummaryThenWordsWithinTheEntrysClass)
{
  AccountProposals h;
  h.add("한빛주유소", "차량 주유", "224", 14, "2024.04.03");
  h.add("한빛주유소", "차량 주유", "102", 2, "2024.05.01");
  h.add("늘푸른마트", "부식", "101", 3, "2024.03.09");
  h.add("늘푸른마트", "부식", "102", 3, "2024.04.02"); // same count, later: wins
  h.add("홍길동", "본인부담금 입금", "201", 5, "2024.04.11");
  h.add("홍길동", "환불", "101", 7, "2024.04.12");
  h.add("새봄문구", "사무용품", "102", 4, "2024.04.20");
  h.add("새봄문구", "복사용지", "101", 1, "2024.04.21"); // this pair's own habit wins
  h.add("옛거래처", "수수료", "999", 9, "2024.04.01"); // 999 left the chart
  h.add("옛거래처", "수수료", "102", 1, "2024.02.01");
  const AccountProposals::Chart chart{{"101", 2}, {"102", 2}, {"224", 2}, {"201", 1}};

  const struct {
    const char* counterpart;
    const char* summary;
    int cls;
    const char* account; // "" : no proposal
    const char* reason;
  } cases[] = {
      {"한빛주유소", "", 2, "224", "거래처 [한빛주유소] 지난 12개월 14회"},
      {"  한빛주유소 ", "", 2, "224", "거래처 [한빛주유소] 지난 12개월 14회"},
      {"늘푸른마트", "", 2, "102", "거래처 [늘푸른마트] 지난 12개월 3회"},
      {"홍길동", "", 1, "201", "거래처 [홍길동] 지난 12개월 5회"},
      {"홍길동", "", 2, "101", "거래처 [홍길동] 지난 12개월 7회"},
      {"홍길동", "본인부담금 입금", 2, "101", "거래처 [홍길동] 지난 12개월 7회"},
      {"옛거래처", "", 2, "102", "거래처 [옛거래처] 지난 12개월 1회"},
      {"새봄문구", "복사용지", 2, "101", "거래처 [새봄문구] 지난 12개월 1회"},
      {"새봄문구", "명함", 2, "102", "거래처 [새봄문구] 지난 12개월 4회"},
      {"새주유소", "차량 주유", 2, "224", "적요 [차량 주유] 지난 12개월 14회"},
      {"", "송영차량 주유", 2, "224", "적요 낱말 [주유] 지난 12개월 14회"},
      {"한빛주유소", "차량 주유", 1, "", ""},   // only expense accounts were ever used
      {"", "알 수 없는 지출", 2, "", ""},
      {"한빛주유소", "", 0, "", ""},             // an entry of no class gets nothing
  };
  for (const auto& c : cases) {
    const auto p = h.propose(QString::fromUtf8(c.counterpart), QString::fromUtf8(c.summary), c.cls, chart);
    EXPECT_EQ(p.account.toStdString(), c.account) << c.counterpart << "/" << c.summary << "/" << c.cls;
    if (p.isValid()) {
      EXPECT_EQ(p.reason().toStdString(), c.reason);
    }
  }
}
