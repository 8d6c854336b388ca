#pragma once

#include <QString>

namespace vcm {

/// The main window as the ledger sees it: its nine work buttons cmdWork(0..8) and its
/// quick bar. The work state lives in the tag of cmdWork(1) ("WORK" while working), so
/// the ledger asks here rather than keeping a flag of its own. The screen adapts the
/// real main window to this; tests give a plain model of the buttons.
class LedgerHost {
public:
  virtual ~LedgerHost() = default;

  virtual QString workTag(int index) const = 0;
  virtual void setWorkTag(int index, const QString& tag) = 0;
  virtual void setWorkEnabled(int index, bool enabled) = 0;
  /// Pictures from the main window's button image list (images numbered from 1).
  virtual void setWorkPictures(int index, int picture, int secondPicture) = 0;
  /// Which work buttons are visible: comma-separated flags, one per button.
  virtual void showWorkButtons(const QString& flags) = 0;
  virtual void settingQuickButton(const QString& screenName) = 0;
  virtual void removeQuickButton(const QString& screenName) = 0;
};

} // namespace vcm
