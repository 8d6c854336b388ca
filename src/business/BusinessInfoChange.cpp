#include "business/BusinessInfoChange.h"

#include "business/BusinessInfoView.h"

#include "common/ErrMsg.h"
#include "common/MainConn.h"
#include "common/Session.h"
#include "common/db/ColumnLimits.h"
#include "common/db/EucKr.h"
#include "platform/Ui.h"

#include <QDateTime>

namespace vcm {

void BusinessInfoChange::notify() const
{
  if (changed)
    changed();
}

void BusinessInfoChange::Form_Activate()
{
  Session.CurrentProcedure = QStringLiteral("Form_Activate");
  Set_Basic_info();
}

void BusinessInfoChange::Set_Basic_info()
{
  Session.CurrentProcedure = QStringLiteral("Set_COM_Info");
  std::unique_ptr<RecordSet> rs;
  try {
    g_Open_MainConn();
    rs = openRecordSet(companyDetailQuery(Session.InfoCryptKey, Session.CompanyCode, false));
    if (rs->eof())
      notice(BusinessInfoView::kNoRowText, Icon::Exclamation);
    else
      fillCompanyFields(*rs, current, CompanyFields::Layout::Change);
  } catch (const RuntimeError& e) {
    g_Err_Msg(e, kFormName);
  }
  notify();
  g_Rs_Nothing(rs);
  g_Nothing_MainConn();
}

QList<ChangedField> BusinessInfoChange::fieldsOf(const ChangeItem& item) const
{
  const auto at = [](const auto& values, int index) { return values[size_t(index)]; };
  switch (item.kind) {
  case ChangeItem::Kind::Text: return {{item.saveField, at(form.txtBase_CH, item.field)}};
  case ChangeItem::Kind::Masked: return {{item.saveField, at(form.mskBase_CH, item.field)}};
  case ChangeItem::Kind::Telephone: return {{item.saveField, at(form.txtTel_CH, item.field)}};
  case ChangeItem::Kind::Address:
    return {{item.saveField, at(form.mskBase_CH, item.field)},
            {item.line1Field, at(form.txtBase_CH, item.line1)},
            {item.line2Field, at(form.txtBase_CH, item.line2)}};
  case ChangeItem::Kind::Contract:
    return {{item.saveField, form.conDivIntegrated ? QStringLiteral("1") : QStringLiteral("3")}};
  }
  return {};
}

QList<ChangedField> BusinessInfoChange::changedFields() const
{
  QList<ChangedField> rows;
  const QList<ChangeItem>& items = changeItems();
  for (qsizetype i = 0; i < items.size(); ++i)
    if (form.chkWrite_Com[size_t(i)])
      rows += fieldsOf(items.at(i));
  return rows;
}

bool BusinessInfoChange::allStorable() const
{
  const QList<ChangeItem>& items = changeItems();
  for (qsizetype i = 0; i < items.size(); ++i) {
    if (!form.chkWrite_Com[size_t(i)])
      continue;
    for (const ChangedField& row : fieldsOf(items.at(i))) {
      const QString bad = euckr::firstUnencodable(row.value.trimmed());
      if (bad.isNull())
        continue;
      notice(QStringLiteral("[%1] 항목에 저장할 수 없는 문자(%2)가 들어 있습니다.\n\n"
                            "이모지나 일부 특수문자·한자는 사용할 수 없으니 지우고 다시 입력하세요.")
                 .arg(items.at(i).caption, bad),
             Icon::Exclamation);
      return false;
    }
  }
  return allFit();
}

static ColumnLimit encryptedValueLimit(const ColumnLimit& hexColumn)
{
  // AES_ENCRYPT pads n bytes to 16 * (n / 16 + 1); HEX doubles that.
  return ColumnLimit{16 * (hexColumn.size / 32) - 1, true};
}

bool BusinessInfoChange::allFit() const
{
  // The server would cut a longer encrypted text to its column without a word, and the
  // cut text no longer decrypts.
  const auto column = ColumnLimits::session().limit(QStringLiteral("TRANS_COM_INFO_DETAIL"),
                                                    QStringLiteral("AFTER_STORY"));
  if (!column)
    return true;
  const ColumnLimit limit = encryptedValueLimit(*column);
  const QList<ChangeItem>& items = changeItems();
  for (qsizetype i = 0; i < items.size(); ++i) {
    if (!form.chkWrite_Com[size_t(i)])
      continue;
    for (const ChangedField& row : fieldsOf(items.at(i))) {
      const QString value = row.value.trimmed();
      if (limit.fits(value))
        continue;
      notice(lengthRefusalText(items.at(i).caption, limit, limit.lengthOf(value)), Icon::Exclamation);
      return false;
    }
  }
  return true;
}

bool BusinessInfoChange::cmdFinish_Click()
{
  bool saved = false;
  // Released only at the end: the handler names no procedure of its own, so an error
  // notice names the one current before the click.
  std::unique_ptr<RecordSet> rs;
  if (changedFields().isEmpty()) {
    notice(kNothingTickedText, Icon::Exclamation);
  } else {
    try {
      // Measuring the values reads the column sizes from the server, which may fail too.
      if (allStorable() && notice(kSaveQuestion, Icon::Question, Buttons::YesNo) == Answer::Yes)
        saved = saveRequest(rs);
    } catch (const RuntimeError& e) {
      g_Err_Msg(e, kFormName);
    }
  }
  g_Rs_Nothing(rs);
  g_Nothing_MainConn();
  notify();
  return saved;
}

bool BusinessInfoChange::saveRequest(std::unique_ptr<RecordSet>& rs)
{
  const QString c = Session.CompanyCode;
  g_Open_MainConn();
  rs = openRecordSet(requestNumberQuery(c));
  const bool none = rs->eof() || rs->isNull(QStringLiteral("M_NO"));
  const QString t = nextRequestNumber(none ? QString() : rs->value(QStringLiteral("M_NO")), none);

  // Details and header go in one exchange; the server stops at the first that fails.
  int done = 0;
  try {
    Session.Connection->executeBatch(
        {detailInsert(c, t, changedFields(), Session.InfoCryptKey),
         headerInsert(c, t, QDateTime::currentDateTime().toString(QStringLiteral("yyyy.MM.dd HH:mm:ss")))},
        [&](int, Connection::StatementResult&) {
          ++done;
          ui().pumpEvents();
        });
  } catch (const RuntimeError& e) {
    if (done < 1)
      throw; // the details were refused: nothing was written
    // The details stay: without their header the service does not take them up, and no
    // later request reuses their number. They are not deleted, as detail rows of a
    // number cannot be told apart from those another computer is saving.
    g_Err_Msg(e, kFormName);
    notice(kNotSavedText, Icon::Exclamation);
    return false;
  }
  notice(kSavedText, Icon::Information);
  cmdFinishEnabled = false;
  return true;
}

} // namespace vcm
