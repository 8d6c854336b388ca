#pragma once

#include "business/BusinessStatements.h"
#include "business/ChangeItems.h"
#include "business/CompanyFields.h"

#include <QString>

#include <array>
#include <functional>
#include <memory>

namespace vcm {

/// What the member ticked and typed on the change request screen, by control index.
struct ChangeRequestForm {
  std::array<bool, 18> chkWrite_Com{};
  std::array<QString, 14> txtBase_CH;
  /// Values of the masked fields as the masked edits hand them over.
  std::array<QString, 4> mskBase_CH;
  std::array<QString, 4> txtTel_CH;
  /// opt_ConDiv_CH(1) "통합" is selected; otherwise the request says 3 "간편".
  bool conDivIntegrated = false;
};

/// The change request screen "사업장_사업장정보_변경" without its widgets. It shows the
/// current details in `current` and records a request (a header in TRANS_COM_INFO and
/// one encrypted detail row per changed field) from `form`; COM_LIST itself is never
/// written. The screen shows `current` and `cmdFinishEnabled` whenever `changed` is called.
class BusinessInfoChange {
public:
  static inline const QString kFormName = QStringLiteral("사업장_사업장정보_변경");
  static inline const QString kNothingTickedText =
      QStringLiteral("[변경항목]을 먼저 선택해주세요.\n\n변경을 취소합니다.");
  static inline const QString kSaveQuestion = QStringLiteral("변경된 내용을 저장하시겠습니까?");
  static inline const QString kSavedText = QStringLiteral("정상적으로 [변경완료] 되었습니다.");
  static inline const QString kNotSavedText =
      QStringLiteral("변경 내용이 저장되지 않았습니다.\n\n잠시 후 다시 [변경저장]을 눌러주세요.");

  CompanyFields current;
  ChangeRequestForm form;
  /// One opening of the screen saves at most one request.
  bool cmdFinishEnabled = true;
  std::function<void()> changed;

  void Form_Activate();
  /// Loads the current values (no clearing, no company-code test).
  void Set_Basic_info();
  /// Saves the request. True when it was saved.
  bool cmdFinish_Click();

  /// The rows the ticked items give, in index order (three for each address item).
  QList<ChangedField> changedFields() const;

private:
  QList<ChangedField> fieldsOf(const ChangeItem& item) const;
  /// Refuses, with a notice naming the item, a value the database could not store.
  bool allStorable() const;
  /// Every value, encrypted, fits the request's column.
  bool allFit() const;
  bool saveRequest(std::unique_ptr<RecordSet>& rs);
  void notify() const;
};

} // namespace vcm
