#include <gtest/gtest.h>

#include <functional>

#include "app/MainWindow.h"
#include "app/BrowserButtons.h"
#include "platform/sim/SimPlatform.h"

namespace bm {
namespace {

const Text kAppPaths = "Software\\Microsoft\\Windows\\CurrentVersion\\App Paths";
const Text kToday = "D:\\浏览器书签备份2023年4月30日";
const Text kYesterday = "D:\\浏览器书签备份2023年4月29日";
const Text kInstall = "C:\\Program Files\\360\\Browser\\";
const Text kProfile = kInstall + "User Data\\Default\\";
const Text kEarlierText = "之前的文字";

// One column per browser, written out as the user sees it.
struct Column {
  int controlId;
  Text entryName;
  Text backupFolder;
  Text name;
};

void PrintTo(const Column& c, std::ostream* out) { *out << c.entryName; }

const Column kColumns[] = {
    {超级按钮_360极速浏览器, "360chrome.exe", "\\360极速浏览器", "360极速浏览器"},
    {超级按钮_360安全浏览器, "360se6.exe", "\\360安全浏览器", "360安全浏览器"},
    {超级按钮_360极速浏览器X, "360chromeX.exe", "\\360极速X浏览器", "360极速X浏览器"},
};

Text UpperCase(Text text) {
  for (char& c : text) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return text;
}

// A machine with the main window up, D:\ selected, and one browser's column.
struct Machine {
  explicit Machine(const Column& column) : c(column) {
    EXPECT_TRUE(os.CreateMainWindow(MainWindowSpec(), MainWindowControls()));
    os.ComboSelect(组合框_盘符, 0);
    ShowStatus(os, kEarlierText);
  }
  ~Machine() { EXPECT_EQ(os.OpenRegKeyCount(), 0); }

  Text NotFound() const { return "未找到" + c.name + "书签文件，请确认已安装" + c.name; }
  Text BackupDone() const { return "已复制" + c.name + "书签到指定目录"; }
  Text RestoreDone() const { return "已恢复备份书签到" + c.name; }
  Text BackupFailed() const { return c.name + "书签复制失败，请关闭" + c.name + "并确认备份位置可以写入"; }
  Text RestoreFailed() const { return c.name + "书签恢复失败，请关闭" + c.name + "后重试"; }
  Text TodaysBackup() const { return kToday + c.backupFolder; }

  // The browser's entry between two others, its "Path" naming the program folder.
  void Install(const Text& path = kInstall + "Application") {
    EXPECT_TRUE(os.CreateRegKey(RegRoot::CurrentUser, kAppPaths + "\\aaa.exe"));
    EXPECT_TRUE(os.SetRegText(RegRoot::CurrentUser, kAppPaths + "\\" + c.entryName, "Path", path));
    EXPECT_TRUE(os.CreateRegKey(RegRoot::CurrentUser, kAppPaths + "\\zzz.exe"));
  }
  // Files of one folder; an empty content leaves that file out.
  void Files(const Text& folder, const Text& bookmarks, const Text& bookmarks360) {
    if (!bookmarks.empty()) {
      EXPECT_TRUE(os.WriteFile(folder + "\\Bookmarks", bookmarks));
    }
    if (!bookmarks360.empty()) {
      EXPECT_TRUE(os.WriteFile(folder + "\\360Bookmarks", bookmarks360));
    }
  }
  void Profile(const Text& bookmarks, const Text& bookmarks360) {
    Files(kInstall + "User Data\\Default", bookmarks, bookmarks360);
  }
  void Press(int radio) {
    if (radio != 0) os.Click(radio);
    EXPECT_TRUE(PressBrowserButton(os, c.controlId));
  }
  Text Label() { return os.GetControlText(标签_文字); }

  const Column& c;
  SimPlatform os;
};

class Browsers360Test : public ::testing::TestWithParam<Column> {};

INSTANTIATE_TEST_SUITE_P(ThreeBrowsers, Browsers360Test, ::testing::ValuesIn(kColumns));

TEST(Browsers360Buttons, OtherButtonsAreLeftToTheirOwnHandlers) {
  Machine m(kColumns[0]);
  for (int id : {超级按钮_谷歌浏览器, 超级按钮_遨游浏览器, 超级按钮9, 单选框_备份}) {
    EXPECT_NE(ButtonEntry(id), ButtonEntry(m.c.controlId));
  }
  EXPECT_EQ(m.Label(), kEarlierText);
}

TEST_P(Browsers360Test, WithoutAModeOnlyAsksForOneAfterListingTheEntries) {
  Machine m(GetParam());
  m.Install();
  m.Profile("bm", "360bm");
  const Text before = m.os.DumpFiles();
  const int pumpsBefore = m.os.PumpCount();
  m.Press(0);
  EXPECT_EQ(m.Label(), "请先点选备份或恢复按钮");
  EXPECT_EQ(m.os.PumpCount() - pumpsBefore, 3);  // one per listed entry
  EXPECT_EQ(m.os.DumpFiles(), before);
}

// What the App Paths key says decides whether the browser is found at all;
// the outcome is the same in both modes, and no file is touched.
TEST_P(Browsers360Test, RegistrySituationsWhereTheBrowserIsNotFound) {
  struct Situation {
    const char* name;
    std::function<void(Machine&)> arrange;
    bool labelUnchanged;  // otherwise the not-found text
  };
  const Situation situations[] = {
      {"other entries only",
       [](Machine& m) { m.os.CreateRegKey(RegRoot::CurrentUser, kAppPaths + "\\chrome.exe"); }, false},
      {"entry differing in letter case",
       [](Machine& m) {
         m.os.SetRegText(RegRoot::CurrentUser, kAppPaths + "\\" + UpperCase(m.c.entryName), "Path",
                         kInstall + "Application");
       },
       false},
      {"empty App Paths key", [](Machine& m) { m.os.CreateRegKey(RegRoot::CurrentUser, kAppPaths); }, false},
      {"missing App Paths key", [](Machine&) {}, true},
      {"App Paths key denied",
       [](Machine& m) {
         m.Install();
         m.os.DenyRegKey(RegRoot::CurrentUser, kAppPaths);
       },
       true},
      {"entry key denied",
       [](Machine& m) {
         m.Install();
         m.os.DenyRegKey(RegRoot::CurrentUser, kAppPaths + "\\" + m.c.entryName);
       },
       false},
      {"no Path value",
       [](Machine& m) { m.os.CreateRegKey(RegRoot::CurrentUser, kAppPaths + "\\" + m.c.entryName); }, false},
      {"empty Path", [](Machine& m) { m.Install(""); }, false},
      {"Path without a backslash", [](Machine& m) { m.Install("Application"); }, false},
  };
  for (int radio : {单选框_备份, 单选框_恢复}) {
    for (const Situation& s : situations) {
      SCOPED_TRACE(std::string(s.name) + (radio == 单选框_备份 ? ", backup" : ", restore"));
      Machine m(GetParam());
      s.arrange(m);
      m.Profile("bm", "360bm");
      m.Files(m.TodaysBackup(), "saved", "saved360");
      // Where an empty install folder would lead: relative to the current
      // folder and the roots of the drives.
      for (const Text root : {"C:\\", "D:\\"}) m.Files(root + "User Data\\Default", "stray", "stray360");
      const Text before = m.os.DumpFiles();
      m.Press(radio);
      EXPECT_EQ(m.Label(), s.labelUnchanged ? kEarlierText : m.NotFound());
      EXPECT_EQ(m.os.DumpFiles(), before);
      EXPECT_TRUE(m.os.ChooserCalls().empty());
    }
  }
}

// ---- backup ---------------------------------------------------------------------------------

TEST_P(Browsers360Test, BackupCopiesBothFilesFromTheInstallFolderNamedByPath) {
  Machine m(GetParam());
  m.Install();
  m.Profile("bm", "360bm");
  m.Press(单选框_备份);
  // The done text stays after the walk has passed the entries behind it.
  EXPECT_EQ(m.Label(), m.BackupDone());
  EXPECT_EQ(m.os.ReadFile(m.TodaysBackup() + "\\Bookmarks"), "bm");
  EXPECT_EQ(m.os.ReadFile(m.TodaysBackup() + "\\360Bookmarks"), "360bm");
}

TEST_P(Browsers360Test, BackupReplacesAnEarlierBackupOfTheSameDay) {
  Machine m(GetParam());
  m.Install();
  m.Profile("new", "new360");
  m.Files(m.TodaysBackup(), "old", "old360");
  m.Press(单选框_备份);
  EXPECT_EQ(m.os.ReadFile(m.TodaysBackup() + "\\Bookmarks"), "new");
  EXPECT_EQ(m.os.ReadFile(m.TodaysBackup() + "\\360Bookmarks"), "new360");
}

TEST_P(Browsers360Test, BackupOfAProfileHoldingOneOfTheTwoFiles) {
  struct Case {
    const char* name;
    Text bookmarks, bookmarks360;
  };
  const Case cases[] = {{"only 360Bookmarks", "", "360bm"}, {"only Bookmarks", "bm", ""}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Machine m(GetParam());
    m.Install();
    m.Profile(c.bookmarks, c.bookmarks360);
    m.Press(单选框_备份);
    EXPECT_EQ(m.Label(), m.BackupDone());
    EXPECT_EQ(m.os.IsFile(m.TodaysBackup() + "\\Bookmarks"), !c.bookmarks.empty());
    EXPECT_EQ(m.os.IsFile(m.TodaysBackup() + "\\360Bookmarks"), !c.bookmarks360.empty());
  }
}

TEST_P(Browsers360Test, BackupOfAnInstalledBrowserWithoutBookmarkFilesCreatesNoFolder) {
  Machine m(GetParam());
  m.Install();
  m.Press(单选框_备份);
  EXPECT_EQ(m.Label(), m.NotFound());
  EXPECT_FALSE(m.os.IsFolder(kToday));
}

TEST_P(Browsers360Test, APathEndingInABackslashIsTakenWholeAsTheInstallFolder) {
  Machine m(GetParam());
  m.Install(kInstall + "Application\\");
  m.Profile("usual place", "usual place");
  m.Files(kInstall + "Application\\User Data\\Default", "one level lower", "one level lower 360");
  m.Press(单选框_备份);
  EXPECT_EQ(m.Label(), m.BackupDone());
  EXPECT_EQ(m.os.ReadFile(m.TodaysBackup() + "\\Bookmarks"), "one level lower");
  EXPECT_EQ(m.os.ReadFile(m.TodaysBackup() + "\\360Bookmarks"), "one level lower 360");
}

TEST_P(Browsers360Test, ABackslashByteInsideADoubleByteCharacterDoesNotCutThePath) {
  // "\x95\x5C" is one character whose second byte is the backslash byte.
  Machine m(GetParam());
  m.Install(kInstall + "App\x95\x5C" + "lication");
  m.Profile("bm", "360bm");
  m.Press(单选框_备份);
  EXPECT_EQ(m.Label(), m.BackupDone());
  EXPECT_EQ(m.os.ReadFile(m.TodaysBackup() + "\\Bookmarks"), "bm");
}

TEST_P(Browsers360Test, AFailedBackupCopyIsReportedAsAFailure) {
  struct Case {
    const char* name;
    std::function<void(Machine&)> arrange;
  };
  const Case cases[] = {
      {"file held open by the browser", [](Machine& m) { m.os.HoldOpen(kProfile + "Bookmarks"); }},
      {"backup drive read-only", [](Machine& m) { m.os.SetDriveReadOnly('D', true); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Machine m(GetParam());
    m.Install();
    m.Profile("bm", "360bm");
    c.arrange(m);
    m.Press(单选框_备份);
    EXPECT_EQ(m.Label(), m.BackupFailed());
  }
}

// ---- restore ----------------------------------------------------------------------------------

TEST_P(Browsers360Test, RestoreFromTodaysBackupReplacesBothProfileFiles) {
  Machine m(GetParam());
  m.Install();
  m.Profile("current", "current360");
  m.Files(m.TodaysBackup(), "saved", "saved360");
  m.Press(单选框_恢复);
  EXPECT_EQ(m.Label(), m.RestoreDone());
  EXPECT_EQ(m.os.ReadFile(kProfile + "Bookmarks"), "saved");
  EXPECT_EQ(m.os.ReadFile(kProfile + "360Bookmarks"), "saved360");
  EXPECT_TRUE(m.os.ChooserCalls().empty());
}

TEST_P(Browsers360Test, ABackupHoldingOnly360BookmarksRestoresThatFileAlone) {
  Machine m(GetParam());
  m.Install();
  m.Profile("current", "current360");
  m.Files(m.TodaysBackup(), "", "saved360");
  m.Press(单选框_恢复);
  EXPECT_EQ(m.Label(), m.RestoreDone());
  EXPECT_EQ(m.os.ReadFile(kProfile + "Bookmarks"), "current");
  EXPECT_EQ(m.os.ReadFile(kProfile + "360Bookmarks"), "saved360");
}

TEST_P(Browsers360Test, RestoreOnALaterDayTakesTheFolderPickedInTheChooser) {
  Machine m(GetParam());
  m.Install();
  m.Profile("current", "current360");
  m.Files(kYesterday + m.c.backupFolder, "saved", "saved360");
  m.os.QueueChooserAnswer(ChooserAnswer::Pick(kYesterday + m.c.backupFolder));
  m.Press(单选框_恢复);
  EXPECT_EQ(m.Label(), m.RestoreDone());
  EXPECT_EQ(m.os.ReadFile(kProfile + "Bookmarks"), "saved");
  EXPECT_EQ(m.os.ReadFile(kProfile + "360Bookmarks"), "saved360");
  ASSERT_EQ(m.os.ChooserCalls().size(), 1u);
  const ChooserCall call = m.os.ChooserCalls()[0];
  EXPECT_EQ(call.startFolder, "D:\\");
  EXPECT_EQ(call.title, "请选择一个文件夹");
  EXPECT_EQ(call.TextWhileOpen(标签_文字), "未找到备份的书签文件,可手动指定目录");
}

TEST_P(Browsers360Test, ChooserAnswersThatHoldNoBackupRestoreNothing) {
  struct Case {
    const char* name;
    ChooserAnswer answer;
  };
  const Case cases[] = {
      {"the dated folder rather than its browser sub-folder", ChooserAnswer::Pick(kYesterday)},
      {"a folder without the files", ChooserAnswer::Pick("D:\\其他")},
      {"cancelled", ChooserAnswer::Cancelled()},
      {"an item outside the file system", ChooserAnswer::VirtualItem()},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Machine m(GetParam());
    m.Install();
    m.Profile("current", "current360");
    m.Files(kYesterday + m.c.backupFolder, "saved", "saved360");
    EXPECT_TRUE(m.os.MakeFolders("D:\\其他"));
    // Files at the drive roots must not be taken for a chosen folder's.
    for (const Text root : {"C:", "D:"}) m.Files(root, "stray", "stray360");
    const Text before = m.os.DumpFiles();
    m.os.QueueChooserAnswer(c.answer);
    m.Press(单选框_恢复);
    EXPECT_EQ(m.Label(), "未找到备份的书签文件");
    EXPECT_EQ(m.os.ChooserCalls().size(), 1u);
    EXPECT_EQ(m.os.DumpFiles(), before);
  }
}

TEST_P(Browsers360Test, AFailedRestoreCopyIsReportedAndNoProfileFolderIsCreated) {
  struct Case {
    const char* name;
    std::function<void(Machine&)> arrange;
  };
  const Case cases[] = {
      {"profile file held open by the browser",
       [](Machine& m) {
         m.Profile("current", "current360");
         m.os.HoldOpen(kProfile + "Bookmarks");
       }},
      {"profile folder missing", [](Machine&) {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Machine m(GetParam());
    m.Install();
    c.arrange(m);
    m.Files(m.TodaysBackup(), "saved", "saved360");
    const bool hadProfile = m.os.IsFolder(kProfile);
    m.Press(单选框_恢复);
    EXPECT_EQ(m.Label(), m.RestoreFailed());
    EXPECT_EQ(m.os.IsFolder(kProfile), hadProfile);
  }
}

}  // namespace
}  // namespace bm
