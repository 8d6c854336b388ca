#pragma once

#include "business/CompanyFields.h"

#include <QString>

#include <functional>

namespace vcm {

/// The business information view "사업장_사업장정보" without its widgets: it reads the
/// member business's row of COM_LIST into `fields` and never writes. The screen shows
/// `fields` whenever `changed` is called.
class BusinessInfoView {
public:
  static inline const QString kFormName = QStringLiteral("사업장_사업장정보");
  static inline const QString kNoRowText =
      QStringLiteral("해당 선택된 사업장의 상세 내역이 존재하지 않습니다. \n\n"
                     "확인이 필요하니 연락주시기 바랍니다.");

  CompanyFields fields;
  std::function<void()> changed;

  /// Lets pending events run, then reloads: the view shows fresh data each time it
  /// becomes the active window.
  void Form_Activate();
  /// Clears and reloads every field. A company code that is not a positive number
  /// leaves the view empty without asking the database.
  void Set_Basic_info();
  void frm_Clear();
  void Form_Unload();

private:
  void notify() const;
};

} // namespace vcm
