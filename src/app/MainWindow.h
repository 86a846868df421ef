// The main window: its controls, the two handlers of the window itself, and the
// reads and writes of its controls that every button handler uses.
#pragma once

#include <vector>

#include "app/Controls.h"
#include "app/OneClickButtons.h"
#include "browsers/Procedures.h"

namespace bm {

WindowSpec MainWindowSpec();
const std::vector<ControlSpec>& MainWindowControls();

// Derived afresh from the two radio buttons at every call.
OperationMode CurrentOperationMode(Platform& os);
// The text of the selected item of 组合框_盘符 ("D:\" .. "K:\"); empty with none.
Text SelectedDriveText(Platform& os);
// Replaces the whole text of 标签_文字.
void ShowStatus(Platform& os, const Text& text);

void WindowCreatedHandler(Platform& os);
void DriveSelectedHandler(Platform& os);
// Runs the handler bound to a button; buttons without one do nothing.
void ButtonClicked(Platform& os, int controlId);

// Routes the events of the program's windows (MainWindow, and
// FirefoxFolderWindow while it is open) to their handlers; owns the one-click
// backup's run.
class MainWindowEvents : public EventSink {
 public:
  explicit MainWindowEvents(Platform& os) : os_(os), backup_(os) {}
  void OnWindowCreated(int windowId) override;
  void OnControlEvent(int controlId, ControlEvent event) override;
  // The window has closed: a one-click backup still running stops after the
  // browser it is copying, and is waited for.
  void WindowClosed() { backup_.WaitForEnd(); }

 private:
  Platform& os_;
  OneClickBackup backup_;
};

// Start-up as a whole: process values, the window, the message loop. Returns
// the process exit code.
int RunApplication(Platform& os);

}  // namespace bm
