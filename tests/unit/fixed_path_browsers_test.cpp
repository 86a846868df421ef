// The seven fixed-path browser buttons on the simulated Windows: one table of
// the browsers' paths and texts, the same cases for every row.
#include <gtest/gtest.h>

#include <vector>

#include "app/MainWindow.h"
#include "platform/sim/SimPlatform.h"
#include "unit/BrowserWindowTest.h"

namespace bm {
namespace {

const char kProfile[] = "C:\\Users\\Tester";
const char kToday[] = "D:\\浏览器书签备份2023年4月30日";
const char kYesterday[] = "D:\\浏览器书签备份2023年4月29日";
const char kPickFolder[] = "未找到备份的书签文件,可手动指定目录";
const char kNoBackup[] = "未找到备份的书签文件";

struct Browser {
  const char* testName;
  int button;
  std::vector<Text> profileFiles;  // below the profile folder
  Text subFolder;                  // below the backup folder
  std::vector<Text> fileNames;     // in the sub-folder and in a chosen folder
  Text notFound, backupDone, notDetected, restoreDone, backupFailed, restoreFailed;
};

const Browser kBrowsers[] = {
    {"Chrome", 超级按钮_谷歌浏览器,
     {"\\appdata\\Local\\Google\\Chrome\\User Data\\Default\\Bookmarks",
      "\\appdata\\Local\\Google\\Chrome\\User Data\\Default\\Bookmarks.bak"},
     "谷歌浏览器", {"Bookmarks", "Bookmarks.bak"},
     "未找到谷歌浏览器书签文件", "已复制谷歌浏览器书签到指定目录",
     "未检测到谷歌浏览器目录，请确认已安装并首次打开过谷歌浏览器", "已恢复备份书签到谷歌浏览器",
     "谷歌浏览器书签复制失败，请关闭谷歌浏览器并确认备份位置可以写入",
     "谷歌浏览器书签恢复失败，请关闭谷歌浏览器后重试"},
    {"Edge", 超级按钮_Edge浏览器,
     {"\\appdata\\Local\\Microsoft\\Edge\\User Data\\Default\\Bookmarks"},
     "Edge浏览器", {"Bookmarks"},
     "未找到Edge浏览器书签文件", "已复制Edge浏览器书签到指定目录",
     "未检测到Edge浏览器目录，请确认已安装并首次打开过Edge浏览器", "已恢复备份书签到Edge浏览器",
     "Edge浏览器书签复制失败，请关闭Edge浏览器并确认备份位置可以写入",
     "Edge浏览器书签恢复失败，请关闭Edge浏览器后重试"},
    {"QQ", 超级按钮_QQ浏览器,
     {"\\appdata\\Local\\Tencent\\QQBrowser\\User Data\\Default\\Bookmarks_01"},
     "QQ浏览器", {"Bookmarks_01"},
     "未找到QQ浏览器书签文件", "已复制QQ浏览器书签到指定目录",
     "未检测到QQ浏览器目录，请确认已安装并首次打开过QQ浏览器", "已恢复备份书签到QQ浏览器",
     "QQ浏览器书签复制失败，请关闭QQ浏览器并确认备份位置可以写入",
     "QQ浏览器书签恢复失败，请关闭QQ浏览器后重试"},
    {"TSBrowser", 超级按钮_极速浏览器,
     {"\\appdata\\Local\\TSBrowser\\User Data\\Default\\Bookmarks"},
     "极速浏览器", {"Bookmarks"},
     "未找到极速浏览器书签文件", "已复制极速浏览器书签到指定目录",
     "未检测到极速浏览器目录，请确认已安装并首次打开过极速浏览器", "已恢复备份书签到极速浏览器",
     "极速浏览器书签复制失败，请关闭极速浏览器并确认备份位置可以写入",
     "极速浏览器书签恢复失败，请关闭极速浏览器后重试"},
    {"DualCoreLarge", 超级按钮_双核浏览器大,
     {"\\appdata\\Local\\Chromium\\GbrowserData\\Default\\Bookmarks"},
     "双核浏览器大", {"Bookmarks"},
     "未找到双核浏览器大书签文件", "已复制双核浏览器大书签到指定目录",
     "未检测到双核浏览器大目录，请确认已安装并首次打开过双核浏览器大", "已恢复备份书签到双核浏览器大",
     "双核浏览器大书签复制失败，请关闭双核浏览器大并确认备份位置可以写入",
     "双核浏览器大书签恢复失败，请关闭双核浏览器大后重试"},
    {"DualCoreSmall", 超级按钮_双核浏览器小,
     {"\\appdata\\Local\\ChromeCore\\User Data\\Default\\Favourites"},
     "双核浏览器小", {"Favourites"},
     "未找到双核浏览器小书签文件", "已复制双核浏览器小书签到指定目录",
     "未检测到双核浏览器小目录，请确认已安装并首次打开过双核浏览器小", "已恢复备份书签到双核浏览器小",
     "双核浏览器小书签复制失败，请关闭双核浏览器小并确认备份位置可以写入",
     "双核浏览器小书签恢复失败，请关闭双核浏览器小后重试"},
    {"Liebao", 超级按钮_猎豹浏览器,
     {"\\appdata\\Local\\liebao\\User Data\\Default\\Bookmarks"},
     "猎豹浏览器", {"Bookmarks"},
     "未找到猎豹浏览器书签文件", "已复制猎豹浏览器书签到指定目录",
     "未检测到猎豹浏览器目录，请确认已安装并首次打开过猎豹浏览器", "已恢复备份书签到猎豹浏览器",
     "猎豹浏览器书签复制失败，请关闭猎豹浏览器并确认备份位置可以写入",
     "猎豹浏览器书签恢复失败，请关闭猎豹浏览器后重试"},
};

void PrintTo(const Browser& browser, std::ostream* out) { *out << browser.testName; }


class FixedPathBrowserTest : public BrowserWindowTest, public ::testing::WithParamInterface<Browser> {
 protected:
  const Browser& B() { return GetParam(); }
  size_t Count() { return B().profileFiles.size(); }
  Text ProfileFile(size_t i, const Text& profile = kProfile) { return profile + B().profileFiles[i]; }
  Text FolderFile(const Text& folder, size_t i) { return folder + "\\" + B().fileNames[i]; }
  Text BackupFile(const Text& root, size_t i) { return FolderFile(root + "\\" + B().subFolder, i); }
  // Every file of the row in the profile, "<tag>0", "<tag>1", ...
  void WriteProfile(const Text& tag, const Text& profile = kProfile) {
    for (size_t i = 0; i < Count(); ++i) Write(ProfileFile(i, profile), tag + std::to_string(i));
  }
  void WriteBackup(const Text& root, const Text& tag) {
    for (size_t i = 0; i < Count(); ++i) Write(BackupFile(root, i), tag + std::to_string(i));
  }
  void ExpectProfile(const Text& tag) {
    for (size_t i = 0; i < Count(); ++i) EXPECT_EQ(os.ReadFile(ProfileFile(i)), tag + std::to_string(i)) << i;
  }
};

// ---- backup ---------------------------------------------------------------------------

TEST_P(FixedPathBrowserTest, BackupCopiesEveryFileIntoTodaysSubFolder) {
  WriteProfile("profile");
  Write(BackupFile(kToday, 0), "an earlier backup of today");
  Press(单选框_备份, B().button);
  EXPECT_EQ(Status(), B().backupDone);
  for (size_t i = 0; i < Count(); ++i) EXPECT_EQ(os.ReadFile(BackupFile(kToday, i)), "profile" + std::to_string(i));
  EXPECT_TRUE(os.ChooserCalls().empty());
}

TEST_P(FixedPathBrowserTest, BackupWithoutTheKeyFileCreatesNothing) {
  // Only the files after the key file, if the row has any.
  for (size_t i = 1; i < Count(); ++i) Write(ProfileFile(i), "other");
  const Text before = os.DumpFiles();
  Press(单选框_备份, B().button);
  EXPECT_EQ(Status(), B().notFound);
  EXPECT_EQ(os.DumpFiles(), before);
}

TEST_P(FixedPathBrowserTest, BackupOfAHeldOpenKeyFileIsReportedAsFailed) {
  WriteProfile("profile");
  os.HoldOpen(ProfileFile(0));
  Press(单选框_备份, B().button);
  EXPECT_EQ(Status(), B().backupFailed);
  EXPECT_FALSE(os.IsFile(BackupFile(kToday, 0)));
}

TEST_P(FixedPathBrowserTest, BackupToAReadOnlyDriveIsReportedAsFailed) {
  WriteProfile("profile");
  os.SetDriveReadOnly('D', true);
  Press(单选框_备份, B().button);
  EXPECT_EQ(Status(), B().backupFailed);
  EXPECT_FALSE(os.IsFolder(kToday));
}

TEST_P(FixedPathBrowserTest, BackupToAMissingDriveIsReportedAsFailed) {
  WriteProfile("profile");
  os.PickComboItem(组合框_盘符, 1);  // E:, which this machine lacks
  const Text before = os.DumpFiles();
  Press(单选框_备份, B().button);
  EXPECT_EQ(Status(), B().backupFailed);
  EXPECT_EQ(os.DumpFiles(), before);
}

// ---- restore ---------------------------------------------------------------------------

TEST_P(FixedPathBrowserTest, RestoreFromTodaysBackup) {
  WriteProfile("old");
  WriteBackup(kToday, "new");
  Press(单选框_恢复, B().button);
  EXPECT_EQ(Status(), B().restoreDone);
  ExpectProfile("new");
  EXPECT_TRUE(os.ChooserCalls().empty());
}

TEST_P(FixedPathBrowserTest, RestoreForABrowserNeverOpenedTouchesNothing) {
  WriteBackup(kToday, "new");
  const Text before = os.DumpFiles();
  Press(单选框_恢复, B().button);
  EXPECT_EQ(Status(), B().notDetected);
  EXPECT_EQ(os.DumpFiles(), before);
  EXPECT_TRUE(os.ChooserCalls().empty());
}

TEST_P(FixedPathBrowserTest, RestoreFromAnEarlierDaysSubFolderThroughTheChooser) {
  os.AddDrive('E');
  os.PickComboItem(组合框_盘符, 1);
  WriteProfile("old");
  const Text earlier = "E:\\浏览器书签备份2023年4月29日";
  WriteBackup(earlier, "earlier");
  os.QueueChooserAnswer(ChooserAnswer::Pick(earlier + "\\" + B().subFolder));
  Press(单选框_恢复, B().button);
  EXPECT_EQ(Status(), B().restoreDone);
  ExpectProfile("earlier");
  ASSERT_EQ(os.ChooserCalls().size(), 1u);
  EXPECT_EQ(os.ChooserCalls()[0].TextWhileOpen(标签_文字), kPickFolder);
  EXPECT_EQ(os.ChooserCalls()[0].startFolder, "E:\\");
  EXPECT_EQ(os.ChooserCalls()[0].title, "请选择一个文件夹");
  EXPECT_EQ(os.ChooserCalls()[0].flags, 0u);
  EXPECT_EQ(os.ChooserCalls()[0].owner, 0u);
}

TEST_P(FixedPathBrowserTest, TheDatedFolderItselfHoldsNoBackup) {
  WriteProfile("old");
  WriteBackup(kYesterday, "earlier");
  os.QueueChooserAnswer(ChooserAnswer::Pick(kYesterday));
  Press(单选框_恢复, B().button);
  EXPECT_EQ(Status(), kNoBackup);
  ExpectProfile("old");
}

TEST_P(FixedPathBrowserTest, ACancelledOrVirtualChoiceLooksAtNothing) {
  WriteProfile("old");
  // Files at the root of a drive are no chosen folder.
  for (size_t i = 0; i < Count(); ++i) {
    Write(FolderFile("C:", i), "at the root");
    Write(FolderFile("D:", i), "at the root");
  }
  for (const ChooserAnswer& answer : {ChooserAnswer::Cancelled(), ChooserAnswer::VirtualItem()}) {
    os.QueueChooserAnswer(answer);
    Press(单选框_恢复, B().button);
    EXPECT_EQ(Status(), kNoBackup) << answer.kind;
    ExpectProfile("old");
  }
  ASSERT_EQ(os.ChooserCalls().size(), 2u);
  EXPECT_EQ(os.ChooserCalls()[1].TextWhileOpen(标签_文字), kPickFolder);
}

TEST_P(FixedPathBrowserTest, RestoreOntoAHeldOpenProfileFileIsReportedAsFailed) {
  WriteProfile("old");
  WriteBackup(kToday, "new");
  os.HoldOpen(ProfileFile(0));
  Press(单选框_恢复, B().button);
  EXPECT_EQ(Status(), B().restoreFailed);
  EXPECT_EQ(os.ReadFile(ProfileFile(0)), "old0");
}

INSTANTIATE_TEST_SUITE_P(AllRows, FixedPathBrowserTest, ::testing::ValuesIn(kBrowsers),
                         [](const ::testing::TestParamInfo<Browser>& info) { return info.param.testName; });

// ---- what only some rows have ------------------------------------------------------------

const char kChromeDefault[] = "C:\\Users\\Tester\\appdata\\Local\\Google\\Chrome\\User Data\\Default";
using ChromeTest = BrowserWindowTest;

TEST_F(ChromeTest, BackupWithoutBookmarksBakCopiesBookmarksAlone) {
  Write(Text(kChromeDefault) + "\\Bookmarks", "b");
  Press(单选框_备份, 超级按钮_谷歌浏览器);
  EXPECT_EQ(Status(), "已复制谷歌浏览器书签到指定目录");
  EXPECT_EQ(os.ReadFile(Text(kToday) + "\\谷歌浏览器\\Bookmarks"), "b");
  EXPECT_FALSE(os.IsFile(Text(kToday) + "\\谷歌浏览器\\Bookmarks.bak"));
}

TEST_F(ChromeTest, AHeldOpenBookmarksBakFailsTheBackup) {
  Write(Text(kChromeDefault) + "\\Bookmarks", "b");
  Write(Text(kChromeDefault) + "\\Bookmarks.bak", "bak");
  os.HoldOpen(Text(kChromeDefault) + "\\Bookmarks.bak");
  Press(单选框_备份, 超级按钮_谷歌浏览器);
  EXPECT_EQ(Status(), "谷歌浏览器书签复制失败，请关闭谷歌浏览器并确认备份位置可以写入");
}

TEST_F(ChromeTest, RestoreWithoutBookmarksBakKeepsTheProfilesOwn) {
  Write(Text(kChromeDefault) + "\\Bookmarks", "old");
  Write(Text(kChromeDefault) + "\\Bookmarks.bak", "old bak");
  Write(Text(kYesterday) + "\\谷歌浏览器\\Bookmarks", "earlier");
  os.QueueChooserAnswer(ChooserAnswer::Pick(Text(kYesterday) + "\\谷歌浏览器"));
  Press(单选框_恢复, 超级按钮_谷歌浏览器);
  EXPECT_EQ(Status(), "已恢复备份书签到谷歌浏览器");
  EXPECT_EQ(os.ReadFile(Text(kChromeDefault) + "\\Bookmarks"), "earlier");
  EXPECT_EQ(os.ReadFile(Text(kChromeDefault) + "\\Bookmarks.bak"), "old bak");
}

TEST_F(ChromeTest, ALongLogonNameStillFindsTheProfile) {
  os.SetProfileFolder("");
  const Text name = Text(40, 'u') + "很长的用户名称很长的用户名称";
  os.SetUserName(name);
  Write("C:\\Users\\" + name + "\\appdata\\Local\\Google\\Chrome\\User Data\\Default\\Bookmarks", "long");
  Press(单选框_备份, 超级按钮_谷歌浏览器);
  EXPECT_EQ(Status(), "已复制谷歌浏览器书签到指定目录");
  EXPECT_EQ(os.ReadFile(Text(kToday) + "\\谷歌浏览器\\Bookmarks"), "long");
}

TEST_F(ChromeTest, TheReportedProfileFolderIsTheOneUsed) {
  const Text profile = "C:\\Documents and Settings\\测试用户";
  os.SetProfileFolder(profile);
  const Text bookmarks = profile + "\\appdata\\Local\\Google\\Chrome\\User Data\\Default\\Bookmarks";
  Write(bookmarks, "reported");
  Write(Text(kChromeDefault) + "\\Bookmarks", "by name");
  Press(单选框_备份, 超级按钮_谷歌浏览器);
  EXPECT_EQ(os.ReadFile(Text(kToday) + "\\谷歌浏览器\\Bookmarks"), "reported");

  Write(Text(kToday) + "\\谷歌浏览器\\Bookmarks", "restored");
  Press(单选框_恢复, 超级按钮_谷歌浏览器);
  EXPECT_EQ(Status(), "已恢复备份书签到谷歌浏览器");
  EXPECT_EQ(os.ReadFile(bookmarks), "restored");
  EXPECT_EQ(os.ReadFile(Text(kChromeDefault) + "\\Bookmarks"), "by name");
}

// QQ and 双核浏览器小 name their file differently; a chosen folder holding
// only "Bookmarks" is no backup of theirs.
TEST_F(BrowserWindowTest, AChosenFolderNeedsTheRowsOwnFileName) {
  struct Case {
    int button;
    Text profileFile;
  };
  const Case cases[] = {
      {超级按钮_QQ浏览器, "C:\\Users\\Tester\\appdata\\Local\\Tencent\\QQBrowser\\User Data\\Default\\Bookmarks_01"},
      {超级按钮_双核浏览器小, "C:\\Users\\Tester\\appdata\\Local\\ChromeCore\\User Data\\Default\\Favourites"},
  };
  Write("D:\\其他\\Bookmarks", "chrome's");
  for (const Case& c : cases) {
    Write(c.profileFile, "old");
    os.QueueChooserAnswer(ChooserAnswer::Pick("D:\\其他"));
    Press(单选框_恢复, c.button);
    EXPECT_EQ(Status(), kNoBackup) << c.button;
    EXPECT_EQ(os.ReadFile(c.profileFile), "old");
  }
}

}  // namespace
}  // namespace bm
