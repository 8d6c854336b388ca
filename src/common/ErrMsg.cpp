#include "common/ErrMsg.h"

#include "common/Session.h"
#include "platform/Ui.h"

namespace vcm {

QString errorNoticeText(const RuntimeError& error, const QString& where)
{
  return error.description + QLatin1Char('(') + where + QLatin1Char(')') + Session.CurrentProcedure;
}

QString errorNoticeTitle(const RuntimeError& error)
{
  return QStringLiteral("오류안내(") + QString::number(error.number) + QLatin1Char(')');
}

void g_Err_Msg(const RuntimeError& error, const QString& where)
{
  ui().message(errorNoticeText(error, where), errorNoticeTitle(error), Icon::Exclamation,
               Buttons::Ok);
}

} // namespace vcm
