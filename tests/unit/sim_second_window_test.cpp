// The knobs of the simulated second window, clipboard and edit colours do what
// the tests above the seam rely on.
#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/sim/SimPlatform.h"

namespace bm {
namespace {

ControlSpec Layout(int id, ControlKind kind) { return ControlLayout(id, kind, "c" + std::to_string(id)); }

// Records events and lets a test act on them.
class Sink : public EventSink {
 public:
  void OnWindowCreated(int windowId) override {
    events.push_back("created " + std::to_string(windowId));
    if (onCreated) onCreated(windowId);
  }
  void OnControlEvent(int controlId, ControlEvent event) override {
    events.push_back(std::to_string(controlId) + (event == ControlEvent::DoubleClicked ? " double" : " clicked"));
  }
  std::vector<std::string> events;
  std::function<void(int)> onCreated;
};

class SimSecondWindow : public ::testing::Test {
 protected:
  void SetUp() override {
    os.SetEventSink(&sink);
    ASSERT_TRUE(os.CreateMainWindow({1, "主窗口", 0, 0, 100, 100},
                                    {Layout(101, ControlKind::Button), Layout(102, ControlKind::Label)}));
  }
  bool ShowSecond(int owner = 1) {
    return os.ShowModalWindow({2, "第二窗口", 0, 0, 100, 50},
                              {Layout(201, ControlKind::Edit), Layout(202, ControlKind::Button)}, owner);
  }
  SimPlatform os;
  Sink sink;
};

TEST_F(SimSecondWindow, TheUserActsAfterCreationAndClosesWhatIsLeftOpen) {
  WindowHandle handle = 0;
  os.OnModalWindowOpen([&](int windowId) {
    handle = os.WindowHandleOf(windowId);
    sink.events.push_back("user at " + std::to_string(windowId));
  });
  ASSERT_TRUE(ShowSecond());
  EXPECT_EQ(sink.events, (std::vector<std::string>{"created 1", "created 2", "user at 2"}));
  EXPECT_NE(handle, 0u);
  EXPECT_NE(handle, os.MainWindowHandle());
  EXPECT_FALSE(os.WindowOpen(2));
  EXPECT_EQ(os.WindowHandleOf(2), 0u);
  EXPECT_EQ(os.FindControl(201), nullptr);
  EXPECT_EQ(os.FindWindowExA(0), os.MainWindowHandle()) << "its top-level window is gone";
}

TEST_F(SimSecondWindow, AWindowClosedAtCreationNeverMeetsTheUser) {
  bool userRan = false;
  os.OnModalWindowOpen([&](int) { userRan = true; });
  sink.onCreated = [this](int windowId) {
    if (windowId == 2) os.CloseWindow(2);
  };
  ASSERT_TRUE(ShowSecond());
  EXPECT_FALSE(userRan);
  EXPECT_TRUE(os.WindowEnabled(1));
  EXPECT_FALSE(os.ModalWindowCalls().at(0).ownerDisabled);
}

TEST_F(SimSecondWindow, NestedWindowsMeetTheUserEachWithItsIdAndDisableTheirOwners) {
  std::vector<std::string> seen;
  os.OnModalWindowOpen([&](int windowId) {
    seen.push_back(std::to_string(windowId) + (os.WindowEnabled(1) ? " main enabled" : " main disabled") +
                   (os.WindowEnabled(2) ? ", second enabled" : ", second disabled"));
    if (windowId == 2) {
      EXPECT_TRUE(os.ShowModalWindow({3, "第三窗口", 0, 0, 10, 10}, {}, 2));
      EXPECT_TRUE(os.WindowEnabled(2)) << "the second window takes input again once the third is gone";
    }
  });
  ASSERT_TRUE(ShowSecond());
  EXPECT_EQ(seen, (std::vector<std::string>{"2 main disabled, second enabled", "3 main disabled, second disabled"}));
  EXPECT_TRUE(os.WindowEnabled(1));
  const std::vector<ModalWindowCall> calls = os.ModalWindowCalls();
  ASSERT_EQ(calls.size(), 2u);
  EXPECT_EQ(calls[1].window.title, "第三窗口");
  EXPECT_EQ(calls[1].ownerWindowId, 2);
}

TEST_F(SimSecondWindow, ADisabledWindowTakesNoClicksAndOnlyEditsAndLabelsTakeDoubleClicks) {
  os.OnModalWindowOpen([this](int) {
    os.Click(101);        // the main window is disabled
    os.DoubleClick(102);  // likewise
    os.DoubleClick(202);  // a button: no double-click event
    os.DoubleClick(201);
    os.Click(202);
  });
  ASSERT_TRUE(ShowSecond());
  os.DoubleClick(102);
  EXPECT_EQ(sink.events,
            (std::vector<std::string>{"created 1", "created 2", "201 double", "202 clicked", "102 double"}));
}

TEST_F(SimSecondWindow, ColoursBelongToAnOpenEditBoxOnly) {
  std::optional<EditColors> whileOpen;
  os.OnModalWindowOpen([&](int) {
    os.SetEditColors(202, Rgb(1, 2, 3), Rgb(4, 5, 6));  // a button
    os.SetEditColors(201, Rgb(1, 2, 3), Rgb(4, 5, 6));
    EXPECT_EQ(os.EditColorsOf(202), std::nullopt);
    whileOpen = os.EditColorsOf(201);
  });
  ASSERT_TRUE(ShowSecond());
  EXPECT_EQ(whileOpen, (EditColors{0x030201, 0x060504}));
  EXPECT_EQ(os.EditColorsOf(201), std::nullopt) << "forgotten with the window";
  os.SetEditColors(201, 0, 0);
  EXPECT_EQ(os.EditColorsOf(201), std::nullopt) << "no such box any more";
}

TEST_F(SimSecondWindow, TheClipboardHoldsNothingUntilTextIsPut) {
  EXPECT_EQ(os.ClipboardText(), std::nullopt);
  EXPECT_EQ(os.GetClipboardText(), "");
  ASSERT_TRUE(os.SetClipboardText(Text("about\0support", 13)));
  EXPECT_EQ(os.ClipboardText(), Text("about")) << "a C string ends at its zero";
}

TEST_F(SimSecondWindow, ClosingTheMainWindowRemovesItAndItsControls) {
  os.CloseWindow(1);
  EXPECT_FALSE(os.MainWindowCreated());
  EXPECT_EQ(os.MainWindowHandle(), 0u);
  EXPECT_EQ(os.FindControl(101), nullptr);
  EXPECT_EQ(os.FindWindowExA(0), 0u);
  EXPECT_FALSE(ShowSecond()) << "no owner";
}

}  // namespace
}  // namespace bm
