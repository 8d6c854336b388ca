#include "business/CompanyFields.h"

#include "common/RuntimeError.h"
#include "common/TextHelpers.h"
#include "common/db/RecordSet.h"

namespace vcm {

namespace {

/// A column's text with NULL read as empty and the blanks around it removed.
QString text(const RecordSet& row, const char* column)
{
  return row.value(QLatin1String(column)).trimmed();
}

int leadingInt(const QString& text)
{
  return static_cast<int>(leadingNumber(text).value_or(0));
}

} // namespace

void CompanyFields::clearTexts()
{
  txtCCode.clear();
  for (QString& t : txtBase)
    t.clear();
  for (QString& t : mskBase)
    t.clear();
  for (QString& t : txtTel)
    t.clear();
}

void fillCompanyFields(const RecordSet& row, CompanyFields& f, CompanyFields::Layout layout)
{
  const bool view = layout == CompanyFields::Layout::View;
  f.txtBase[0] = text(row, "CENTER_CD");
  f.txtBase[1] = text(row, "COM_NM");
  f.mskBase[0] = text(row, "BIZ_NO");
  f.mskBase[1] = text(row, "FOUND_DT");
  f.txtTel[0] = text(row, "COM_TEL");
  f.txtTel[1] = text(row, "COM_FAX");
  f.txtBase[2] = text(row, "BOSS_NM");
  f.txtTel[2] = text(row, "BOSS_TEL");
  f.txtBase[3] = text(row, "CENJANG_NM");
  f.txtTel[3] = text(row, "CENJANG_TEL");
  f.mskBase[2] = text(row, "COM_POSTNO");
  f.mskBase[3] = text(row, "DM_POSTNO");
  if (view) {
    // The view shows an address on one line; the blank between the lines is always there.
    f.txtBase[4] = text(row, "COM_JUSO1") + QLatin1Char(' ') + text(row, "COM_JUSO2");
    f.txtBase[5] = text(row, "DM_JUSO1") + QLatin1Char(' ') + text(row, "DM_JUSO2");
  } else {
    f.txtBase[4] = text(row, "COM_JUSO1");
    f.txtBase[12] = text(row, "COM_JUSO2");
    f.txtBase[5] = text(row, "DM_JUSO1");
    f.txtBase[13] = text(row, "DM_JUSO2");
  }
  f.txtBase[6] = text(row, "COM_MAIL");
  f.txtBase[7] = text(row, "W4C_ID");
  f.txtBase[8] = text(row, "W4C_PW");
  f.txtBase[9] = text(row, "CENTER_PW_1");
  f.txtBase[10] = text(row, "HOPE_ID");
  f.txtBase[11] = text(row, "HOPE_PW");

  const int conDiv = leadingInt(text(row, "CON_DIV"));
  if (conDiv != CompanyFields::kConDivIntegrated && conDiv != CompanyFields::kConDivSimple)
    throw RuntimeError(340, QStringLiteral("컨트롤 배열 요소 '%1'이(가) 없습니다.").arg(conDiv));
  f.conDiv = conDiv;
  if (view) {
    f.mskBase[4] = text(row, "CON_DT");
    f.cmdComEditVisible = leadingInt(text(row, "MEMBER_WRITE_COM")) != 0;
  }
}

} // namespace vcm
