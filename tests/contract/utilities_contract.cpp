// The utilities beneath the handlers do on the real Windows what they do on
// the simulated one: clearing sends files to the Recycle Bin, the timed box
// closes by itself, the REG command reads what the registry calls wrote.
#include <chrono>
#include <future>
#include <memory>
#include <thread>

#ifdef _WIN32
#define WIN32_LEAN_AND_MEAN
#define NOMINMAX
#include <windows.h>
#endif

#include "app/Paths.h"
#include "contract/ContractTest.h"
#include "util/CommandCapture.h"
#include "util/DirectoryClearing.h"
#include "util/TimedMessageBox.h"

namespace bm {
namespace {

// The simulated Windows has no console programs of its own (its command
// interpreter only echoes); what REG and cmd print there is scripted by the
// unit tests instead.
bool RunsRealCommands() {
#ifdef _WIN32
  return true;
#else
  return false;
#endif
}

class UtilitiesContract : public ContractTest {
 protected:
  void SetUp() override {
    root = Fx().ScratchFolder();
    ASSERT_FALSE(root.empty());
  }
  Text In(const Text& name) const { return root + "\\" + name; }

  // Writes a value below HKEY_CURRENT_USER through the seam's own calls.
  void WriteRegValue(const Text& subKey, const Text& name, uint32_t type, const Text& data) {
    RegKey key = 0;
    ASSERT_EQ(Os().RegCreateKeyExA(Os().RegRootKey(RegRoot::CurrentUser), subKey, kKeyRead | kKeyWrite, key),
              kErrorSuccess);
    EXPECT_EQ(Os().RegSetValueExA(key, name, type, reinterpret_cast<const uint8_t*>(data.data()),
                                  static_cast<uint32_t>(data.size())),
              kErrorSuccess);
    Os().RegCloseKey(key);
  }

  Text root;
};

// ---- clearing ---------------------------------------------------------------------

TEST_F(UtilitiesContract, ClearFolderSendsItsFilesToTheBinAndKeepsSubFolders) {
  const Text files[] = {In("旧书签.html"), In("hidden.dat"), In("readonly.txt")};
  for (const Text& file : files) ASSERT_TRUE(Fx().WriteFile(file, "old")) << file;
  ASSERT_TRUE(Fx().SetAttributes(In("hidden.dat"), kAttrHidden));
  ASSERT_TRUE(Fx().SetAttributes(In("readonly.txt"), kAttrReadOnly));
  ASSERT_TRUE(Fx().MakeFolder(In("谷歌浏览器")));
  ASSERT_TRUE(Fx().WriteFile(In("谷歌浏览器\\Bookmarks"), "keep me"));
  ASSERT_TRUE(Fx().MakeFolder(In("谷歌浏览器\\deeper")));
  ASSERT_TRUE(Fx().WriteFile(In("谷歌浏览器\\deeper\\Bookmarks.bak"), "keep me too"));

  ClearFolder(Os(), root);

  for (const Text& file : files) {
    EXPECT_FALSE(Fx().ReadFile(file).has_value()) << file;
    if (const std::optional<bool> recycled = Fx().InRecycleBin(file)) {
      EXPECT_TRUE(*recycled) << file;
    }
  }
  EXPECT_EQ(Fx().ReadFile(In("谷歌浏览器\\Bookmarks")), Text("keep me"));
  EXPECT_EQ(Fx().ReadFile(In("谷歌浏览器\\deeper\\Bookmarks.bak")), Text("keep me too"));
  EXPECT_TRUE(FolderExists(Os(), In("谷歌浏览器\\deeper")));
}

TEST_F(UtilitiesContract, ClearFolderWhoseNameEndsInATrailByte0x5C) {
  const Text folder = In("\xB1\xED\x81\x5C");
  ASSERT_TRUE(Fx().MakeFolder(folder));
  ASSERT_TRUE(Fx().WriteFile(folder + "\\old.json", "{}"));
  ASSERT_TRUE(Fx().WriteFile(In("beside.txt"), "not in the folder"));

  ClearFolder(Os(), folder);

  EXPECT_FALSE(Fx().ReadFile(folder + "\\old.json").has_value());
  EXPECT_TRUE(FolderExists(Os(), folder));
  EXPECT_EQ(Fx().ReadFile(In("beside.txt")), Text("not in the folder"));
}

// ---- the timed message box --------------------------------------------------------------

// The box runs on a thread of its own so that one that never closes fails
// the case instead of hanging the suite.
TEST_F(UtilitiesContract, TimedMessageBoxClosesByItselfAfterItsTimeOut) {
  const Text title = "书签备份测试提示";
  auto result = std::make_shared<std::promise<int>>();
  std::future<int> closed = result->get_future();
  Platform& os = Os();
  std::thread box([&os, result, title] {
    result->set_value(TimedMessageBox(os, "这个提示一秒后自己关闭", kMbIconInformation, title, WindowHandle(0), 1000u));
  });

  const bool closedByItself = closed.wait_for(std::chrono::seconds(20)) == std::future_status::ready;
  if (!closedByItself) {
#ifdef _WIN32
    // Press its OK button, so that the rest of the suite runs without it.
    const WindowHandle stuck = FindProcessWindow(os, os.GetCurrentProcessId(), title, Text("#32770"), 5000);
    if (stuck != 0) ::PostMessageA(reinterpret_cast<HWND>(stuck), WM_COMMAND, IDOK, 0);
#endif
  }
  if (closed.wait_for(std::chrono::seconds(10)) == std::future_status::ready) {
    box.join();
    EXPECT_GE(closed.get(), 0) << "no box could be shown";
  } else {
    box.detach();
  }
  EXPECT_TRUE(closedByItself) << "the box was still open 20 s after its 1 s time-out";
}

// Without an owner given, the box goes to our visible top-level window, as the
// one-click operations' closing notices do, and still closes by itself.
TEST_F(UtilitiesContract, TimedMessageBoxIsOwnedByOurVisibleWindow) {
  Platform& os = Os();
  const Text windowTitle = "书签备份测试主窗口";
  ASSERT_TRUE(os.CreateMainWindow({1, windowTitle, 40, 40, 320, 200}, {}));
  const WindowHandle main = FindProcessWindow(os, os.GetCurrentProcessId(), windowTitle, std::nullopt, 5000);
  ASSERT_NE(main, 0u);

  const Text title = "书签备份测试归属";
  auto result = std::make_shared<std::promise<int>>();
  std::future<int> closed = result->get_future();
  std::thread box([&os, result, title] {
    result->set_value(TimedMessageBox(os, "这个提示属于主窗口", kMbIconInformation, title, std::nullopt, 1000u));
  });
  const std::optional<WindowHandle> owner = Fx().MessageBoxOwner(title, 10000);
  // Our window's thread keeps answering while the box is up, as the GUI thread does.
  bool closedByItself = false;
  for (int i = 0; i < 400 && !closedByItself; ++i) {
    os.PumpMessages();
    closedByItself = closed.wait_for(std::chrono::milliseconds(50)) == std::future_status::ready;
  }
  if (closedByItself) {
    box.join();
  } else {
    box.detach();
  }
  ASSERT_TRUE(owner.has_value()) << "no box appeared";
  EXPECT_EQ(*owner, main);
  EXPECT_TRUE(closedByItself) << "the box was still open 20 s after its 1 s time-out";
}

// ---- console commands ------------------------------------------------------------------------

TEST_F(UtilitiesContract, QueryValueByCommandReadsAnAppPathsEntryThroughReg) {
  if (!RunsRealCommands()) GTEST_SKIP() << "no REG on the simulated Windows";
  const Text entry = Fx().ScratchRegKey() + "\\Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\bm-contract.exe";
  WriteRegValue(entry, "Path", kRegSz, Text("D:\\浏览器 测试\\360极速\\") + '\0');
  WriteRegValue(entry, "a&b", kRegSz, Text("amp") + '\0');
  WriteRegValue(entry, "List", kRegMultiSz, Text("first\0second\0\0", 14));
  const Text keyPath = "HKEY_CURRENT_USER\\" + entry;

  EXPECT_EQ(QueryValueByCommand(Os(), keyPath, std::nullopt, "Path"), "D:\\浏览器 测试\\360极速\\");
  EXPECT_EQ(QueryValueByCommand(Os(), keyPath, 1, "a&b"), "amp");
  EXPECT_EQ(QueryValueByCommand(Os(), keyPath, 7, "List"), "first\\0second");
  EXPECT_EQ(QueryValueByCommand(Os(), keyPath, std::nullopt, "List"), "") << "not a REG_SZ";
  EXPECT_EQ(QueryValueByCommand(Os(), keyPath, std::nullopt, "Missing"), "");
  EXPECT_EQ(QueryValueByCommand(Os(), keyPath + "\\", std::nullopt, "Path"), "D:\\浏览器 测试\\360极速\\");
}

TEST_F(UtilitiesContract, ACommandWaitingForInputReturnsWithWhatItPrinted) {
  if (!RunsRealCommands()) GTEST_SKIP() << "no cmd on the simulated Windows";
  const Text output = RunCommandCapture(Os(), "set /p x=请输入: & echo 完成");
  EXPECT_EQ(output.find("请输入:"), 0u) << output;
  EXPECT_NE(output.find("完成\r\n"), Text::npos) << output;
}

TEST_F(UtilitiesContract, CommandOutputIsCapturedWhole) {
  if (!RunsRealCommands()) GTEST_SKIP() << "no cmd on the simulated Windows";
  // Far more than one pipe buffer: 3000 numbered lines.
  const Text output = RunCommandCapture(Os(), "for /l %i in (1,1,3000) do @echo line %i");
  EXPECT_EQ(output.find("line 1\r\n"), 0u);
  EXPECT_NE(output.find("\r\nline 1500\r\n"), Text::npos);
  EXPECT_EQ(output.size() >= 11 ? output.substr(output.size() - 11) : output, "line 3000\r\n");
}

}  // namespace
}  // namespace bm
