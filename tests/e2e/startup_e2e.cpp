// The main window as it starts, the drive pick, and buttons pressed before a
// mode is chosen.
#include "e2e/Driver.h"

#include "../../src/app/Controls.h"

namespace bm::e2e {
namespace {

const char kExistingBackupWarning[] = "检测到已有备份文件夹，继续备份将删除原目录文件，请谨慎操作！";
const char kPickModeFirst[] = "请先点选备份或恢复按钮";

using StartUp = Scenario;

TEST_F(StartUp, SelectsDriveDAndShowsNothingWithoutTodaysBackupFolder) {
  ASSERT_TRUE(app.Start());
  EXPECT_EQ(app.Text(bm::组合框_盘符), "D:\\");
  EXPECT_EQ(app.Text(bm::标签_文字), "");
  EXPECT_FALSE(app.IsChecked(bm::单选框_备份));
  EXPECT_FALSE(app.IsChecked(bm::单选框_恢复));
}

TEST_F(StartUp, WarnsAboutTodaysBackupFolderAndFollowsTheDrivePick) {
  PutFolder(BackupRootOn("D:\\"));
  ASSERT_TRUE(app.Start());
  ASSERT_TRUE(app.WaitForText(bm::标签_文字, kExistingBackupWarning));

  // E: has no backup folder of today: the warning goes.
  ASSERT_TRUE(app.PickDrive("E:\\"));
  EXPECT_TRUE(app.WaitForText(bm::标签_文字, ""));

  // Back to D:, and the warning is there again.
  ASSERT_TRUE(app.PickDrive("D:\\"));
  EXPECT_TRUE(app.WaitForText(bm::标签_文字, kExistingBackupWarning));

  // An older day's folder on E: is no reason to warn.
  PutFolder("E:\\浏览器书签备份2001年1月1日");
  ASSERT_TRUE(app.PickDrive("E:\\"));
  EXPECT_TRUE(app.WaitForText(bm::标签_文字, ""));
}

TEST_F(StartUp, BlankButtonChangesNothing) {
  PutFolder(BackupRootOn("D:\\"));
  ASSERT_TRUE(app.Start());
  ASSERT_TRUE(app.WaitForText(bm::标签_文字, kExistingBackupWarning));
  std::vector<std::string> before = ListTree("D:\\");

  ASSERT_TRUE(app.Click(bm::超级按钮9));
  ASSERT_TRUE(app.Settle());
  EXPECT_EQ(app.Text(bm::标签_文字), kExistingBackupWarning);
  EXPECT_EQ(ListTree("D:\\"), before);
}

// Every browser button of the single-browser handlers, with each browser's
// files in place: without a mode the press only asks for one.
TEST_F(StartUp, BrowserButtonsWithoutAModeAskForOneAndTouchNoFile) {
  const std::string chrome = "~\\appdata\\Local\\Google\\Chrome\\User Data\\Default\\";
  Put(chrome + "Bookmarks", "{\"roots\":{}}");
  Put("~\\appdata\\Roaming\\Sogouexplorer\\favorite2.dat", "sogou");
  Put("~\\Favorites\\e2e-no-mode.url", "[InternetShortcut]\r\nURL=http://example.com/\r\n");
  Put("E:\\e2e-360\\Chrome\\User Data\\Default\\Bookmarks", "{}");
  PutAppPath("360chrome.exe", "E:\\e2e-360\\Chrome\\Application");
  Put("~\\appdata\\Roaming\\Maxthon3\\Users\\guest\\Favorite\\Favorite.dat", "mx3");
  // The browsers' own folders only: the profile's shell folders lead to the
  // Unix home folder under Wine.
  const std::vector<std::string> watched = {
      "~\\appdata\\Local\\Google", "~\\appdata\\Roaming\\Sogouexplorer", "~\\appdata\\Roaming\\Maxthon3",
      "~\\Favorites", "E:\\"};
  std::vector<std::vector<std::string>> before;
  for (const std::string& folder : watched) before.push_back(ListTree(Expand(folder)));

  const int buttons[] = {
      bm::超级按钮_谷歌浏览器,   bm::超级按钮_Edge浏览器,    bm::超级按钮_QQ浏览器,
      bm::超级按钮_极速浏览器,   bm::超级按钮_双核浏览器大,  bm::超级按钮_双核浏览器小,
      bm::超级按钮_猎豹浏览器,   bm::超级按钮_搜狗浏览器,    bm::超级按钮_IE浏览器,
      bm::超级按钮_360极速浏览器, bm::超级按钮_360安全浏览器, bm::超级按钮_360极速浏览器X,
      bm::超级按钮_遨游浏览器,
  };
  ASSERT_TRUE(app.Start());
  bool onE = false;
  for (int button : buttons) {
    // A drive pick empties the label, so each press is seen on its own.
    onE = !onE;
    ASSERT_TRUE(app.PickDrive(onE ? "E:\\" : "D:\\"));
    ASSERT_TRUE(app.WaitForText(bm::标签_文字, ""));
    ASSERT_TRUE(app.Click(button));
    EXPECT_TRUE(app.WaitForText(bm::标签_文字, kPickModeFirst)) << "after pressing button " << button;
  }
  ASSERT_TRUE(app.Settle());
  EXPECT_TRUE(ListTree("D:\\").empty());
  for (size_t i = 0; i < watched.size(); ++i) {
    EXPECT_EQ(ListTree(Expand(watched[i])), before[i]) << "in " << watched[i];
  }
  EXPECT_FALSE(app.IsChecked(bm::单选框_备份));
  EXPECT_FALSE(app.IsChecked(bm::单选框_恢复));
}

}  // namespace
}  // namespace bm::e2e
