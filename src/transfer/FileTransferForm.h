#pragma once

#include <QString>

#include <functional>

namespace vcm {

/// The controls of the file transfer screen other than its grids and progress bar, as
/// data, so the screen's logic runs and is tested without widgets. The screen copies
/// what the member types into it and shows what the logic sets on every `changed` call.
struct FileTransferForm {
  QString txtTitle;
  QString txtMemo;
  QString DatM_T;  ///< history month "YYYY.MM"

  /// Called after the logic changed any of the values above.
  std::function<void()> changed;
  /// Called when the logic puts the focus into txtTitle.
  std::function<void()> focusTitle;

  void notify() const
  {
    if (changed)
      changed();
  }
};

} // namespace vcm
