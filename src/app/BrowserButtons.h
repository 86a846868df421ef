// The single-browser buttons: which catalogue entry each button serves, what
// a press takes from the window, and where its outcomes go.
#pragma once

#include "browsers/Procedures.h"

namespace bm {

// The entry a browser button serves; null for any other control.
const BrowserEntry* ButtonEntry(int controlId);

// The window's state at the start of a press: the mode, the drive, the roots
// and, for browsers found through App Paths, the listed entries.
PressContext TakePressContext(Platform& os, const BrowserEntry& entry);

// One press of a browser button; false for a control that is not one.
bool PressBrowserButton(Platform& os, int controlId);

}  // namespace bm
