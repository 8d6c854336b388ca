#pragma once

namespace vcm {

/// The program's look: a Korean UI font at the size the screens were laid out for
/// (9 point), so that captions fit the controls' fixed twips positions.
void installAppearance();

} // namespace vcm
