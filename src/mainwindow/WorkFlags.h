#pragma once

#include <QList>
#include <QString>

namespace vcm {

/// The visibility of the work buttons as a child screen states it: a text of
/// comma-separated flags, one per button in index order; a button is visible exactly
/// when its flag reads as the number 1.
struct WorkFlags {
  /// One entry per button that the text sets, in index order (at most `buttonCount`).
  /// Extra flags beyond the last button are ignored.
  QList<bool> visible;
  /// False when the text had fewer flags than buttons: the buttons listed in `visible`
  /// still take their new visibility, the rest keep theirs, and the caller reports it.
  bool complete = false;

  static WorkFlags parse(const QString& flags, int buttonCount);
};

} // namespace vcm
