#include <gtest/gtest.h>

#include "platform/sim/SimPlatform.h"
#include "util/TimedMessageBox.h"

namespace bm {
namespace {

constexpr uint32_t kOtherProcess = 4242;

class TimedMessageBoxTest : public ::testing::Test {
 protected:
  WindowHandle AddOurs(bool visible, WindowHandle parent = 0, const Text& className = "BmMain",
                       const Text& title = "浏览器书签备份") {
    // Each new window goes behind the ones added before it.
    return os.AddTopLevelWindow(os.ProcessId(), visible, parent, className, title, false);
  }
  WindowHandle AddOthers(int count, bool visible = true) {
    WindowHandle last = 0;
    for (int i = 0; i < count; ++i) last = os.AddTopLevelWindow(kOtherProcess, visible, 0, "Other", "other", false);
    return last;
  }
  ShownMessageBox LastBox() { return os.MessageBoxes().back(); }

  SimPlatform os;
};

TEST_F(TimedMessageBoxTest, OmittedArgumentsTakeTheirDefaults) {
  AddOthers(2);
  const WindowHandle ours = AddOurs(true);
  EXPECT_EQ(TimedMessageBox(os, "完成收藏夹恢复"), 0);
  ASSERT_EQ(os.MessageBoxes().size(), 1u);
  EXPECT_EQ(LastBox().owner, ours);
  EXPECT_EQ(LastBox().text, "完成收藏夹恢复");
  EXPECT_EQ(LastBox().title, "友情提醒");
  EXPECT_EQ(LastBox().style, 0u);
  EXPECT_EQ(LastBox().languageId, 0);
  EXPECT_EQ(LastBox().timeoutMs, 5000u);
}

TEST_F(TimedMessageBoxTest, GivenArgumentsArePassedAsTheyAre) {
  const WindowHandle ours = AddOurs(true);
  const WindowHandle other = AddOthers(1);
  TimedMessageBox(os, "完成书签备份", kMbIconInformation, Text("提示"), other, 1500u);
  EXPECT_EQ(LastBox().owner, other);
  EXPECT_NE(LastBox().owner, ours);
  EXPECT_EQ(LastBox().title, "提示");
  EXPECT_EQ(LastBox().style, 64u);
  EXPECT_EQ(LastBox().timeoutMs, 1500u);
}

TEST_F(TimedMessageBoxTest, GivenEmptyTitleAndNullOwnerAreNotDefaults) {
  AddOurs(true);
  TimedMessageBox(os, "x", std::nullopt, Text(), WindowHandle(0));
  EXPECT_EQ(LastBox().title, "");
  EXPECT_EQ(LastBox().owner, 0u);
}

TEST_F(TimedMessageBoxTest, ResultIsTheBoxResultMinusOne) {
  os.SetMessageBoxResult(32000);  // closed by the time-out
  EXPECT_EQ(TimedMessageBox(os, "x"), 31999);
  os.SetMessageBoxTimeoutAvailable(false);
  EXPECT_EQ(TimedMessageBox(os, "x"), -1);
}

TEST_F(TimedMessageBoxTest, OwnedAndInvisibleWindowsAreNeverChosen) {
  const WindowHandle parent = AddOthers(1);
  AddOurs(false);
  AddOurs(true, parent);
  TimedMessageBox(os, "x");
  EXPECT_EQ(LastBox().owner, 0u);

  const WindowHandle visible = AddOurs(true);
  TimedMessageBox(os, "x");
  EXPECT_EQ(LastBox().owner, visible);
}

TEST_F(TimedMessageBoxTest, OwnerSearchGivesUpAfterItsTimeLimit) {
  // Every visible window passed lets messages run, which takes the simulated
  // clock 1 ms on; our window lies behind more windows than one second of
  // searching reaches.
  AddOthers(1500);
  AddOurs(true);
  TimedMessageBox(os, "x");
  ASSERT_EQ(os.MessageBoxes().size(), 1u);
  EXPECT_EQ(LastBox().owner, 0u);
}

TEST_F(TimedMessageBoxTest, NoWindowAtAllGivesNoOwner) {
  TimedMessageBox(os, "x");
  ASSERT_EQ(os.MessageBoxes().size(), 1u);
  EXPECT_EQ(LastBox().owner, 0u);
}

// ---- FindProcessWindow --------------------------------------------------------------

TEST_F(TimedMessageBoxTest, FindsTheFirstMatchingWindowInZOrder) {
  AddOthers(3);
  const WindowHandle first = AddOurs(true);
  AddOurs(true);
  EXPECT_EQ(FindProcessWindow(os, os.ProcessId()), first);
  EXPECT_EQ(FindProcessWindow(os, 999), 0u);
}

TEST_F(TimedMessageBoxTest, PumpsMessagesAfterEveryVisibleWindowPassed) {
  AddOthers(3);
  AddOthers(4, false);
  AddOurs(true);
  const int before = os.PumpCount();
  FindProcessWindow(os, os.ProcessId());
  EXPECT_EQ(os.PumpCount() - before, 3);
}

TEST_F(TimedMessageBoxTest, FiltersAreCaseSensitiveSubstrings) {
  const WindowHandle main = AddOurs(true, 0, "BmMainWindow", "浏览器书签备份");
  const WindowHandle folder = AddOurs(true, 0, "BmFolderWindow", "火狐配置文件夹");
  const struct {
    std::optional<Text> title;
    std::optional<Text> className;
    WindowHandle expected;
  } cases[] = {
      {std::nullopt, std::nullopt, main},
      {Text("火狐"), std::nullopt, folder},
      {std::nullopt, Text("Folder"), folder},
      {std::nullopt, Text("folder"), 0},
      {Text("书签"), Text("Main"), main},
      {Text("书签"), Text("Folder"), 0},
      {Text(), Text(), main},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(FindProcessWindow(os, os.ProcessId(), c.title, c.className), c.expected)
        << c.title.value_or("(none)") << " / " << c.className.value_or("(none)");
  }
}

TEST_F(TimedMessageBoxTest, VisibleOnlyFalseAcceptsHiddenWindows) {
  const WindowHandle hidden = AddOurs(false);
  EXPECT_EQ(FindProcessWindow(os, os.ProcessId()), 0u);
  EXPECT_EQ(FindProcessWindow(os, os.ProcessId(), std::nullopt, std::nullopt, std::nullopt, false), hidden);
}

TEST_F(TimedMessageBoxTest, LimitCountsClockTimeAndOmittedOrNegativeMeansNoLimit) {
  AddOthers(1500);
  const WindowHandle ours = AddOurs(true);
  const uint32_t start = os.GetTickCount();
  EXPECT_EQ(FindProcessWindow(os, os.ProcessId(), std::nullopt, std::nullopt, 1000), 0u);
  EXPECT_GE(os.GetTickCount() - start, 1000u);
  EXPECT_LT(os.GetTickCount() - start, 1100u);
  EXPECT_EQ(FindProcessWindow(os, os.ProcessId()), ours);
  EXPECT_EQ(FindProcessWindow(os, os.ProcessId(), std::nullopt, std::nullopt, -1), ours);
}

}  // namespace
}  // namespace bm
