#pragma once

#include <QString>

namespace vcm {

/// What the main window calls on a child screen living in its frame (the ledger).
/// The main window knows its children only through this interface, so it builds and
/// is tested without them.
class ChildScreen {
public:
  virtual ~ChildScreen() = default;

  /// The child's form name, compared by the main window and stored in quick-button tags
  /// (for the ledger "회계2_거래리스트_New").
  virtual QString formName() const = 0;

  /// A work button of the main window was pressed; `index` is cmdWork's index (0..8).
  virtual void AAA_Cmd_Work(short& index) = 0;

  /// The frame changed size: lay the child out again.
  virtual void Set_Frm_Resize() = 0;
};

} // namespace vcm
