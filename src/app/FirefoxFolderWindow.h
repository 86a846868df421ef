// FirefoxFolderWindow: the small second window in which the user pastes the
// profile folder Firefox really uses (its about:support page shows it), for
// the Firefox restore. Shown modally over MainWindow; its load button sets
// FirefoxProfileFolder.
#pragma once

#include <vector>

#include "app/Controls.h"
#include "platform/Platform.h"

namespace bm {

WindowSpec FirefoxFolderWindowSpec();
const std::vector<ControlSpec>& FirefoxFolderWindowControls();

// Shows the window modally with MainWindow as its owner and returns when it
// has been closed; false when it could not be shown. FirefoxProfileFolder
// then holds the folder the user loaded, or what it held before.
bool OpenFirefoxFolderWindow(Platform& os);

// The hint drawn light grey on pale cream until the user double-clicks.
void FirefoxFolderWindowCreatedHandler(Platform& os);
// "about:support" on the clipboard, the box emptied and its text black.
void FirefoxFolderDoubleClickedHandler(Platform& os);
// Takes the pasted folder when it is a Firefox profile folder, otherwise says
// so in 标签_文字; closes the window either way.
void FirefoxFolderLoadHandler(Platform& os);

// Runs the handler of an event of the window's controls; false for events
// that are not the window's.
bool RouteFirefoxFolderWindowEvent(Platform& os, int controlId, ControlEvent event);

}  // namespace bm
