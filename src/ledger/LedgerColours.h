#pragma once

#include "common/grid/GridTypes.h"

namespace vcm::ledgerColours {

inline constexpr Colour IncomeText = 0x0000FF;     ///< "수입" and changed rows
inline constexpr Colour ExpenseText = 0xFF0000;    ///< "지출"
inline constexpr Colour ChangedText = 0x0000FF;
inline constexpr Colour SplitAmountText = 0x8F8F8F; ///< amounts of a split source row
inline constexpr Colour CurrentRow = 0xEFDEDE;
inline constexpr Colour ReadOnlyInWork = 0xE3E3E3;
inline constexpr Colour CheckHeader = 0xFDF4DF;
inline constexpr Colour SplitButtonOn = 0xD0894F;

} // namespace vcm::ledgerColours
