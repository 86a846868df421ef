#include <gtest/gtest.h>

#include <functional>

#include "app/MainWindow.h"
#include "app/BrowserButtons.h"
#include "platform/sim/SimPlatform.h"

namespace bm {
namespace {

const Text kAppPaths = "Software\\Microsoft\\Windows\\CurrentVersion\\App Paths";
const Text kBackup = "D:\\浏览器书签备份2023年4月30日\\遨游浏览器";
const Text kYesterday = "D:\\浏览器书签备份2023年4月29日\\遨游浏览器";
const Text kM3Folder = "C:\\Users\\Tester\\appdata\\Roaming\\Maxthon3\\Users\\guest\\Favorite";
const Text kM5Folder = "C:\\Users\\Tester\\appdata\\Roaming\\Maxthon5\\Users\\guest\\Molebox";
const Text kM3File = kM3Folder + "\\Favorite.dat";
const Text kM5File = kM5Folder + "\\Molebox.dat";
const Text kM7Install = "D:\\Maxthon7";
const Text kM7Folder = kM7Install + "\\User Data\\Maxthon Guest Profile";
const Text kEarlierText = "之前的文字";

const Text kCopied3 = "已复制遨游3浏览器书签到指定目录";
const Text kCopied5 = "已复制遨游5浏览器书签到指定目录";
const Text kCopied7 = "已复制遨游7浏览器书签到指定目录";
const Text kNotFound3 = "未找到遨游3浏览器书签文件";
const Text kNotFound5 = "未找到遨游5浏览器书签文件";
const Text kNotFound7 = "未找到遨游7浏览器书签文件";
const Text kNotFoundAny = "未找到遨游浏览器书签文件";
const Text kRestored3 = "已恢复备份书签到遨游3浏览器";
const Text kRestored5 = "已恢复备份书签到遨游5浏览器";
const Text kRestored7 = "已恢复备份书签到遨游7浏览器";
const Text kNotDetected3 = "未检测到遨游3浏览器目录，请确认已安装并首次打开过遨游3浏览器";
const Text kNotDetected5 = "未检测到遨游5浏览器目录，请确认已安装并首次打开过遨游5浏览器";
const Text kNotDetectedAny = "未检测到遨游浏览器目录，请确认已安装并首次打开过遨游浏览器";
const Text kPickFolder = "未找到备份的书签文件,可手动指定目录";
const Text kNoBackup = "未找到备份的书签文件";

Text BackupFailed(const Text& name) { return name + "书签复制失败，请关闭" + name + "并确认备份位置可以写入"; }
Text RestoreFailed(const Text& name) { return name + "书签恢复失败，请关闭" + name + "后重试"; }

// The App Paths key as a case lays it out.
enum class AppPaths { Missing, Empty, Others, Maxthon7First, Maxthon7Last, Maxthon7EmptyPath, Maxthon7OtherCase };

// A machine with the main window up and D:\ selected.
struct Machine {
  Machine() {
    EXPECT_TRUE(os.CreateMainWindow(MainWindowSpec(), MainWindowControls()));
    os.ComboSelect(组合框_盘符, 0);
    ShowStatus(os, kEarlierText);
  }
  ~Machine() { EXPECT_EQ(os.OpenRegKeyCount(), 0); }

  void Registry(AppPaths appPaths) {
    const auto entry = [&](const Text& name) {
      EXPECT_TRUE(os.CreateRegKey(RegRoot::CurrentUser, kAppPaths + "\\" + name));
    };
    const auto maxthon7 = [&](const Text& path) {
      EXPECT_TRUE(os.SetRegText(RegRoot::CurrentUser, kAppPaths + "\\Maxthon.exe", "Path", path));
    };
    switch (appPaths) {
      case AppPaths::Missing: break;
      case AppPaths::Empty: EXPECT_TRUE(os.CreateRegKey(RegRoot::CurrentUser, kAppPaths)); break;
      case AppPaths::Others: entry("chrome.exe"); entry("zzz.exe"); break;
      case AppPaths::Maxthon7First: maxthon7(kM7Install); entry("Nox.exe"); entry("zzz.exe"); break;
      case AppPaths::Maxthon7Last: entry("chrome.exe"); maxthon7(kM7Install); break;
      case AppPaths::Maxthon7EmptyPath: entry("chrome.exe"); maxthon7(""); break;
      case AppPaths::Maxthon7OtherCase:
        EXPECT_TRUE(os.SetRegText(RegRoot::CurrentUser, kAppPaths + "\\MAXTHON.EXE", "Path", kM7Install));
        break;
    }
  }
  // The profile files of the generations asked for.
  void Profiles(bool m3, bool m5, bool m7) {
    if (m3) {
      EXPECT_TRUE(os.WriteFile(kM3File, "fav3"));
    }
    if (m5) {
      EXPECT_TRUE(os.WriteFile(kM5File, "mole5"));
    }
    if (m7) {
      EXPECT_TRUE(os.WriteFile(kM7Folder + "\\Bookmarks", "bm7"));
      EXPECT_TRUE(os.WriteFile(kM7Folder + "\\Bookmarks.bak", "bak7"));
    }
  }
  // All four files of a backup in `folder`.
  void BackupFiles(const Text& folder) {
    for (const Text name : {"Favorite.dat", "Molebox.dat", "Bookmarks", "Bookmarks.bak"}) {
      EXPECT_TRUE(os.WriteFile(folder + "\\" + name, "saved " + name));
    }
  }
  void Press(int radio) {
    if (radio != 0) os.Click(radio);
    EXPECT_TRUE(PressBrowserButton(os, 超级按钮_遨游浏览器));
  }
  Text Label() { return os.GetControlText(标签_文字); }
  // What the press wrote into the label, in order (the earlier text left out).
  std::vector<Text> Shown() {
    std::vector<Text> writes = os.TextWrites(标签_文字);
    writes.erase(writes.begin());
    return writes;
  }

  SimPlatform os;
};

TEST(Maxthon, OtherButtonsAreLeftToTheirOwnHandlers) {
  Machine m;
  for (int id : {超级按钮_谷歌浏览器, 超级按钮_360极速浏览器, 超级按钮9}) {
    EXPECT_TRUE(ButtonEntry(id) == nullptr || ButtonEntry(id)->kind != BrowserKind::Maxthon);
  }
  EXPECT_EQ(m.Label(), kEarlierText);
}

TEST(Maxthon, WithoutAModeOnlyAsksForOneAfterTheTestsAndTheListing) {
  Machine m;
  m.Registry(AppPaths::Maxthon7Last);
  m.Profiles(true, true, true);
  const Text before = m.os.DumpFiles();
  const int pumpsBefore = m.os.PumpCount();
  m.Press(0);
  EXPECT_EQ(m.Shown(), std::vector<Text>{"请先点选备份或恢复按钮"});
  EXPECT_EQ(m.os.PumpCount() - pumpsBefore, 2);  // one per listed entry
  EXPECT_EQ(m.os.DumpFiles(), before);
}

// ---- backup ----------------------------------------------------------------------------------

TEST(Maxthon, BackupSummaryTellsEachGenerationsOutcomeInOrder) {
  struct Case {
    const char* name;
    bool m3, m5, m7;
    AppPaths appPaths;
    Text label;
  };
  const Case cases[] = {
      {"all three", true, true, true, AppPaths::Maxthon7Last, kCopied3 + kCopied5 + kCopied7},
      {"only Maxthon 7", false, false, true, AppPaths::Maxthon7Last, kNotFound3 + kNotFound5 + kCopied7},
      {"nothing, other entries", false, false, false, AppPaths::Others, kNotFoundAny},
      {"Maxthon 3, Maxthon.exe before others", true, false, true, AppPaths::Maxthon7First,
       kCopied3 + kNotFound5 + kCopied7},
      {"Maxthon 5, other entries", false, true, false, AppPaths::Others, kNotFound3 + kCopied5 + kNotFound7},
      {"Maxthon 3, empty App Paths", true, false, false, AppPaths::Empty, kCopied3 + kNotFound5},
      {"nothing, empty App Paths", false, false, false, AppPaths::Empty, kNotFoundAny},
      {"Maxthon 5, App Paths missing", false, true, false, AppPaths::Missing, kNotFound3 + kCopied5},
      {"nothing, App Paths missing", false, false, false, AppPaths::Missing, kNotFound3 + kNotFound5},
      {"Maxthon 3, Maxthon 7 with an empty Path", true, false, true, AppPaths::Maxthon7EmptyPath,
       kCopied3 + kNotFound5 + kNotFound7},
      {"Maxthon 7 with an empty Path alone", false, false, true, AppPaths::Maxthon7EmptyPath, kNotFoundAny},
      {"Maxthon 7 listed without bookmark files", true, false, false, AppPaths::Maxthon7Last,
       kCopied3 + kNotFound5 + kNotFound7},
      {"Maxthon 7 listed in other letter case", true, false, true, AppPaths::Maxthon7OtherCase,
       kCopied3 + kNotFound5 + kNotFound7},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Machine m;
    m.Registry(c.appPaths);
    m.Profiles(c.m3, c.m5, c.m7);
    m.Press(单选框_备份);
    EXPECT_EQ(m.Label(), c.label);
    EXPECT_EQ(m.os.ReadFile(kBackup + "\\Favorite.dat"), c.m3 ? std::optional<Text>("fav3") : std::nullopt);
    EXPECT_EQ(m.os.ReadFile(kBackup + "\\Molebox.dat"), c.m5 ? std::optional<Text>("mole5") : std::nullopt);
    const bool m7Copied = c.label.find(kCopied7) != Text::npos;
    EXPECT_EQ(m.os.ReadFile(kBackup + "\\Bookmarks"), m7Copied ? std::optional<Text>("bm7") : std::nullopt);
    EXPECT_EQ(m.os.ReadFile(kBackup + "\\Bookmarks.bak"), m7Copied ? std::optional<Text>("bak7") : std::nullopt);
    // Nothing found: no backup folder either.
    if (!c.m3 && !c.m5 && !m7Copied) {
      EXPECT_FALSE(m.os.IsFolder("D:\\浏览器书签备份2023年4月30日"));
    }
  }
}

TEST(Maxthon, TheLabelShowsTheWholeSummaryAfterEachOutcome) {
  Machine m;
  m.Registry(AppPaths::Maxthon7Last);
  m.Profiles(true, false, true);
  m.Press(单选框_备份);
  EXPECT_EQ(m.Shown(), (std::vector<Text>{kCopied3, kCopied3 + kNotFound5, kCopied3 + kNotFound5 + kCopied7}));
}

TEST(Maxthon, BackupOfMaxthon7WithoutItsBakFile) {
  Machine m;
  m.Registry(AppPaths::Maxthon7Last);
  EXPECT_TRUE(m.os.WriteFile(kM7Folder + "\\Bookmarks", "bm7"));
  m.Press(单选框_备份);
  EXPECT_EQ(m.Label(), kNotFound3 + kNotFound5 + kCopied7);
  EXPECT_EQ(m.os.ReadFile(kBackup + "\\Bookmarks"), "bm7");
  EXPECT_FALSE(m.os.IsFile(kBackup + "\\Bookmarks.bak"));
}

TEST(Maxthon, AFailedBackupCopyTakesThePlaceOfThatGenerationsCopiedText) {
  struct Case {
    const char* name;
    Text held;
    Text label;
  };
  const Case cases[] = {
      {"Maxthon 3", kM3File, BackupFailed("遨游3浏览器") + kCopied5 + kCopied7},
      {"Maxthon 5", kM5File, kCopied3 + BackupFailed("遨游5浏览器") + kCopied7},
      {"Maxthon 7", kM7Folder + "\\Bookmarks", kCopied3 + kCopied5 + BackupFailed("遨游7浏览器")},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Machine m;
    m.Registry(AppPaths::Maxthon7Last);
    m.Profiles(true, true, true);
    m.os.HoldOpen(c.held);
    m.Press(单选框_备份);
    EXPECT_EQ(m.Label(), c.label);
  }
}

// ---- restore ------------------------------------------------------------------------------------

TEST(Maxthon, RestoreFromTodaysBackupTellsEachGenerationInTurn) {
  struct Case {
    const char* name;
    bool m3, m5, m7;
    AppPaths appPaths;
    std::vector<Text> shown;
  };
  const Case cases[] = {
      {"all three", true, true, true, AppPaths::Maxthon7Last, {kRestored3, kRestored5, kRestored7}},
      {"only Maxthon 5, other entries", false, true, false, AppPaths::Others, {kNotDetected3, kRestored5}},
      {"nothing, other entries", false, false, false, AppPaths::Others,
       {kNotDetected3, kNotDetected5, kNotDetectedAny}},
      {"nothing, empty App Paths", false, false, false, AppPaths::Empty,
       {kNotDetected3, kNotDetected5, kNotDetectedAny}},
      {"nothing, App Paths missing", false, false, false, AppPaths::Missing, {kNotDetected3, kNotDetected5}},
      {"Maxthon 7 with an empty Path", false, false, true, AppPaths::Maxthon7EmptyPath,
       {kNotDetected3, kNotDetected5, kNotDetectedAny}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Machine m;
    m.Registry(c.appPaths);
    m.Profiles(c.m3, c.m5, c.m7);
    m.BackupFiles(kBackup);
    m.Press(单选框_恢复);
    EXPECT_EQ(m.Shown(), c.shown);
    EXPECT_EQ(m.os.ReadFile(kM3File), c.m3 ? std::optional<Text>("saved Favorite.dat") : std::nullopt);
    EXPECT_EQ(m.os.ReadFile(kM5File), c.m5 ? std::optional<Text>("saved Molebox.dat") : std::nullopt);
    const bool m7Restored = c.appPaths == AppPaths::Maxthon7Last;
    EXPECT_EQ(m.os.ReadFile(kM7Folder + "\\Bookmarks"),
              c.m7 ? std::optional<Text>(m7Restored ? "saved Bookmarks" : "bm7") : std::nullopt);
    EXPECT_EQ(m.os.ReadFile(kM7Folder + "\\Bookmarks.bak"),
              c.m7 ? std::optional<Text>(m7Restored ? "saved Bookmarks.bak" : "bak7") : std::nullopt);
    EXPECT_TRUE(m.os.ChooserCalls().empty());
  }
}

TEST(Maxthon, AMissingFixedGenerationBackupAsksForNoFolderByItself) {
  Machine m;
  m.Registry(AppPaths::Others);
  m.Profiles(true, false, false);
  EXPECT_TRUE(m.os.MakeFolders(kBackup));
  m.Press(单选框_恢复);
  EXPECT_EQ(m.Shown(), (std::vector<Text>{kPickFolder, kNotDetected5}));
  EXPECT_TRUE(m.os.ChooserCalls().empty());
  EXPECT_EQ(m.os.ReadFile(kM3File), "fav3");
}

TEST(Maxthon, ABackupFolderWithOtherGenerationsFilesOnlyLeavesMaxthon7Alone) {
  Machine m;
  m.Registry(AppPaths::Maxthon7Last);
  m.Profiles(true, false, true);
  EXPECT_TRUE(m.os.WriteFile(kBackup + "\\Favorite.dat", "saved3"));
  m.Press(单选框_恢复);
  EXPECT_EQ(m.Shown(), (std::vector<Text>{kRestored3, kNotDetected5}));
  EXPECT_TRUE(m.os.ChooserCalls().empty());
  EXPECT_EQ(m.os.ReadFile(kM3File), "saved3");
  EXPECT_EQ(m.os.ReadFile(kM7Folder + "\\Bookmarks"), "bm7");
}

TEST(Maxthon, WithoutTodaysBackupOneChooserRestoresEveryGenerationFromThePickedFolder) {
  for (bool emptyFolderToday : {false, true}) {
    SCOPED_TRACE(emptyFolderToday ? "today's folder empty" : "today's folder missing");
    Machine m;
    m.Registry(AppPaths::Maxthon7Last);
    m.Profiles(true, true, true);
    if (emptyFolderToday) {
      EXPECT_TRUE(m.os.MakeFolders(kBackup));
    }
    m.BackupFiles(kYesterday);
    m.os.QueueChooserAnswer(ChooserAnswer::Pick(kYesterday));
    m.Press(单选框_恢复);
    // Maxthon 3 and 5 find nothing today; Maxthon 7's step asks for a folder.
    EXPECT_EQ(m.Shown(),
              (std::vector<Text>{kPickFolder, kPickFolder, kPickFolder, kRestored7, kRestored5, kRestored3}));
    ASSERT_EQ(m.os.ChooserCalls().size(), 1u);
    EXPECT_EQ(m.os.ChooserCalls()[0].startFolder, "D:\\");
    EXPECT_EQ(m.os.ChooserCalls()[0].title, "请选择一个文件夹");
    EXPECT_EQ(m.os.ReadFile(kM3File), "saved Favorite.dat");
    EXPECT_EQ(m.os.ReadFile(kM5File), "saved Molebox.dat");
    EXPECT_EQ(m.os.ReadFile(kM7Folder + "\\Bookmarks"), "saved Bookmarks");
    EXPECT_EQ(m.os.ReadFile(kM7Folder + "\\Bookmarks.bak"), "saved Bookmarks.bak");
  }
}

TEST(Maxthon, TheChosenFolderFillsOnlyGenerationsThatArePresent) {
  Machine m;
  m.Registry(AppPaths::Maxthon7Last);
  m.Profiles(false, false, true);
  m.BackupFiles(kYesterday);
  m.os.QueueChooserAnswer(ChooserAnswer::Pick(kYesterday));
  m.Press(单选框_恢复);
  EXPECT_EQ(m.Label(), kRestored7);
  EXPECT_EQ(m.os.ReadFile(kM7Folder + "\\Bookmarks"), "saved Bookmarks");
  EXPECT_FALSE(m.os.IsFolder(kM3Folder));
  EXPECT_FALSE(m.os.IsFolder(kM5Folder));
}

// A generation already reported as not detected in this press takes nothing
// from the chosen folder, even when its profile folder is there.
TEST(Maxthon, TheChosenFolderLeavesAGenerationWithoutItsProfileFileAlone) {
  Machine m;
  m.Registry(AppPaths::Maxthon7Last);
  m.Profiles(false, false, true);
  EXPECT_TRUE(m.os.MakeFolders(kM3Folder));
  EXPECT_TRUE(m.os.MakeFolders(kM5Folder));
  m.BackupFiles(kYesterday);
  m.os.QueueChooserAnswer(ChooserAnswer::Pick(kYesterday));
  m.Press(单选框_恢复);
  EXPECT_EQ(m.Shown(), (std::vector<Text>{kNotDetected3, kNotDetected5, kPickFolder, kRestored7}));
  EXPECT_FALSE(m.os.IsFile(kM3File));
  EXPECT_FALSE(m.os.IsFile(kM5File));
  EXPECT_EQ(m.os.ReadFile(kM7Folder + "\\Bookmarks"), "saved Bookmarks");
}

TEST(Maxthon, TheChosenFolderNeverCreatesMaxthon7sProfileFolder) {
  Machine m;
  m.Registry(AppPaths::Maxthon7Last);
  m.Profiles(true, false, false);
  m.BackupFiles(kYesterday);
  m.os.QueueChooserAnswer(ChooserAnswer::Pick(kYesterday));
  m.Press(单选框_恢复);
  // Without today's folder Maxthon 7's step opens the chooser, and the picked
  // folder serves Maxthon 3 only.
  EXPECT_EQ(m.Shown(), (std::vector<Text>{kPickFolder, kNotDetected5, kPickFolder, kRestored3}));
  EXPECT_EQ(m.os.ReadFile(kM3File), "saved Favorite.dat");
  EXPECT_FALSE(m.os.IsFolder(kM7Folder));
  EXPECT_FALSE(m.os.IsFolder(kM5Folder));
}

TEST(Maxthon, AChosenFolderWithNoGenerationToFillEndsWithNoBackupFound) {
  Machine m;
  m.Registry(AppPaths::Maxthon7Last);
  m.BackupFiles(kYesterday);
  const Text before = m.os.DumpFiles();
  m.os.QueueChooserAnswer(ChooserAnswer::Pick(kYesterday));
  m.Press(单选框_恢复);
  EXPECT_EQ(m.Shown(), (std::vector<Text>{kNotDetected3, kNotDetected5, kPickFolder, kNoBackup}));
  EXPECT_EQ(m.os.DumpFiles(), before);
}

TEST(Maxthon, ChosenFoldersThatHoldNothingRestoreNothing) {
  struct Case {
    const char* name;
    ChooserAnswer answer;
  };
  const Case cases[] = {
      {"a folder without the files", ChooserAnswer::Pick("D:\\其他")},
      {"cancelled", ChooserAnswer::Cancelled()},
      {"an item outside the file system", ChooserAnswer::VirtualItem()},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Machine m;
    m.Registry(AppPaths::Maxthon7Last);
    m.Profiles(true, true, true);
    EXPECT_TRUE(m.os.MakeFolders("D:\\其他"));
    // Files at the drive roots must not be taken for a chosen folder's.
    m.BackupFiles("C:");
    m.BackupFiles("D:");
    const Text before = m.os.DumpFiles();
    m.os.QueueChooserAnswer(c.answer);
    m.Press(单选框_恢复);
    EXPECT_EQ(m.Label(), kNoBackup);
    EXPECT_EQ(m.os.ChooserCalls().size(), 1u);
    EXPECT_EQ(m.os.DumpFiles(), before);
  }
}

TEST(Maxthon, AFailedRestoreCopyIsReportedAsAFailure) {
  struct Case {
    const char* name;
    Text held;
    std::vector<Text> shown;
  };
  const Case cases[] = {
      {"Maxthon 3", kM3File, {RestoreFailed("遨游3浏览器"), kRestored5, kRestored7}},
      {"Maxthon 5", kM5File, {kRestored3, RestoreFailed("遨游5浏览器"), kRestored7}},
      {"Maxthon 7", kM7Folder + "\\Bookmarks.bak", {kRestored3, kRestored5, RestoreFailed("遨游7浏览器")}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Machine m;
    m.Registry(AppPaths::Maxthon7Last);
    m.Profiles(true, true, true);
    m.BackupFiles(kBackup);
    m.os.HoldOpen(c.held);
    m.Press(单选框_恢复);
    EXPECT_EQ(m.Shown(), c.shown);
  }
}

TEST(Maxthon, RestoreOfMaxthon7WithoutItsProfileFolderFailsAndCreatesNone) {
  Machine m;
  m.Registry(AppPaths::Maxthon7Last);
  m.BackupFiles(kBackup);
  m.Press(单选框_恢复);
  EXPECT_EQ(m.Label(), RestoreFailed("遨游7浏览器"));
  EXPECT_FALSE(m.os.IsFolder(kM7Folder));
}

}  // namespace
}  // namespace bm
