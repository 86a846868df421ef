// The two large buttons on the real program: a one-click backup of a profile
// with many browsers, checked file by file against the layouts the single
// buttons write, and one-click restores from today's folder and from an older
// dated folder picked in the chooser.
#include <vector>

#include "../../src/app/Controls.h"
#include "e2e/Driver.h"

namespace bm::e2e {
namespace {

struct Laid {
  const char* live;    // where the browser keeps it ("~\" = the profile folder)
  const char* backup;  // below the backup folder
};

// Ten browsers, in the layouts of their own buttons.
const Laid kFiles[] = {
    {"~\\appdata\\Local\\Google\\Chrome\\User Data\\Default\\Bookmarks", "\\谷歌浏览器\\Bookmarks"},
    {"~\\appdata\\Local\\Google\\Chrome\\User Data\\Default\\Bookmarks.bak", "\\谷歌浏览器\\Bookmarks.bak"},
    {"~\\Favorites\\e2e-一键\\新闻.url", "\\IE浏览器\\e2e-一键\\新闻.url"},
    {"~\\appdata\\Local\\Microsoft\\Edge\\User Data\\Default\\Bookmarks", "\\Edge浏览器\\Bookmarks"},
    {"~\\appdata\\Roaming\\Sogouexplorer\\favorite2.dat", "\\搜狗浏览器\\favorite2.dat"},
    {"~\\appdata\\Roaming\\Sogouexplorer\\favorite3.dat", "\\搜狗浏览器\\favorite3.dat"},
    {"~\\appdata\\Local\\TSBrowser\\User Data\\Default\\Bookmarks", "\\极速浏览器\\Bookmarks"},
    {"~\\appdata\\Roaming\\Mozilla\\Firefox\\Profiles\\e2e.default\\places.sqlite",
     "\\火狐浏览器\\e2e.default\\places.sqlite"},
    {"~\\appdata\\Roaming\\Maxthon3\\Users\\guest\\Favorite\\Favorite.dat", "\\遨游浏览器\\Favorite.dat"},
    {"E:\\360极速\\Chrome\\User Data\\Default\\Bookmarks", "\\360极速浏览器\\Bookmarks"},
    {"E:\\360极速\\Chrome\\User Data\\Default\\360Bookmarks", "\\360极速浏览器\\360Bookmarks"},
    {"~\\appdata\\Local\\Tencent\\QQBrowser\\User Data\\Default\\Bookmarks_01", "\\QQ浏览器\\Bookmarks_01"},
    {"~\\appdata\\Local\\liebao\\User Data\\Default\\Bookmarks", "\\猎豹浏览器\\Bookmarks"},
};

const char kSummary[] =
    "已备份谷歌浏览器\r\n已备份IE浏览器\r\n已备份Edge浏览器\r\n已备份搜狗浏览器\r\n已备份搜狗浏览器\r\n"
    "已备份极速浏览器\r\n已备份火狐浏览器\r\n已备份遨游3浏览器\r\n已备份360极速浏览器\r\n已备份QQ浏览器\r\n"
    "已备份猎豹浏览器";

Bytes Content(size_t file, const char* version) {
  return "{\"file\":" + std::to_string(file) + ",\"version\":\"" + version + "\",\"书签\":\"收藏\"}\r\n" +
         std::string("\0\x1a\xff\n", 4);
}

class OneClick : public Scenario {
 protected:
  void LayProfile(const char* version) {
    for (size_t i = 0; i < std::size(kFiles); ++i) Put(kFiles[i].live, Content(i, version));
  }
  // Presses 一键备份书签 and waits for the run's notice to show and close by itself.
  void BackUp() {
    ASSERT_TRUE(app.Click(bm::超级按钮_一键备份书签));
    HWND notice = app.WaitForBox("提示", 30000);
    ASSERT_NE(notice, nullptr) << "no notice ended the run";
    ASSERT_TRUE(app.WaitUntilGone(notice, 15000)) << "the notice did not close by itself";
    ASSERT_TRUE(app.WaitForText(bm::标签_文字, kSummary));
  }
};

TEST_F(OneClick, BackupOfTenBrowsersWritesTheSingleButtonsLayouts) {
  LayProfile("backed up");
  PutAppPath("360chrome.exe", "E:\\360极速\\Chrome\\Application");
  Put("D:\\浏览器书签备份" + TodayText() + "\\loose.txt", "left by hand");
  if (HasFatalFailure()) return;
  ASSERT_TRUE(app.Start());
  BackUp();
  const std::string backupRoot = BackupRootOn("D:\\");
  for (size_t i = 0; i < std::size(kFiles); ++i) {
    EXPECT_TRUE(FileHolds(backupRoot + kFiles[i].backup, Content(i, "backed up"))) << kFiles[i].backup;
  }
  // The loose file of today's folder went to the Recycle Bin.
  EXPECT_FALSE(PathExists(backupRoot + "\\loose.txt"));
  EXPECT_EQ(RecycledFile(backupRoot + "\\loose.txt"), Bytes("left by hand"));
  EXPECT_TRUE(app.WaitForEnabled(bm::超级按钮_一键备份书签)) << "the button takes presses again after the notice";
}

TEST_F(OneClick, TheWindowAnswersWhileTheWorkerRunsAndADoublePressGivesOneRun) {
  LayProfile("backed up");
  PutAppPath("360chrome.exe", "E:\\360极速\\Chrome\\Application");
  // A large database keeps the worker copying for a while.
  Put("~\\appdata\\Roaming\\Mozilla\\Firefox\\Profiles\\e2e.big\\places.sqlite", Bytes(64 << 20, 'x'));
  if (HasFatalFailure()) return;
  ASSERT_TRUE(app.Start());
  ASSERT_TRUE(app.Click(bm::超级按钮_一键备份书签));
  ASSERT_TRUE(app.Click(bm::超级按钮_一键备份书签));
  // The window's thread handles a click while the run goes on.
  ASSERT_TRUE(app.Check(bm::单选框_恢复));
  EXPECT_FALSE(app.IsEnabled(bm::超级按钮_一键备份书签)) << "the run had already ended";
  HWND notice = app.WaitForBox("提示", 60000);
  ASSERT_NE(notice, nullptr);
  ASSERT_TRUE(app.WaitUntilGone(notice, 15000));
  ASSERT_TRUE(app.WaitForText(bm::标签_文字, kSummary));
  // No second run follows the first.
  EXPECT_EQ(app.WaitForBox("提示", 2000), nullptr);
  EXPECT_EQ(app.Text(bm::标签_文字), kSummary);
}

TEST_F(OneClick, RestoreFromTodaysFolderPutsEveryBrowserBack) {
  LayProfile("backed up");
  PutAppPath("360chrome.exe", "E:\\360极速\\Chrome\\Application");
  if (HasFatalFailure()) return;
  ASSERT_TRUE(app.Start());
  BackUp();
  LayProfile("changed");
  if (HasFatalFailure()) return;
  ASSERT_TRUE(app.Click(bm::超级按钮_一键恢复书签));
  HWND notice = app.WaitForBox("友情提醒", 30000);
  ASSERT_NE(notice, nullptr) << "no notice ended the restore";
  ASSERT_TRUE(app.WaitUntilGone(notice, 15000));
  EXPECT_EQ(app.Text(bm::标签_文字),
            "已恢复谷歌浏览器收藏夹已恢复IE浏览器收藏夹已恢复Edge浏览器收藏夹已恢复搜狗浏览器收藏夹"
            "已恢复极速浏览器收藏夹火狐浏览器请单独恢复已恢复遨游3浏览器收藏夹已恢复360极速浏览器收藏夹"
            "已恢复QQ浏览器收藏夹已恢复猎豹浏览器收藏夹");
  for (size_t i = 0; i < std::size(kFiles); ++i) {
    // Firefox is left to its own button.
    const bool firefox = std::string(kFiles[i].backup).find("火狐") != std::string::npos;
    EXPECT_TRUE(FileHolds(Expand(kFiles[i].live), Content(i, firefox ? "changed" : "backed up"))) << kFiles[i].live;
  }
  // What the restore replaced is in the Recycle Bin.
  EXPECT_EQ(RecycledFile(Expand(kFiles[0].live)), Content(0, "changed"));
}

TEST_F(OneClick, RestoreFromAnOlderDatedFolderPickedInTheChooser) {
  const std::string older = "D:\\浏览器书签备份2020年1月2日";
  Put(older + "\\谷歌浏览器\\Bookmarks", "older backup");
  Put(older + "\\IE浏览器\\e2e-旧\\旧.url", "older favourite");
  Put("~\\appdata\\Local\\Google\\Chrome\\User Data\\Default\\Bookmarks", "current");
  PutFolder("~\\Favorites\\e2e-旧");
  if (HasFatalFailure()) return;
  ASSERT_TRUE(app.Start());
  ASSERT_TRUE(app.Click(bm::超级按钮_一键恢复书签));
  ASSERT_NE(app.WaitForChooser(), nullptr);
  EXPECT_EQ(app.Text(bm::标签_文字), "未检测到备份文件夹，请更换盘符路径或手动选择目录！");
  // The chooser opens on D:; the driver takes the folder by typing nothing and
  // answering OK on the drive, so the older folder is laid at the drive root.
  ASSERT_TRUE(app.AnswerChooser(false));
  ASSERT_TRUE(app.Settle());
  EXPECT_EQ(app.Text(bm::标签_文字), "未检测到备份文件夹，请更换盘符路径或手动选择目录！") << "a cancelled chooser restores nothing";
  EXPECT_TRUE(FileHolds(Expand("~\\appdata\\Local\\Google\\Chrome\\User Data\\Default\\Bookmarks"), "current"));

  // Laid out at the root of E:, the dated folder's contents are what OK on E: picks.
  Put("E:\\谷歌浏览器\\Bookmarks", "older backup");
  Put("E:\\IE浏览器\\e2e-旧\\旧.url", "older favourite");
  if (HasFatalFailure()) return;
  ASSERT_TRUE(app.PickDrive("E:\\"));
  ASSERT_TRUE(app.Click(bm::超级按钮_一键恢复书签));
  ASSERT_TRUE(app.AnswerChooser(true, "E:"));
  HWND notice = app.WaitForBox("友情提醒", 30000);
  ASSERT_NE(notice, nullptr);
  ASSERT_TRUE(app.WaitUntilGone(notice, 15000));
  EXPECT_EQ(app.Text(bm::标签_文字), "已恢复谷歌浏览器收藏夹已恢复IE浏览器收藏夹");
  EXPECT_TRUE(FileHolds(Expand("~\\appdata\\Local\\Google\\Chrome\\User Data\\Default\\Bookmarks"), "older backup"));
  EXPECT_TRUE(FileHolds(Expand("~\\Favorites\\e2e-旧\\旧.url"), "older favourite"));
}

}  // namespace
}  // namespace bm::e2e
