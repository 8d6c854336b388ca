#include "business/ChangeItems.h"

namespace vcm {

namespace {

using K = ChangeItem::Kind;

ChangeItem row(const char* caption, const char* field, int top, K kind, int index = 0)
{
  ChangeItem item;
  item.caption = QString::fromUtf8(caption);
  item.saveField = QLatin1String(field);
  item.rowTop = top;
  item.kind = kind;
  item.field = index;
  return item;
}

ChangeItem text(const char* caption, const char* field, int top, int index, int maxLength,
                bool centred = false)
{
  ChangeItem item = row(caption, field, top, K::Text, index);
  item.maxLength = maxLength;
  item.centred = centred;
  return item;
}

ChangeItem masked(const char* caption, const char* field, int top, int index, const char* mask)
{
  ChangeItem item = row(caption, field, top, K::Masked, index);
  item.mask = QLatin1String(mask);
  return item;
}

ChangeItem telephone(const char* caption, const char* field, int top, int index)
{
  ChangeItem item = row(caption, field, top, K::Telephone, index);
  item.maxLength = 25;
  item.centred = true;
  return item;
}

ChangeItem address(const char* caption, const char* prefix, int top, int postcode, int line1,
                   int line2)
{
  const QString p = QLatin1String(prefix);
  ChangeItem item = row(caption, "", top, K::Address, postcode);
  item.saveField = p + QStringLiteral("_POSTNO");
  item.maxLength = 120;
  item.mask = QStringLiteral("999-99");
  item.line1 = line1;
  item.line2 = line2;
  item.line1Field = p + QStringLiteral("_JUSO1");
  item.line2Field = p + QStringLiteral("_JUSO2");
  return item;
}

} // namespace

const QList<ChangeItem>& changeItems()
{
  static const QList<ChangeItem> items{
      text("시 설 코 드", "CENTER_CD", 1440, 0, 5, true),
      masked("사업자번호", "BIZ_NO", 1830, 0, "999-99-99999"),
      masked("설 립 일 자", "FOUND_DT", 2235, 1, "9999.99.99"),
      telephone("회원사전화", "COM_TEL", 2625, 0),
      telephone("회원사팩스", "COM_FAX", 3015, 1),
      text("대 표 자 명", "BOSS_NM", 3405, 2, 50, true),
      telephone("대표자전화", "BOSS_TEL", 3795, 2),
      text("센 터 장 명", "CENJANG_NM", 4185, 3, 50, true),
      telephone("센터장전화", "CENJANG_TEL", 4575, 3),
      address("사업장주소", "COM", 4980, 2, 4, 12),
      address("우편물주소", "DM", 6150, 3, 5, 13),
      text("메 일 주 소", "COM_MAIL", 7305, 6, 50),
      text("은행인증서", "W4C_ID", 7695, 7, 20),
      text("공단인증서", "W4C_PW", 8085, 8, 20),
      text("관리자인증서", "CENTER_PW_1", 8475, 9, 20),
      text("희망이음 ID", "HOPE_ID", 8865, 10, 20),
      text("희망이음 PW", "HOPE_PW", 9255, 11, 20),
      row("계 약 구 분", "CON_DIV", 9645, K::Contract),
  };
  return items;
}

short inputModeFor(int txtBaseIndex)
{
  const bool alphanumeric = txtBaseIndex == 0 || (txtBaseIndex >= 6 && txtBaseIndex <= 11);
  return alphanumeric ? 2 : 1;
}

} // namespace vcm
