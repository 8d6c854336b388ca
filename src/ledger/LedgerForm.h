#pragma once

#include "common/grid/GridTypes.h"

#include <QString>

#include <array>
#include <functional>

namespace vcm {

/// The state of the ledger screen's controls other than its grids, kept as data so the
/// ledger's logic runs and is tested without widgets. The screen copies what the member
/// types or picks into it and shows what the logic sets, on every `changed` call (the
/// save's progress is shown while it runs, so changes are announced at once).
struct LedgerForm {
  enum class Focus { Month, Search, Deal, Picker };

  // Entered by the member.
  QString mskM;        ///< month "YYYY.MM"
  QString txtSearch;
  int optSearch = 1;   ///< 1 계정명, 2 적요, 3 거래처, 4 금액
  int optSearchF = 1;  ///< 1 전체, 2 수입, 3 지출

  // Shown by the logic.
  bool picTransVisible = false;
  QString picTransTag;           ///< "1": the month was sent for closing
  bool picWorkVisible = false;
  bool searchFramesEnabled = true; ///< fraSearch and fraSearch_Mon
  bool splitButtonsEnabled = false; ///< cmdRowAdd_Divide, cmdRowDel and their menu items
  Colour splitButtonColour = colours::ButtonFace;
  bool picCboAccVisible = false;
  QString pickerTag;             ///< tag of sprCbo_Acc: the sprDeal row it was opened for
  bool monVVisible = false;
  /// Dat_M and sprDeal are disabled while a month change is being handled.
  bool datMEnabled = true;
  bool dealEnabled = true;
  QString xBarText;               ///< also the screen's status line when no save runs
  int xBarValue = 0;
  std::array<QString, 3> totals;  ///< lbl_TInfo(0..2)
  /// Beside the totals: the search conditions the rows on screen were loaded under, or
  /// that nothing matched them; empty when the month was loaded without conditions.
  QString filterInfo;

  /// Called after the logic changed any of the shown values.
  std::function<void()> changed;
  /// Called when the logic moves the input focus.
  std::function<void(Focus)> focus;
  /// Places picCbo_Acc beside sprDeal's active cell (under the account cell, or above it
  /// when there is no room below); `fromButton` when the cell is the "▼" beside the
  /// account cell. False when the active cell's position is unknown. Without a window
  /// there is nothing to place.
  std::function<bool(bool fromButton)> placePicker;

  void notify() const
  {
    if (changed)
      changed();
  }
  void setFocus(Focus target) const
  {
    if (focus)
      focus(target);
  }
  /// Writes a line into the status line (xBar's text; a save's progress replaces it).
  void showStatus(const QString& text)
  {
    xBarText = text;
    notify();
  }
  bool placePickerBesideCell(bool fromButton) const { return !placePicker || placePicker(fromButton); }
};

} // namespace vcm
