#pragma once

namespace vcm {

class Grid;

/// The rows of one bank account are registered together, so in load order each bank
/// code (column 24) forms one contiguous run. A code that comes back after another
/// code's run points at entries registered out of order.
class RegistrationOrder {
public:
  /// True when some bank code appears again after its run had ended.
  static bool broken(const Grid& deal);
};

} // namespace vcm
