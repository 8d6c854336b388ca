#pragma once

#include "common/RuntimeError.h"

#include <QString>

namespace vcm {

/// The standard error notice: the error's description, "(" + where + ")" and the
/// current procedure name, titled "오류안내(<number>)", exclamation icon, OK button.
void g_Err_Msg(const RuntimeError& error, const QString& where);

/// The text and title g_Err_Msg shows (kept apart so they can be checked exactly).
QString errorNoticeText(const RuntimeError& error, const QString& where);
QString errorNoticeTitle(const RuntimeError& error);

} // namespace vcm
