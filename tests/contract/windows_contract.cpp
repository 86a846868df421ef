// The top-level windows of the desktop, as the owner search of the timed
// message box walks them, look alike on the simulated Windows and the real one.
#include "app/Paths.h"
#include "contract/ContractTest.h"

namespace bm {
namespace {

class WindowsContract : public ContractTest {};

TEST_F(WindowsContract, MainWindowIsAVisibleTopLevelWindowOfOurProcess) {
  WindowSpec layout{1, "书签窗口", 10, 10, 300, 200};
  ControlSpec label;
  label.id = 7001;
  label.kind = ControlKind::Label;
  label.caption = "状态";
  label.width = 100;
  label.height = 20;
  ASSERT_TRUE(Os().CreateMainWindow(layout, {label}));
  EXPECT_EQ(Os().GetControlText(7001), "状态");
  Os().SetControlText(7001, "已复制");
  EXPECT_EQ(Os().GetControlText(7001), "已复制");

  const uint32_t self = Os().GetCurrentProcessId();
  WindowHandle found = 0;
  int walked = 0;
  for (WindowHandle window = Os().FindWindowExA(0); window != 0 && walked < 100000;
       window = Os().FindWindowExA(window), ++walked) {
    if (Os().GetWindowThreadProcessId(window) != self || Os().GetParent(window) != 0) continue;
    if (!Os().IsWindowVisible(window)) continue;
    found = window;
    break;
  }
  ASSERT_NE(found, 0u) << "walked " << walked << " windows";
  EXPECT_EQ(FromWideText(Os(), Os().GetWindowTextW(found)), "书签窗口");
  EXPECT_EQ(Os().GetClassNameA(found), "BookmarkBackupMainWindow");
}

}  // namespace
}  // namespace bm
