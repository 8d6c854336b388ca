#pragma once

#include <QString>

#include <array>

namespace vcm {

class RecordSet;

/// The current details as the two screens show them, by control index: txtBase(0..13),
/// mskBase(0..4), txtTel(0..3), the selected contract option and the change button.
/// The view shows both address lines joined in txtBase(4) and (5); the change screen
/// keeps the second lines apart in txtBase(12) and (13).
struct CompanyFields {
  /// Contract options the screens have: 1 "통합", 3 "간편".
  static constexpr int kConDivIntegrated = 1;
  static constexpr int kConDivSimple = 3;

  enum class Layout { View, Change };

  QString txtCCode;
  std::array<QString, 14> txtBase;
  std::array<QString, 5> mskBase;
  std::array<QString, 4> txtTel;
  int conDiv = 0; ///< index of the selected opt_ConDiv, 0 while none is
  bool cmdComEditVisible = false;

  /// Empties every text; the contract option and the button stay as they are.
  void clearTexts();
};

/// Fills `fields` from the current row of a company detail query, in the order the
/// screens fill their controls. A CON_DIV that names no option throws RuntimeError 340
/// after the texts are filled; what follows it (the view's contract date and button)
/// then keeps its previous value.
void fillCompanyFields(const RecordSet& row, CompanyFields& fields, CompanyFields::Layout layout);

} // namespace vcm
