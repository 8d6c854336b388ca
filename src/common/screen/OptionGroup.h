#pragma once

#include <QList>

class QAbstractButton;

namespace vcm {

/// An indexed group of option buttons as the screens keep them: element i is the button
/// with index `lowerIndex + i`; a null element is an index the group does not have.
struct OptionGroup {
  QList<QAbstractButton*> buttons;
  int lowerIndex = 0;
};

/// Index of the first selected button, walking from the lowest index up; 0 when none is
/// selected (a selected button at index 0 also gives 0). A missing index shows the
/// standard error notice with "g_Opt_True" and gives 0.
int g_Opt_True(const OptionGroup& group);

} // namespace vcm
