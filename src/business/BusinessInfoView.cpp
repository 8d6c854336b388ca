#include "business/BusinessInfoView.h"

#include "business/BusinessStatements.h"
#include "common/ErrMsg.h"
#include "common/MainConn.h"
#include "common/Session.h"
#include "common/TextHelpers.h"
#include "platform/Ui.h"

namespace vcm {

void BusinessInfoView::notify() const
{
  if (changed)
    changed();
}

void BusinessInfoView::Form_Activate()
{
  Session.CurrentProcedure = QStringLiteral("Form_Activate");
  ui().pumpEvents();
  Set_Basic_info();
}

void BusinessInfoView::frm_Clear()
{
  Session.CurrentProcedure = QStringLiteral("Frm_Clear");
  fields.clearTexts();
  notify();
}

void BusinessInfoView::Form_Unload()
{
  Session.CurrentProcedure = QStringLiteral("Form_Unload");
}

void BusinessInfoView::Set_Basic_info()
{
  Session.CurrentProcedure = QStringLiteral("Set_COM_Info");
  std::unique_ptr<RecordSet> rs;
  try {
    frm_Clear(); // names itself as the current procedure from here on
    if (!(numVal(Session.CompanyCode) > 0))
      return;
    g_Open_MainConn();
    rs = openRecordSet(companyDetailQuery(Session.InfoCryptKey, Session.CompanyCode, true));
    if (rs->eof()) {
      notice(kNoRowText, Icon::Exclamation);
    } else {
      fields.txtCCode = Session.CompanyCode;
      fillCompanyFields(*rs, fields, CompanyFields::Layout::View);
    }
  } catch (const RuntimeError& e) {
    g_Err_Msg(e, kFormName); // what was filled before the error stays
  }
  notify();
  g_Rs_Nothing(rs);
  g_Nothing_MainConn();
}

} // namespace vcm
