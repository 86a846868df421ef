// The one-click backup and restore on the simulated Windows: every row of the
// catalogue, the summary byte for byte, and the layouts the single buttons use.
#include <gtest/gtest.h>

#include <functional>
#include <map>

#include "app/MainWindow.h"
#include "app/OneClickButtons.h"
#include "app/OutcomeTexts.h"
#include "oneclick/OneClick.h"
#include "unit/BrowserWindowTest.h"

namespace bm {
namespace {

const Text kProfile = "C:\\Users\\Tester";
const Text kToday = "D:\\浏览器书签备份2023年4月30日";
const Text kAppPaths = "Software\\Microsoft\\Windows\\CurrentVersion\\App Paths";
const Text kInstall360 = "C:\\Program Files\\360\\";
const Text kMaxthon7 = "C:\\Maxthon7";

using Files = std::map<Text, Text>;  // path -> bytes

// A backup row: what the profile holds, what the backup must hold afterwards
// (below today's folder), and the line the summary gets.
struct BackupRowCase {
  const char* label;
  Files profile;
  std::vector<std::pair<Text, Text>> appPaths;  // entry name -> "Path"
  Files backup;
  Text line;
};

std::vector<BackupRowCase> BackupRows() {
  const Text chrome = kProfile + "\\appdata\\Local\\Google\\Chrome\\User Data\\Default\\";
  const Text edge = kProfile + "\\appdata\\Local\\Microsoft\\Edge\\User Data\\Default\\";
  const Text sogou = kProfile + "\\AppData\\Roaming\\Sogouexplorer\\";
  const Text firefox = kProfile + "\\AppData\\Roaming\\Mozilla\\Firefox\\Profiles\\";
  const Text profile360 = kInstall360 + "User Data\\Default\\";
  const Text m7 = kMaxthon7 + "\\User Data\\Maxthon Guest Profile\\";
  return {
      {"Chrome", {{chrome + "Bookmarks", "c1"}, {chrome + "Bookmarks.bak", "c2"}}, {},
       {{"\\谷歌浏览器\\Bookmarks", "c1"}, {"\\谷歌浏览器\\Bookmarks.bak", "c2"}}, "已备份谷歌浏览器\r\n"},
      {"ChromeBakOnly", {{chrome + "Bookmarks.bak", "c2"}}, {}, {{"\\谷歌浏览器\\Bookmarks.bak", "c2"}},
       "已备份谷歌浏览器\r\n"},
      {"IE", {{kProfile + "\\Favorites\\a.url", "ie"}}, {}, {{"\\IE浏览器\\a.url", "ie"}}, "已备份IE浏览器\r\n"},
      {"Edge", {{edge + "Bookmarks", "e1"}, {edge + "Bookmarks.bak", "e2"}}, {},
       {{"\\Edge浏览器\\Bookmarks", "e1"}, {"\\Edge浏览器\\Bookmarks.bak", "e2"}}, "已备份Edge浏览器\r\n"},
      {"SogouBoth", {{sogou + "favorite2.dat", "s2"}, {sogou + "favorite3.dat", "s3"}}, {},
       {{"\\搜狗浏览器\\favorite2.dat", "s2"}, {"\\搜狗浏览器\\favorite3.dat", "s3"}},
       "已备份搜狗浏览器\r\n已备份搜狗浏览器\r\n"},
      {"SogouThird", {{sogou + "favorite3.dat", "s3"}}, {}, {{"\\搜狗浏览器\\favorite3.dat", "s3"}},
       "已备份搜狗浏览器\r\n"},
      {"TSBrowser", {{kProfile + "\\appdata\\Local\\TSBrowser\\User Data\\Default\\Bookmarks", "ts"}}, {},
       {{"\\极速浏览器\\Bookmarks", "ts"}}, "已备份极速浏览器\r\n"},
      {"Firefox",
       {{firefox + "a.default\\places.sqlite", "fa"}, {firefox + "b.work\\places.sqlite", "fb"},
        {firefox + "b.work\\places.sqlite-wal", "wal"}, {firefox + "c.empty\\prefs.js", "p"}},
       {},
       {{"\\火狐浏览器\\a.default\\places.sqlite", "fa"},
        {"\\火狐浏览器\\b.work\\places.sqlite", "fb"},
        {"\\火狐浏览器\\b.work\\places.sqlite-wal", "wal"}},
       "已备份火狐浏览器\r\n"},
      {"FirefoxWithoutDatabases", {{firefox + "c.empty\\prefs.js", "p"}}, {}, {}, "已备份火狐浏览器\r\n"},
      {"Maxthon3", {{kProfile + "\\AppData\\Roaming\\Maxthon3\\Users\\guest\\Favorite\\Favorite.dat", "m3"}}, {},
       {{"\\遨游浏览器\\Favorite.dat", "m3"}}, "已备份遨游3浏览器\r\n"},
      {"Maxthon5", {{kProfile + "\\AppData\\Roaming\\Maxthon5\\Users\\guest\\Molebox\\Molebox.dat", "m5"}}, {},
       {{"\\遨游浏览器\\Molebox.dat", "m5"}}, "已备份遨游5浏览器\r\n"},
      {"Maxthon7", {{m7 + "Bookmarks", "m7"}, {m7 + "Bookmarks.bak", "m7b"}}, {{"Maxthon.exe", kMaxthon7}},
       {{"\\遨游浏览器\\Bookmarks", "m7"}, {"\\遨游浏览器\\Bookmarks.bak", "m7b"}}, "已备份遨游7浏览器\r\n"},
      {"Speed360", {{profile360 + "Bookmarks", "b"}, {profile360 + "360Bookmarks", "b360"}},
       {{"360chrome.exe", kInstall360 + "360chrome.exe"}},
       {{"\\360极速浏览器\\Bookmarks", "b"}, {"\\360极速浏览器\\360Bookmarks", "b360"}}, "已备份360极速浏览器\r\n"},
      {"Speed360X", {{profile360 + "Bookmarks", "b"}}, {{"360chromeX.exe", kInstall360 + "x.exe"}},
       {{"\\360极速X浏览器\\Bookmarks", "b"}}, "已备份360极速X浏览器\r\n"},
      {"Safe360", {{profile360 + "360Bookmarks", "b360"}}, {{"360se6.exe", kInstall360 + "360se.exe"}},
       {{"\\360安全浏览器\\360Bookmarks", "b360"}}, "已备份360安全浏览器\r\n"},
      {"QQ", {{kProfile + "\\appdata\\Local\\Tencent\\QQBrowser\\User Data\\Default\\Bookmarks_01", "qq"}}, {},
       {{"\\QQ浏览器\\Bookmarks_01", "qq"}}, "已备份QQ浏览器\r\n"},
      {"DualCoreSmall", {{kProfile + "\\appdata\\Local\\ChromeCore\\User Data\\Default\\Favourites", "ds"}}, {},
       {{"\\双核浏览器小\\Favourites", "ds"}}, "已备份双核浏览器小\r\n"},
      {"DualCoreLarge", {{kProfile + "\\appdata\\Local\\Chromium\\GbrowserData\\Default\\Bookmarks", "dl"}}, {},
       {{"\\双核浏览器大\\Bookmarks", "dl"}}, "已备份双核浏览器大\r\n"},
      // The last line has no line break.
      {"Liebao", {{kProfile + "\\appdata\\Local\\liebao\\User Data\\Default\\Bookmarks", "lb"}}, {},
       {{"\\猎豹浏览器\\Bookmarks", "lb"}}, "已备份猎豹浏览器"},
  };
}

void PrintTo(const BackupRowCase& c, std::ostream* out) { *out << c.label; }

// Builds the summary exactly as the button's worker does.
class SummarySink : public RowSink {
 public:
  void Row(const BrowserEntry& entry, Outcome outcome) override { summary += OneClickLine(entry, outcome); }
  Text summary;
};

class OneClickTest : public BrowserWindowTest {
 protected:
  void SetUp() override {
    BrowserWindowTest::SetUp();
    ASSERT_TRUE(os.MakeFolders(kProfile));
  }
  void Lay(const Files& files) {
    for (const auto& file : files) Write(file.first, file.second);
  }
  void AppPath(const Text& entry, const Text& path) {
    ASSERT_TRUE(os.SetRegText(RegRoot::CurrentUser, kAppPaths + "\\" + entry, "Path", path));
  }
  TextList AppPathsNames() {
    TextList names;
    for (const Text& name : os.RegSubkeyNames(RegRoot::CurrentUser, kAppPaths)) names.push_back(name);
    return names;
  }
  OneClickBackupResult Backup(SummarySink& sink) {
    return RunOneClickBackup(os, kProfile, kToday, AppPathsNames(), sink);
  }
};

class OneClickBackupRowTest : public OneClickTest, public ::testing::WithParamInterface<BackupRowCase> {};

TEST_P(OneClickBackupRowTest, ABrowserAloneGetsItsFilesAndItsLine) {
  const BackupRowCase& c = GetParam();
  Lay(c.profile);
  for (const auto& entry : c.appPaths) AppPath(entry.first, entry.second);
  SummarySink sink;
  EXPECT_EQ(Backup(sink), OneClickBackupResult::Done);
  EXPECT_EQ(sink.summary, c.line);
  for (const auto& file : c.backup) EXPECT_EQ(Read(kToday + file.first), file.second) << file.first;
}

INSTANTIATE_TEST_SUITE_P(EveryRow, OneClickBackupRowTest, ::testing::ValuesIn(BackupRows()));

TEST_F(OneClickTest, EveryBrowserAtOnceGivesTheWholeSummaryInCatalogueOrder) {
  Text expected;
  for (const BackupRowCase& c : BackupRows()) {
    // One case per row: the variants of a row are left out.
    const Text label = c.label;
    if (label == "ChromeBakOnly" || label == "SogouThird" || label == "FirefoxWithoutDatabases") continue;
    Lay(c.profile);
    for (const auto& entry : c.appPaths) AppPath(entry.first, entry.second);
    expected += c.line;
  }
  SummarySink sink;
  Backup(sink);
  EXPECT_EQ(sink.summary, expected);
}

TEST_F(OneClickTest, BrowsersThatAreNotThereAddNothing) {
  struct Case {
    const char* label;
    std::function<void()> lay;
  };
  const Text profile360 = kInstall360 + "User Data\\Default\\Bookmarks";
  const Case cases[] = {
      {"nothing at all", [] {}},
      {"an empty Favorites folder", [this] { ASSERT_TRUE(os.MakeFolders(kProfile + "\\Favorites")); }},
      {"360 files without an App Paths entry", [&] { Write(profile360, "b"); }},
      {"an App Paths entry in other letter case",
       [&] {
         Write(profile360, "b");
         AppPath("360CHROME.EXE", kInstall360 + "360chrome.exe");
       }},
      {"an empty Path",
       [&] {
         Write(profile360, "b");
         AppPath("360chrome.exe", "");
         AppPath("Maxthon.exe", "");
       }},
      {"an install without bookmark files", [&] { AppPath("360se6.exe", kInstall360 + "a.exe"); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    os = SimPlatform();
    SetUp();
    c.lay();
    SummarySink sink;
    EXPECT_EQ(Backup(sink), OneClickBackupResult::Done);
    EXPECT_EQ(sink.summary, "");
  }
}

TEST_F(OneClickTest, LooseFilesOfTodaysFolderGoToTheBinAndSubFoldersStay) {
  Write(kToday + "\\loose.txt", "old");
  Write(kToday + "\\猎豹浏览器\\Bookmarks", "earlier run");
  SummarySink sink;
  Backup(sink);
  EXPECT_FALSE(os.IsFile(kToday + "\\loose.txt"));
  ASSERT_EQ(os.RecycleBin().size(), 1u);
  EXPECT_EQ(os.RecycleBin()[0].originalPath, kToday + "\\loose.txt");
  EXPECT_EQ(Read(kToday + "\\猎豹浏览器\\Bookmarks"), "earlier run");
}

TEST_F(OneClickTest, ABackupFolderThatCannotBeCreatedBacksUpNothing) {
  Write(kProfile + "\\Favorites\\a.url", "ie");
  os.SetDriveReadOnly('D', true);
  SummarySink sink;
  EXPECT_EQ(Backup(sink), OneClickBackupResult::NoBackupRoot);
  EXPECT_EQ(sink.summary, "");
}

TEST_F(OneClickTest, FailedCopiesOfExistingFilesAreReportedAsFailures) {
  const Text chrome = kProfile + "\\appdata\\Local\\Google\\Chrome\\User Data\\Default\\Bookmarks";
  const Text liebao = kProfile + "\\appdata\\Local\\liebao\\User Data\\Default\\Bookmarks";
  Write(chrome, "c");
  Write(liebao, "l");
  os.HoldOpen(chrome);
  os.HoldOpen(liebao);
  SummarySink sink;
  Backup(sink);
  EXPECT_EQ(sink.summary, "谷歌浏览器备份失败\r\n猎豹浏览器备份失败");
}

// ---- restore --------------------------------------------------------------------------------

// A restore row: the backup sub-folder's files, the profile folder that must
// exist for the row to act (empty: none needed), and where the files land.
struct RestoreRowCase {
  const char* label;
  Text subFolder;
  Text targetFolder;  // the profile or install folder
  bool targetTested;
  std::vector<std::pair<Text, Text>> appPaths;
  Text message;
};

std::vector<RestoreRowCase> RestoreRows() {
  const Text local = kProfile + "\\appdata\\Local\\";
  return {
      {"Chrome", "谷歌浏览器", local + "Google\\Chrome\\User Data\\Default", true, {}, "已恢复谷歌浏览器收藏夹"},
      {"IE", "IE浏览器", kProfile + "\\Favorites", false, {}, "已恢复IE浏览器收藏夹"},
      {"Edge", "Edge浏览器", local + "Microsoft\\Edge\\User Data\\Default", true, {}, "已恢复Edge浏览器收藏夹"},
      {"Sogou", "搜狗浏览器", kProfile + "\\AppData\\Roaming\\Sogouexplorer", true, {}, "已恢复搜狗浏览器收藏夹"},
      {"TSBrowser", "极速浏览器", local + "TSBrowser\\User Data\\Default", true, {}, "已恢复极速浏览器收藏夹"},
      {"Speed360", "360极速浏览器", kInstall360 + "User Data\\Default", false,
       {{"360chrome.exe", kInstall360 + "360chrome.exe"}}, "已恢复360极速浏览器收藏夹"},
      {"Speed360X", "360极速X浏览器", kInstall360 + "User Data\\Default", false,
       {{"360chromeX.exe", kInstall360 + "x.exe"}}, "已恢复360极速X浏览器收藏夹"},
      {"Safe360", "360安全浏览器", kInstall360 + "User Data\\Default", false,
       {{"360se6.exe", kInstall360 + "se.exe"}}, "已恢复360安全浏览器收藏夹"},
      {"QQ", "QQ浏览器", local + "Tencent\\QQBrowser\\User Data\\Default", true, {}, "已恢复QQ浏览器收藏夹"},
      {"DualCoreSmall", "双核浏览器小", local + "ChromeCore\\User Data\\Default", true, {}, "已恢复双核浏览器小收藏夹"},
      {"DualCoreLarge", "双核浏览器大", local + "Chromium\\GbrowserData\\Default", true, {}, "已恢复双核浏览器大收藏夹"},
      {"Liebao", "猎豹浏览器", local + "liebao\\User Data\\Default", true, {}, "已恢复猎豹浏览器收藏夹"},
  };
}

void PrintTo(const RestoreRowCase& c, std::ostream* out) { *out << c.label; }

class OneClickRestoreRowTest : public OneClickTest, public ::testing::WithParamInterface<RestoreRowCase> {
 protected:
  void PressRestore() { os.Click(超级按钮_一键恢复书签); }
};

TEST_P(OneClickRestoreRowTest, TheWholeSubFolderLandsInTheProfileAndTheMessageIsShown) {
  const RestoreRowCase& c = GetParam();
  for (const auto& entry : c.appPaths) AppPath(entry.first, entry.second);
  Write(kToday + "\\" + c.subFolder + "\\Bookmarks", "saved");
  Write(kToday + "\\" + c.subFolder + "\\extra.txt", "more");
  Write(c.targetFolder + "\\Bookmarks", "current");
  Write(c.targetFolder + "\\Preferences", "kept");
  PressRestore();
  EXPECT_EQ(Status(), c.message);
  EXPECT_EQ(Read(c.targetFolder + "\\Bookmarks"), "saved");
  EXPECT_EQ(Read(c.targetFolder + "\\extra.txt"), "more");
  EXPECT_EQ(Read(c.targetFolder + "\\Preferences"), "kept");
  ASSERT_EQ(os.MessageBoxes().size(), 1u);
  EXPECT_EQ(os.MessageBoxes()[0].text, "完成收藏夹恢复");
}

TEST_P(OneClickRestoreRowTest, AMissingProfileFolderSkipsTheRowUnlessItIsNotTested) {
  const RestoreRowCase& c = GetParam();
  for (const auto& entry : c.appPaths) AppPath(entry.first, entry.second);
  ASSERT_TRUE(os.MakeFolders(c.targetFolder.substr(0, c.targetFolder.rfind('\\'))));
  Write(kToday + "\\" + c.subFolder + "\\Bookmarks", "saved");
  PressRestore();
  if (c.targetTested) {
    EXPECT_FALSE(os.IsFile(c.targetFolder + "\\Bookmarks"));
    EXPECT_EQ(Status(), "未找到备份的收藏夹目录");
    EXPECT_TRUE(os.MessageBoxes().empty());
  } else {
    // Restored into a folder that was not there: only its parent is.
    EXPECT_EQ(Read(c.targetFolder + "\\Bookmarks"), "saved");
    EXPECT_EQ(Status(), c.message);
  }
}

INSTANTIATE_TEST_SUITE_P(EveryRow, OneClickRestoreRowTest, ::testing::ValuesIn(RestoreRows()));

class OneClickRestore : public OneClickTest {
 protected:
  void PressRestore() { os.Click(超级按钮_一键恢复书签); }
  void LayMaxthon(const Text& folder) {
    Write(folder + "\\遨游浏览器\\Favorite.dat", "f3");
    Write(folder + "\\遨游浏览器\\Molebox.dat", "m5");
    Write(folder + "\\遨游浏览器\\Bookmarks.bak", "b7");
  }
};

TEST_F(OneClickRestore, MaxthonsGenerationsTakeTheirOwnFilesFromTheSharedSubFolder) {
  const Text m3 = kProfile + "\\AppData\\Roaming\\Maxthon3\\Users\\guest\\Favorite";
  const Text m5 = kProfile + "\\AppData\\Roaming\\Maxthon5\\Users\\guest\\Molebox";
  ASSERT_TRUE(os.MakeFolders(m3));
  ASSERT_TRUE(os.MakeFolders(m5));
  AppPath("Maxthon.exe", kMaxthon7);
  ASSERT_TRUE(os.MakeFolders(kMaxthon7 + "\\User Data\\Maxthon Guest Profile"));
  LayMaxthon(kToday);
  PressRestore();
  EXPECT_EQ(Status(), "已恢复遨游3浏览器收藏夹已恢复遨游5浏览器收藏夹已恢复遨游7浏览器收藏夹");
  EXPECT_EQ(Read(m3 + "\\Favorite.dat"), "f3");
  EXPECT_EQ(Read(m5 + "\\Molebox.dat"), "m5");
  EXPECT_EQ(Read(kMaxthon7 + "\\User Data\\Maxthon Guest Profile\\Bookmarks.bak"), "b7");
  EXPECT_FALSE(os.IsFile(m3 + "\\Molebox.dat")) << "each generation takes only its own file";
}

TEST_F(OneClickRestore, MaxthonGenerationsThatAreNotThereAreSkipped) {
  AppPath("Maxthon.exe", "");
  LayMaxthon(kToday);
  Write(kToday + "\\IE浏览器\\a.url", "ie");
  PressRestore();
  EXPECT_EQ(Status(), "已恢复IE浏览器收藏夹");
}

TEST_F(OneClickRestore, FirefoxIsLeftToItsOwnButton) {
  Write(kToday + "\\火狐浏览器\\a.default\\places.sqlite", "saved");
  Write(kProfile + "\\AppData\\Roaming\\Mozilla\\Firefox\\Profiles\\a.default\\places.sqlite", "current");
  PressRestore();
  EXPECT_EQ(Status(), "火狐浏览器请单独恢复");
  EXPECT_EQ(Read(kProfile + "\\AppData\\Roaming\\Mozilla\\Firefox\\Profiles\\a.default\\places.sqlite"), "current");
}

TEST_F(OneClickRestore, MessagesFollowEachOtherWithoutBreaks) {
  Write(kToday + "\\谷歌浏览器\\Bookmarks", "c");
  ASSERT_TRUE(os.MakeFolders(kProfile + "\\appdata\\Local\\Google\\Chrome\\User Data\\Default"));
  Write(kToday + "\\IE浏览器\\a.url", "ie");
  PressRestore();
  EXPECT_EQ(Status(), "已恢复谷歌浏览器收藏夹已恢复IE浏览器收藏夹");
}

TEST_F(OneClickRestore, WithoutTodaysFolderOneChosenFolderServesEveryBrowser) {
  const Text older = "D:\\浏览器书签备份2023年4月1日";
  Write(older + "\\IE浏览器\\a.url", "ie");
  os.QueueChooserAnswer(ChooserAnswer::Pick(older));
  PressRestore();
  ASSERT_EQ(os.ChooserCalls().size(), 1u);
  EXPECT_EQ(os.ChooserCalls()[0].startFolder, "D:\\");
  EXPECT_EQ(os.ChooserCalls()[0].TextWhileOpen(标签_文字), "未检测到备份文件夹，请更换盘符路径或手动选择目录！");
  EXPECT_EQ(Read(kProfile + "\\Favorites\\a.url"), "ie");
  EXPECT_EQ(Status(), "已恢复IE浏览器收藏夹");
  EXPECT_EQ(os.MessageBoxes().size(), 1u);
}

TEST_F(OneClickRestore, ChoicesThatRestoreNothingShowNoBox) {
  struct Case {
    const char* label;
    std::function<void()> choose;
    Text status;
  };
  const Case cases[] = {
      {"cancelled", [this] { os.QueueChooserAnswer(ChooserAnswer::Cancelled()); },
       "未检测到备份文件夹，请更换盘符路径或手动选择目录！"},
      {"a virtual item", [this] { os.QueueChooserAnswer(ChooserAnswer::VirtualItem()); },
       "未检测到备份文件夹，请更换盘符路径或手动选择目录！"},
      {"an empty folder",
       [this] {
         ASSERT_TRUE(os.MakeFolders("D:\\空"));
         os.QueueChooserAnswer(ChooserAnswer::Pick("D:\\空"));
       },
       "未找到备份的收藏夹目录"},
      {"a folder with no browser's backup",
       [this] {
         Write("D:\\别的\\notes.txt", "x");
         os.QueueChooserAnswer(ChooserAnswer::Pick("D:\\别的"));
       },
       "未找到备份的收藏夹目录"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    os = SimPlatform();
    SetUp();
    c.choose();
    const Text before = os.DumpFiles();
    PressRestore();
    EXPECT_EQ(Status(), c.status);
    EXPECT_TRUE(os.MessageBoxes().empty());
    EXPECT_EQ(os.DumpFiles(), before);
  }
}

TEST_F(OneClickRestore, AFailedCopyIsReportedAsAFailure) {
  const Text profile = kProfile + "\\appdata\\Local\\Google\\Chrome\\User Data\\Default";
  Write(kToday + "\\谷歌浏览器\\Bookmarks", "saved");
  Write(profile + "\\Bookmarks", "current");
  os.HoldOpen(profile + "\\Bookmarks");
  PressRestore();
  EXPECT_EQ(Status(), "谷歌浏览器收藏夹恢复失败");
}

}  // namespace
}  // namespace bm

namespace bm {
namespace {

// ---- the backup button: a worker thread --------------------------------------------------------

class OneClickBackupButton : public OneClickTest {
 protected:
  void SetUp() override {
    OneClickTest::SetUp();
    Write(kProfile + "\\Favorites\\a.url", "ie");
    Write(kProfile + "\\appdata\\Local\\liebao\\User Data\\Default\\Bookmarks", "lb");
  }
  void PressBackup() { os.Click(超级按钮_一键备份书签); }
  // The run ends, and the window's thread handles what it posted.
  void Finish() {
    os.JoinThreads();
    os.PumpMessages();
  }
};

TEST_F(OneClickBackupButton, TheSummaryReachesTheLabelAndTheNoticeEndsTheRun) {
  PressBackup();
  Finish();
  EXPECT_EQ(Status(), "已备份IE浏览器\r\n已备份猎豹浏览器");
  EXPECT_EQ(Read(kToday + "\\猎豹浏览器\\Bookmarks"), "lb");
  const std::vector<ShownMessageBox> boxes = os.MessageBoxes();
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].text, "完成书签备份");
  EXPECT_EQ(boxes[0].title, "提示");
  EXPECT_EQ(boxes[0].style, kMbOk | kMbIconInformation);
  EXPECT_EQ(boxes[0].timeoutMs, 5000u);
  // Every write the label saw was a whole summary so far, never a torn one.
  for (const Text& shown : os.TextWrites(标签_文字)) EXPECT_EQ(Status().compare(0, shown.size(), shown), 0) << shown;
  EXPECT_TRUE(os.WindowWritesFromOtherThreads().empty());
}

TEST_F(OneClickBackupButton, TheButtonIsDisabledForTheRunAndASecondPressStartsNothing) {
  PressBackup();
  EXPECT_FALSE(os.IsControlEnabled(超级按钮_一键备份书签));
  PressBackup();  // a disabled button takes no click
  events.OnControlEvent(超级按钮_一键备份书签, ControlEvent::Clicked);  // and a press that still arrives is refused
  Finish();
  EXPECT_TRUE(os.IsControlEnabled(超级按钮_一键备份书签));
  EXPECT_EQ(os.MessageBoxes().size(), 1u);
  EXPECT_EQ(Status(), "已备份IE浏览器\r\n已备份猎豹浏览器");
  PressBackup();
  Finish();
  EXPECT_EQ(os.MessageBoxes().size(), 2u) << "a press after the notice starts a new run";
}

TEST_F(OneClickBackupButton, OneRunGoesIntoTheFolderOfTheDriveAndDayItStartedWith) {
  os.AddDrive('E');
  PressBackup();
  os.PickComboItem(组合框_盘符, 1);
  os.SetDate(2023, 5, 1);
  Finish();
  EXPECT_EQ(Read(kToday + "\\IE浏览器\\a.url"), "ie");
  EXPECT_EQ(Read(kToday + "\\猎豹浏览器\\Bookmarks"), "lb");
  EXPECT_FALSE(os.IsFolder("E:\\浏览器书签备份2023年5月1日"));
  EXPECT_FALSE(os.IsFolder("D:\\浏览器书签备份2023年5月1日"));
}

TEST_F(OneClickBackupButton, AnUnusableDriveIsSaidAndNoNoticeClaimsABackup) {
  os.SetDriveReadOnly('D', true);
  PressBackup();
  Finish();
  EXPECT_EQ(Status(), "无法创建备份文件夹，请确认所选盘符可用");
  EXPECT_TRUE(os.MessageBoxes().empty());
  EXPECT_TRUE(os.IsControlEnabled(超级按钮_一键备份书签));
}

TEST_F(OneClickBackupButton, AThreadThatCannotStartLeavesTheButtonUsable) {
  os.SetThreadStartFails(true);
  PressBackup();
  EXPECT_TRUE(os.IsControlEnabled(超级按钮_一键备份书签));
  os.SetThreadStartFails(false);
  PressBackup();
  Finish();
  EXPECT_EQ(os.MessageBoxes().size(), 1u);
}

TEST_F(OneClickBackupButton, BothOneClickButtonsIgnoreTheMode) {
  os.Click(单选框_恢复);
  PressBackup();
  Finish();
  EXPECT_EQ(Status(), "已备份IE浏览器\r\n已备份猎豹浏览器");
  os.Click(单选框_备份);
  os.Click(超级按钮_一键恢复书签);
  EXPECT_EQ(Status(), "已恢复IE浏览器收藏夹已恢复猎豹浏览器收藏夹");
}

}  // namespace
}  // namespace bm
