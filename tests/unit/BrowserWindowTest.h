// The main window up on the simulated Windows, its events routed to the
// handlers, for tests that press the browser buttons as a user does.
#pragma once

#include <gtest/gtest.h>

#include <optional>

#include "app/MainWindow.h"
#include "platform/sim/SimPlatform.h"

namespace bm {

class BrowserWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    os.SetEventSink(&events);
    ASSERT_TRUE(os.CreateMainWindow(MainWindowSpec(), MainWindowControls()));
  }
  void Press(int mode, int button) {
    os.Click(mode);
    os.Click(button);
  }
  Text Status() { return os.GetControlText(标签_文字); }
  void Write(const Text& path, const Text& content) { ASSERT_TRUE(os.WriteFile(path, content)) << path; }
  std::optional<Text> Read(const Text& path) { return os.ReadFile(path); }

  SimPlatform os;
  MainWindowEvents events{os};
};

}  // namespace bm
