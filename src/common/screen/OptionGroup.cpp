#include "common/screen/OptionGroup.h"

#include "common/ErrMsg.h"
#include "common/RuntimeError.h"
#include "common/Session.h"

#include <QAbstractButton>

namespace vcm {

int g_Opt_True(const OptionGroup& group)
{
  Session.CurrentProcedure = QStringLiteral("g_Opt_True");
  try {
    for (qsizetype i = 0; i < group.buttons.size(); ++i) {
      const QAbstractButton* button = group.buttons.at(i);
      if (!button)
        throw RuntimeError(340, QStringLiteral("컨트롤 배열 요소 '%1'이(가) 없습니다.")
                                    .arg(group.lowerIndex + static_cast<int>(i)));
      if (button->isChecked())
        return group.lowerIndex + static_cast<int>(i);
    }
  } catch (const RuntimeError& e) {
    g_Err_Msg(e, QStringLiteral("g_Opt_True"));
  }
  return 0;
}

} // namespace vcm
