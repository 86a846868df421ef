// Backup and then restore, browser by browser, with the browser's files laid
// out where it keeps them (the profile, or an install folder named by App
// Paths on drive E:) and today's backup folder on drive D:.
#include "e2e/Driver.h"

#include <vector>

#include "../../src/app/Controls.h"

namespace bm::e2e {
namespace {

struct BrowserFile {
  const char* live;    // where the browser keeps it ("~\" = the profile folder)
  const char* backup;  // below today's backup folder
};

struct AppPath {
  const char* exe;
  const char* path;  // the entry's "Path" value
};

struct BrowserCase {
  const char* name;  // the scenario's name
  int button;
  std::vector<AppPath> appPaths;
  std::vector<BrowserFile> files;
  const char* backupDone;
  const char* restoreDone;
};

const BrowserCase kBrowsers[] = {
    {"Chrome",
     bm::超级按钮_谷歌浏览器,
     {},
     {{"~\\appdata\\Local\\Google\\Chrome\\User Data\\Default\\Bookmarks", "\\谷歌浏览器\\Bookmarks"},
      {"~\\appdata\\Local\\Google\\Chrome\\User Data\\Default\\Bookmarks.bak", "\\谷歌浏览器\\Bookmarks.bak"}},
     "已复制谷歌浏览器书签到指定目录",
     "已恢复备份书签到谷歌浏览器"},
    {"Edge",
     bm::超级按钮_Edge浏览器,
     {},
     {{"~\\appdata\\Local\\Microsoft\\Edge\\User Data\\Default\\Bookmarks", "\\Edge浏览器\\Bookmarks"}},
     "已复制Edge浏览器书签到指定目录",
     "已恢复备份书签到Edge浏览器"},
    {"QQ",
     bm::超级按钮_QQ浏览器,
     {},
     {{"~\\appdata\\Local\\Tencent\\QQBrowser\\User Data\\Default\\Bookmarks_01", "\\QQ浏览器\\Bookmarks_01"}},
     "已复制QQ浏览器书签到指定目录",
     "已恢复备份书签到QQ浏览器"},
    {"TSBrowser",
     bm::超级按钮_极速浏览器,
     {},
     {{"~\\appdata\\Local\\TSBrowser\\User Data\\Default\\Bookmarks", "\\极速浏览器\\Bookmarks"}},
     "已复制极速浏览器书签到指定目录",
     "已恢复备份书签到极速浏览器"},
    {"DualCoreLarge",
     bm::超级按钮_双核浏览器大,
     {},
     {{"~\\appdata\\Local\\Chromium\\GbrowserData\\Default\\Bookmarks", "\\双核浏览器大\\Bookmarks"}},
     "已复制双核浏览器大书签到指定目录",
     "已恢复备份书签到双核浏览器大"},
    {"DualCoreSmall",
     bm::超级按钮_双核浏览器小,
     {},
     {{"~\\appdata\\Local\\ChromeCore\\User Data\\Default\\Favourites", "\\双核浏览器小\\Favourites"}},
     "已复制双核浏览器小书签到指定目录",
     "已恢复备份书签到双核浏览器小"},
    {"Liebao",
     bm::超级按钮_猎豹浏览器,
     {},
     {{"~\\appdata\\Local\\liebao\\User Data\\Default\\Bookmarks", "\\猎豹浏览器\\Bookmarks"}},
     "已复制猎豹浏览器书签到指定目录",
     "已恢复备份书签到猎豹浏览器"},
    {"Sogou",
     bm::超级按钮_搜狗浏览器,
     {},
     {{"~\\appdata\\Roaming\\Sogouexplorer\\favorite2.dat", "\\搜狗浏览器\\favorite2.dat"},
      {"~\\appdata\\Roaming\\Sogouexplorer\\favorite3.dat", "\\搜狗浏览器\\favorite3.dat"}},
     "已复制搜狗浏览器书签到指定目录",
     "已恢复备份书签到搜狗浏览器"},
    {"InternetExplorer",
     bm::超级按钮_IE浏览器,
     {},
     {{"~\\Favorites\\e2e-新闻.url", "\\IE浏览器\\e2e-新闻.url"},
      {"~\\Favorites\\e2e-工作\\文档.url", "\\IE浏览器\\e2e-工作\\文档.url"}},
     "已复制IE浏览器书签到指定目录",
     "已恢复备份书签到IE浏览器"},
    {"Speed360",
     bm::超级按钮_360极速浏览器,
     {{"360chrome.exe", "E:\\360极速\\Chrome\\Application"}},
     {{"E:\\360极速\\Chrome\\User Data\\Default\\Bookmarks", "\\360极速浏览器\\Bookmarks"},
      {"E:\\360极速\\Chrome\\User Data\\Default\\360Bookmarks", "\\360极速浏览器\\360Bookmarks"}},
     "已复制360极速浏览器书签到指定目录",
     "已恢复备份书签到360极速浏览器"},
    {"Safe360",
     bm::超级按钮_360安全浏览器,
     {{"360se6.exe", "E:\\360se6\\Application"}},
     {{"E:\\360se6\\User Data\\Default\\Bookmarks", "\\360安全浏览器\\Bookmarks"},
      {"E:\\360se6\\User Data\\Default\\360Bookmarks", "\\360安全浏览器\\360Bookmarks"}},
     "已复制360安全浏览器书签到指定目录",
     "已恢复备份书签到360安全浏览器"},
    {"SpeedX360",
     bm::超级按钮_360极速浏览器X,
     {{"360chromeX.exe", "E:\\360ChromeX\\Chrome\\Application"}},
     {{"E:\\360ChromeX\\Chrome\\User Data\\Default\\Bookmarks", "\\360极速X浏览器\\Bookmarks"},
      {"E:\\360ChromeX\\Chrome\\User Data\\Default\\360Bookmarks", "\\360极速X浏览器\\360Bookmarks"}},
     "已复制360极速X浏览器书签到指定目录",
     "已恢复备份书签到360极速X浏览器"},
    {"Maxthon",
     bm::超级按钮_遨游浏览器,
     {{"Maxthon.exe", "E:\\Maxthon7"}},
     {{"~\\appdata\\Roaming\\Maxthon3\\Users\\guest\\Favorite\\Favorite.dat", "\\遨游浏览器\\Favorite.dat"},
      {"~\\appdata\\Roaming\\Maxthon5\\Users\\guest\\Molebox\\Molebox.dat", "\\遨游浏览器\\Molebox.dat"},
      {"E:\\Maxthon7\\User Data\\Maxthon Guest Profile\\Bookmarks", "\\遨游浏览器\\Bookmarks"},
      {"E:\\Maxthon7\\User Data\\Maxthon Guest Profile\\Bookmarks.bak", "\\遨游浏览器\\Bookmarks.bak"}},
     "已复制遨游3浏览器书签到指定目录已复制遨游5浏览器书签到指定目录已复制遨游7浏览器书签到指定目录",
     "已恢复备份书签到遨游7浏览器"},
};

// Small contents that differ per browser, per file and per version, with
// bytes a text-mode copy or a code-page conversion would change.
Bytes Content(const BrowserCase& browser, size_t file, const char* version) {
  return std::string("{\"browser\":\"") + browser.name + "\",\"file\":" + std::to_string(file) + ",\"version\":\"" +
         version + "\",\"书签\":\"收藏\"}\r\n" + std::string("\0\x1a\xff\n", 4);
}

// Names the case in gtest's messages instead of dumping its bytes.
void PrintTo(const BrowserCase& c, std::ostream* os) { *os << c.name; }

class Browsers : public Scenario, public testing::WithParamInterface<BrowserCase> {};

TEST_P(Browsers, BackupCopiesTheFilesAndRestorePutsThemBack) {
  const BrowserCase& browser = GetParam();
  for (size_t i = 0; i < browser.files.size(); ++i) Put(browser.files[i].live, Content(browser, i, "backed up"));
  for (const AppPath& entry : browser.appPaths) PutAppPath(entry.exe, entry.path);
  if (HasFatalFailure()) return;
  const std::string backupRoot = BackupRootOn("D:\\");

  ASSERT_TRUE(app.Start());
  ASSERT_TRUE(app.Check(bm::单选框_备份));
  ASSERT_TRUE(app.Click(browser.button));
  ASSERT_TRUE(app.WaitForText(bm::标签_文字, browser.backupDone));
  for (size_t i = 0; i < browser.files.size(); ++i) {
    EXPECT_TRUE(FileHolds(backupRoot + browser.files[i].backup, Content(browser, i, "backed up")));
  }

  // The browser has moved on since; the restore brings the backup back.
  for (size_t i = 0; i < browser.files.size(); ++i) Put(browser.files[i].live, Content(browser, i, "changed"));
  ASSERT_TRUE(app.Check(bm::单选框_恢复));
  EXPECT_FALSE(app.IsChecked(bm::单选框_备份));
  ASSERT_TRUE(app.Click(browser.button));
  ASSERT_TRUE(app.WaitForText(bm::标签_文字, browser.restoreDone));
  ASSERT_TRUE(app.Settle());
  for (size_t i = 0; i < browser.files.size(); ++i) {
    EXPECT_TRUE(FileHolds(Expand(browser.files[i].live), Content(browser, i, "backed up")));
  }
}

INSTANTIATE_TEST_SUITE_P(Each, Browsers, testing::ValuesIn(kBrowsers),
                         [](const testing::TestParamInfo<BrowserCase>& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace bm::e2e
