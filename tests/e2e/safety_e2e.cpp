// Nothing of the user's is lost, on the real program: favourites whose names
// GBK cannot write go through backup and restore whole, a restore under a
// running browser replaces nothing, and a restored file's predecessor is in
// the Recycle Bin.
#include "../../src/app/Controls.h"
#include "e2e/Driver.h"

namespace bm::e2e {
namespace {

const char kChrome[] = "~\\appdata\\Local\\Google\\Chrome\\User Data\\Default\\Bookmarks";
const char kChromeLock[] = "~\\appdata\\Local\\Google\\Chrome\\User Data\\lockfile";

// Favourites with names of every script, below a folder of the scenario's own.
const wchar_t* const kWideNames[] = {
    L"\U0001F600 表情.url",
    L"\uD55C\uAD6D\uC5B4 \uC990\uACA8\uCC3E\uAE30.url",
    L"\u0395\u03BB\u03BB\u03B7\u03BD\u03B9\u03BA\u03AC \u03AC\\\u03C4\u03AF\u03C4\u03BB\u03BF\u03C2.url",
};

Bytes WideContent(size_t i, const char* version) {
  return "[InternetShortcut]\r\nURL=https://example.com/" + std::to_string(i) + "/" + version + "\r\n";
}

class Safety : public Scenario {
 protected:
  std::wstring Favourite(const std::wstring& root, size_t i) { return root + L"\\e2e-宽\\" + kWideNames[i]; }
  void LayFavourites(const char* version) {
    PutFolder("~\\Favorites\\e2e-宽");
    for (size_t i = 0; i < std::size(kWideNames); ++i) {
      ASSERT_TRUE(WriteFileBytesW(Favourite(Wide(Expand("~\\Favorites")), i), WideContent(i, version)));
    }
  }
  void Press(int mode, int button, const std::string& expected) {
    ASSERT_TRUE(app.Check(mode));
    ASSERT_TRUE(app.Click(button));
    ASSERT_TRUE(app.WaitForText(bm::标签_文字, expected));
    ASSERT_TRUE(app.Settle());
  }
};

TEST_F(Safety, FavouritesOfEveryScriptGoThroughBackupAndRestoreWhole) {
  LayFavourites("backed up");
  if (HasFatalFailure()) return;
  ASSERT_TRUE(app.Start());
  Press(bm::单选框_备份, bm::超级按钮_IE浏览器, "已复制IE浏览器书签到指定目录");
  const std::wstring backup = Wide(BackupRootOn("D:\\") + "\\IE浏览器");
  for (size_t i = 0; i < std::size(kWideNames); ++i) {
    EXPECT_EQ(ReadFileBytesW(Favourite(backup, i)), WideContent(i, "backed up")) << i;
  }
  LayFavourites("changed");
  if (HasFatalFailure()) return;
  Press(bm::单选框_恢复, bm::超级按钮_IE浏览器, "已恢复备份书签到IE浏览器");
  for (size_t i = 0; i < std::size(kWideNames); ++i) {
    EXPECT_EQ(ReadFileBytesW(Favourite(Wide(Expand("~\\Favorites")), i)), WideContent(i, "backed up")) << i;
  }
}

TEST_F(Safety, TheOneClickBackupCopiesFavouritesOfEveryScript) {
  LayFavourites("backed up");
  if (HasFatalFailure()) return;
  ASSERT_TRUE(app.Start());
  ASSERT_TRUE(app.Click(bm::超级按钮_一键备份书签));
  HWND notice = app.WaitForBox("提示", 30000);
  ASSERT_NE(notice, nullptr);
  ASSERT_TRUE(app.WaitUntilGone(notice, 15000));
  EXPECT_EQ(app.Text(bm::标签_文字), "已备份IE浏览器\r\n");
  const std::wstring backup = Wide(BackupRootOn("D:\\") + "\\IE浏览器");
  for (size_t i = 0; i < std::size(kWideNames); ++i) {
    EXPECT_EQ(ReadFileBytesW(Favourite(backup, i)), WideContent(i, "backed up")) << i;
  }
}

TEST_F(Safety, ARestoreUnderARunningBrowserReplacesNothing) {
  Put(kChrome, "current");
  Put(kChromeLock, "");
  Put(BackupRootOn("D:\\") + "\\谷歌浏览器\\Bookmarks", "saved");
  if (HasFatalFailure()) return;
  {
    HeldFile running(Expand(kChromeLock), true);
    ASSERT_TRUE(running.IsHeld());
    ASSERT_TRUE(app.Start());
    Press(bm::单选框_恢复, bm::超级按钮_谷歌浏览器, "请先关闭谷歌浏览器再恢复");
    EXPECT_TRUE(FileHolds(Expand(kChrome), "current"));
  }
  // Closed, the browser leaves its lock file behind; that is no refusal.
  ASSERT_TRUE(app.Click(bm::超级按钮_谷歌浏览器));
  ASSERT_TRUE(app.WaitForText(bm::标签_文字, "已恢复备份书签到谷歌浏览器"));
  EXPECT_TRUE(FileHolds(Expand(kChrome), "saved"));
}

TEST_F(Safety, TheReplacedBookmarksAreInTheRecycleBin) {
  Put(kChrome, "current bytes");
  Put(BackupRootOn("D:\\") + "\\谷歌浏览器\\Bookmarks", "saved");
  if (HasFatalFailure()) return;
  ASSERT_TRUE(app.Start());
  Press(bm::单选框_恢复, bm::超级按钮_谷歌浏览器, "已恢复备份书签到谷歌浏览器");
  EXPECT_TRUE(FileHolds(Expand(kChrome), "saved"));
  EXPECT_EQ(RecycledFile(Expand(kChrome)), Bytes("current bytes"));
}

}  // namespace
}  // namespace bm::e2e
