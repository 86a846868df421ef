// Nothing of the user's is lost by a restore: no restore under a running
// browser, and the replaced files kept in the Recycle Bin, on the simulated
// Windows.
#include <gtest/gtest.h>

#include "app/MainWindow.h"
#include "app/Paths.h"
#include "unit/BrowserWindowTest.h"

namespace bm {
namespace {

const Text kProfile = "C:\\Users\\Tester";
const Text kToday = "D:\\浏览器书签备份2023年4月30日";
const Text kAppPaths = "Software\\Microsoft\\Windows\\CurrentVersion\\App Paths";

// A browser that holds "lockfile" in its data folder while it runs.
struct LockCase {
  const char* label;
  int button;
  Text appPathsEntry;  // empty: found below the profile
  Text installPath;    // the entry's "Path"
  Text dataFolder;     // holds "lockfile"
  Text profileFile;    // a bookmark file of the profile
  Text backupFile;     // the same file in today's backup
  Text name;
};

std::vector<LockCase> LockCases() {
  const Text local = kProfile + "\\appdata\\Local\\";
  return {
      {"Chrome", 超级按钮_谷歌浏览器, "", "", local + "Google\\Chrome\\User Data", "\\Default\\Bookmarks",
       "\\谷歌浏览器\\Bookmarks", "谷歌浏览器"},
      {"Edge", 超级按钮_Edge浏览器, "", "", local + "Microsoft\\Edge\\User Data", "\\Default\\Bookmarks",
       "\\Edge浏览器\\Bookmarks", "Edge浏览器"},
      {"QQ", 超级按钮_QQ浏览器, "", "", local + "Tencent\\QQBrowser\\User Data", "\\Default\\Bookmarks_01",
       "\\QQ浏览器\\Bookmarks_01", "QQ浏览器"},
      {"TSBrowser", 超级按钮_极速浏览器, "", "", local + "TSBrowser\\User Data", "\\Default\\Bookmarks",
       "\\极速浏览器\\Bookmarks", "极速浏览器"},
      {"Liebao", 超级按钮_猎豹浏览器, "", "", local + "liebao\\User Data", "\\Default\\Bookmarks",
       "\\猎豹浏览器\\Bookmarks", "猎豹浏览器"},
      {"DualCoreLarge", 超级按钮_双核浏览器大, "", "", local + "Chromium\\GbrowserData", "\\Default\\Bookmarks",
       "\\双核浏览器大\\Bookmarks", "双核浏览器大"},
      {"DualCoreSmall", 超级按钮_双核浏览器小, "", "", local + "ChromeCore\\User Data", "\\Default\\Favourites",
       "\\双核浏览器小\\Favourites", "双核浏览器小"},
      {"Speed360", 超级按钮_360极速浏览器, "360chrome.exe", "E:\\360\\Chrome\\Application\\360chrome.exe",
       "E:\\360\\Chrome\\Application\\User Data", "\\Default\\Bookmarks", "\\360极速浏览器\\Bookmarks",
       "360极速浏览器"},
      {"Speed360X", 超级按钮_360极速浏览器X, "360chromeX.exe", "E:\\360X\\Application\\x.exe",
       "E:\\360X\\Application\\User Data", "\\Default\\Bookmarks", "\\360极速X浏览器\\Bookmarks", "360极速X浏览器"},
      {"Safe360", 超级按钮_360安全浏览器, "360se6.exe", "E:\\360se6\\Application\\se.exe",
       "E:\\360se6\\Application\\User Data", "\\Default\\Bookmarks", "\\360安全浏览器\\Bookmarks", "360安全浏览器"},
      {"Maxthon7", 超级按钮_遨游浏览器, "Maxthon.exe", "E:\\Maxthon7", "E:\\Maxthon7\\User Data",
       "\\Maxthon Guest Profile\\Bookmarks", "\\遨游浏览器\\Bookmarks", "遨游7浏览器"},
  };
}

void PrintTo(const LockCase& c, std::ostream* out) { *out << c.label; }

class RunningBrowserTest : public BrowserWindowTest, public ::testing::WithParamInterface<LockCase> {
 protected:
  void SetUp() override {
    BrowserWindowTest::SetUp();
    os.AddDrive('E');
    ASSERT_TRUE(os.MakeFolders(kProfile));
    const LockCase& c = GetParam();
    if (!c.appPathsEntry.empty()) {
      ASSERT_TRUE(os.SetRegText(RegRoot::CurrentUser, kAppPaths + "\\" + c.appPathsEntry, "Path", c.installPath));
    }
    Write(c.dataFolder + c.profileFile, "current");
    Write(kToday + c.backupFile, "saved");
    Write(c.dataFolder + "\\lockfile", "");
  }
};

TEST_P(RunningBrowserTest, ARestoreUnderTheRunningBrowserReplacesNothing) {
  const LockCase& c = GetParam();
  os.HoldOpenSharingRead(c.dataFolder + "\\lockfile");
  const Text before = os.DumpFiles();
  Press(单选框_恢复, c.button);
  EXPECT_EQ(Status(), "请先关闭" + c.name + "再恢复");
  EXPECT_EQ(os.DumpFiles(), before);
  EXPECT_TRUE(os.RecycleBin().empty());
}

TEST_P(RunningBrowserTest, ALockFileThatOpensOrIsMissingIsNoRefusal) {
  const LockCase& c = GetParam();
  for (bool lockFileLeft : {true, false}) {
    SCOPED_TRACE(lockFileLeft ? "left behind" : "missing");
    if (!lockFileLeft) {
      ASSERT_TRUE(os.DeleteFileW(ToWideText(os, c.dataFolder + "\\lockfile")));
    }
    Write(c.dataFolder + c.profileFile, "current");
    Press(单选框_恢复, c.button);
    EXPECT_NE(Status().find("已恢复备份书签到" + c.name), Text::npos) << Status();
    EXPECT_EQ(Read(c.dataFolder + c.profileFile), "saved");
  }
}

TEST_P(RunningBrowserTest, TheOneClickRestoreSaysSoAndGoesOnWithTheOthers) {
  const LockCase& c = GetParam();
  os.HoldOpenSharingRead(c.dataFolder + "\\lockfile");
  Write(kToday + "\\IE浏览器\\a.url", "ie");
  os.Click(超级按钮_一键恢复书签);
  EXPECT_NE(Status().find("请先关闭" + c.name + "再恢复"), Text::npos) << Status();
  EXPECT_NE(Status().find("已恢复IE浏览器收藏夹"), Text::npos) << Status();
  EXPECT_EQ(Read(c.dataFolder + c.profileFile), "current");
  EXPECT_EQ(Read(kProfile + "\\Favorites\\a.url"), "ie");
}

INSTANTIATE_TEST_SUITE_P(EveryChromiumBrowser, RunningBrowserTest, ::testing::ValuesIn(LockCases()));

// ---- the replaced files go to the Recycle Bin ------------------------------------------------

class RecycledRestore : public BrowserWindowTest {
 protected:
  const Text chrome = kProfile + "\\appdata\\Local\\Google\\Chrome\\User Data\\Default";
};

TEST_F(RecycledRestore, TheReplacedBookmarksAreInTheBinWithTheirOldBytes) {
  Write(chrome + "\\Bookmarks", "current");
  Write(kToday + "\\谷歌浏览器\\Bookmarks", "saved");
  Press(单选框_恢复, 超级按钮_谷歌浏览器);
  EXPECT_EQ(Status(), "已恢复备份书签到谷歌浏览器");
  EXPECT_EQ(Read(chrome + "\\Bookmarks"), "saved");
  ASSERT_EQ(os.RecycleBin().size(), 1u);
  EXPECT_EQ(os.RecycleBin()[0].originalPath, chrome + "\\Bookmarks");
  EXPECT_EQ(os.RecycleBin()[0].content, "current");
}

TEST_F(RecycledRestore, ACopyThatFailsHalfwayLeavesTheProfileAsItWas) {
  Write(chrome + "\\Bookmarks", "current");
  Write(kToday + "\\谷歌浏览器\\Bookmarks", "saved");
  os.FailCopy(1);
  Press(单选框_恢复, 超级按钮_谷歌浏览器);
  EXPECT_EQ(Status(), "谷歌浏览器书签恢复失败，请关闭谷歌浏览器后重试");
  EXPECT_EQ(Read(chrome + "\\Bookmarks"), "current");
  EXPECT_TRUE(os.RecycleBin().empty());
  EXPECT_EQ(os.DumpFiles().find(".tmp"), Text::npos) << "no temporary copy is left behind";
}

TEST_F(RecycledRestore, ABackupThatCannotBeReadLeavesTheProfileUntouched) {
  Write(chrome + "\\Bookmarks", "current");
  Write(kToday + "\\谷歌浏览器\\Bookmarks", "saved");
  os.HoldOpen(kToday + "\\谷歌浏览器\\Bookmarks");
  Press(单选框_恢复, 超级按钮_谷歌浏览器);
  EXPECT_EQ(Status(), "谷歌浏览器书签恢复失败，请关闭谷歌浏览器后重试");
  EXPECT_EQ(Read(chrome + "\\Bookmarks"), "current");
  EXPECT_TRUE(os.RecycleBin().empty());
}

TEST_F(RecycledRestore, AFavouritesTreeSendsItsReplacedFilesToTheBinInOneShellCall) {
  Write(kProfile + "\\Favorites\\a.url", "old a");
  Write(kProfile + "\\Favorites\\工作\\b.url", "old b");
  Write(kProfile + "\\Favorites\\only here.url", "kept");
  Write(kToday + "\\IE浏览器\\a.url", "new a");
  Write(kToday + "\\IE浏览器\\工作\\b.url", "new b");
  Press(单选框_恢复, 超级按钮_IE浏览器);
  EXPECT_EQ(Status(), "已恢复备份书签到IE浏览器");
  EXPECT_EQ(Read(kProfile + "\\Favorites\\a.url"), "new a");
  EXPECT_EQ(Read(kProfile + "\\Favorites\\工作\\b.url"), "new b");
  EXPECT_EQ(Read(kProfile + "\\Favorites\\only here.url"), "kept");
  EXPECT_EQ(os.RecycleBin().size(), 2u);
  EXPECT_EQ(os.ShellCalls().size(), 1u);
}

TEST_F(RecycledRestore, TheOneClickRestoreKeepsWhatItReplacesInTheBin) {
  Write(chrome + "\\Bookmarks", "current");
  Write(kToday + "\\谷歌浏览器\\Bookmarks", "saved");
  Write(kToday + "\\谷歌浏览器\\Bookmarks.bak", "saved bak");
  os.Click(超级按钮_一键恢复书签);
  EXPECT_EQ(Status(), "已恢复谷歌浏览器收藏夹");
  EXPECT_EQ(Read(chrome + "\\Bookmarks.bak"), "saved bak");
  ASSERT_EQ(os.RecycleBin().size(), 1u);
  EXPECT_EQ(os.RecycleBin()[0].content, "current");
}

}  // namespace
}  // namespace bm
