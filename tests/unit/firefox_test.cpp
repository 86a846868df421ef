// The Firefox button on the simulated Windows: every profile's database
// backed up with its write-ahead log, and the rotating restore into the
// profile folder the user pastes into FirefoxFolderWindow.
#include <gtest/gtest.h>

#include <functional>

#include "app/MainWindow.h"
#include "app/ProcessValues.h"
#include "unit/BrowserWindowTest.h"

namespace bm {
namespace {

const Text kProfiles = "C:\\Users\\Tester\\appdata\\Roaming\\Mozilla\\Firefox\\Profiles";
const Text kBackups = "D:\\浏览器书签备份2023年4月30日\\火狐浏览器";
const Text kInUse = kProfiles + "\\k3x9.default-release";
const Text kEarlier = "之前的文字";

Text Restored(int number) {
  return "已恢复备份书签（" + std::to_string(number) + "）到火狐浏览器，如书签内容有误，可再次点击";
}

class FirefoxTest : public BrowserWindowTest {
 protected:
  void SetUp() override {
    BrowserWindowTest::SetUp();
    FirefoxProfileFolder.clear();
    FirefoxClickCount = 0;
    os.SetControlText(标签_文字, kEarlier);
  }
  void TearDown() override {
    FirefoxProfileFolder.clear();
    FirefoxClickCount = 0;
  }
  void PressFirefox(int mode) { Press(mode, 超级按钮_火狐浏览器); }
  // The user pastes `folder` (or nothing) when the window opens; counts the openings.
  void AnswerWindowWith(const Text& folder) {
    os.OnModalWindowOpen([this, folder](int) {
      ++windowOpenings;
      if (folder.empty()) return;  // closed without loading
      os.SetControlText(编辑框_火狐变量目录, folder);
      os.Click(按钮_载入火狐目录);
    });
  }
  // Three dated backups of the profile, oldest first as the folder lists them.
  void ThreeBackups() {
    for (const char* name : {"a", "b", "c"}) Write(kBackups + "\\" + name + "\\places.sqlite", Text("backup ") + name);
  }

  int windowOpenings = 0;
};

// ---- backup ----------------------------------------------------------------------------------

TEST_F(FirefoxTest, BackupCopiesEveryProfilesDatabaseIntoItsOwnFolder) {
  Write(kProfiles + "\\one.default\\places.sqlite", "db one");
  Write(kProfiles + "\\two.work\\places.sqlite", "db two");
  Write(kProfiles + "\\three.empty\\prefs.js", "prefs");
  PressFirefox(单选框_备份);
  EXPECT_EQ(Status(), "已复制火狐浏览器书签到目录");
  EXPECT_EQ(Read(kBackups + "\\one.default\\places.sqlite"), "db one");
  EXPECT_EQ(Read(kBackups + "\\two.work\\places.sqlite"), "db two");
  EXPECT_FALSE(os.IsFolder(kBackups + "\\three.empty")) << "a profile without a database is passed over";
}

TEST_F(FirefoxTest, BackupsThatFindNothing) {
  struct Case {
    const char* label;
    std::function<void()> lay;
    Text status;
  };
  const Case cases[] = {
      {"no profiles folder", [] {}, "未找到火狐浏览器书签文件，请确认已安装火狐浏览器？"},
      {"an empty profiles folder", [this] { ASSERT_TRUE(os.MakeFolders(kProfiles)); }, "未找到火狐浏览器书签文件"},
      {"profiles without a database", [this] { Write(kProfiles + "\\x.default\\prefs.js", "p"); }, kEarlier},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    os = SimPlatform();
    SetUp();
    c.lay();
    PressFirefox(单选框_备份);
    EXPECT_EQ(Status(), c.status);
    EXPECT_FALSE(os.IsFolder("D:\\浏览器书签备份2023年4月30日"));
  }
}

TEST_F(FirefoxTest, BackupTakesTheWriteAheadLogAndDropsAStaleOne) {
  Write(kProfiles + "\\one.default\\places.sqlite", "db");
  Write(kProfiles + "\\one.default\\places.sqlite-wal", "recent changes");
  PressFirefox(单选框_备份);
  EXPECT_EQ(Read(kBackups + "\\one.default\\places.sqlite-wal"), "recent changes");
  // Firefox has since written its log into the database.
  ASSERT_TRUE(os.DeleteFileW(u"C:\\Users\\Tester\\appdata\\Roaming\\Mozilla\\Firefox\\Profiles\\one.default\\places.sqlite-wal"));
  PressFirefox(单选框_备份);
  EXPECT_FALSE(os.IsFile(kBackups + "\\one.default\\places.sqlite-wal"));
  EXPECT_EQ(Read(kBackups + "\\one.default\\places.sqlite"), "db");
}

TEST_F(FirefoxTest, ABackupCopyThatFailsIsReported) {
  Write(kProfiles + "\\one.default\\places.sqlite", "db");
  os.HoldOpen(kProfiles + "\\one.default\\places.sqlite");
  PressFirefox(单选框_备份);
  EXPECT_EQ(Status(), "火狐浏览器书签复制失败，请关闭火狐浏览器并确认备份位置可以写入");
}

// ---- restore ---------------------------------------------------------------------------------

TEST_F(FirefoxTest, RestoreRotatesThroughTheBackupsAskingForTheFolderOnce) {
  Write(kInUse + "\\places.sqlite", "current");
  ThreeBackups();
  AnswerWindowWith(kInUse);
  const struct {
    int number;
    const char* content;
  } clicks[] = {{3, "backup c"}, {2, "backup b"}, {1, "backup a"}, {3, "backup c"}};
  for (const auto& click : clicks) {
    PressFirefox(单选框_恢复);
    EXPECT_EQ(Status(), Restored(click.number));
    EXPECT_EQ(Read(kInUse + "\\places.sqlite"), click.content);
  }
  EXPECT_EQ(windowOpenings, 1);
  EXPECT_EQ(FirefoxProfileFolder, kInUse);
}

TEST_F(FirefoxTest, MoreClicksThanBackupsTakeTheOldestAndStartOver) {
  Write(kInUse + "\\places.sqlite", "current");
  Write(kBackups + "\\only\\places.sqlite", "the one backup");
  AnswerWindowWith(kInUse);
  os.Click(超级按钮_火狐浏览器);  // a click without a mode counts too
  PressFirefox(单选框_恢复);
  EXPECT_EQ(Status(), Restored(1));
  EXPECT_EQ(Read(kInUse + "\\places.sqlite"), "the one backup");
  EXPECT_EQ(FirefoxClickCount, 0);
  PressFirefox(单选框_恢复);
  EXPECT_EQ(Status(), Restored(1));
}

TEST_F(FirefoxTest, RestoresThatTouchNothing) {
  struct Case {
    const char* label;
    std::function<void()> lay;
    Text pasted;  // what the user loads when the window opens
    Text status;
    int openings;
  };
  const Case cases[] = {
      {"no profiles folder", [this] { ThreeBackups(); }, kInUse,
       "未检测到火狐浏览器目录，请确认已安装并首次打开过火狐浏览器", 0},
      {"no backup today", [this] { Write(kInUse + "\\places.sqlite", "current"); }, kInUse, "未找到备份的书签文件",
       0},
      {"the window closed without loading",
       [this] {
         Write(kInUse + "\\places.sqlite", "current");
         ThreeBackups();
       },
       "", kEarlier, 1},
      {"a folder that is no profile",
       [this] {
         Write(kInUse + "\\places.sqlite", "current");
         ThreeBackups();
         ASSERT_TRUE(os.MakeFolders("D:\\别的"));
       },
       "D:\\别的", "未找到指定的火狐目录，请确认目录是否粘贴正确", 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    os = SimPlatform();
    SetUp();
    windowOpenings = 0;
    c.lay();
    AnswerWindowWith(c.pasted);
    const Text before = os.DumpFiles();
    PressFirefox(单选框_恢复);
    EXPECT_EQ(Status(), c.status);
    EXPECT_EQ(windowOpenings, c.openings);
    EXPECT_EQ(os.DumpFiles(), before);
  }
}

TEST_F(FirefoxTest, RestoreReplacesTheLogAndKeepsWhatItReplacesInTheBin) {
  Write(kInUse + "\\places.sqlite", "current");
  Write(kInUse + "\\places.sqlite-wal", "live log");
  Write(kInUse + "\\places.sqlite-shm", "shared memory");
  Write(kBackups + "\\a\\places.sqlite", "backup db");
  Write(kBackups + "\\a\\places.sqlite-wal", "backup log");
  AnswerWindowWith(kInUse);
  PressFirefox(单选框_恢复);
  EXPECT_EQ(Status(), Restored(1));
  EXPECT_EQ(Read(kInUse + "\\places.sqlite"), "backup db");
  EXPECT_EQ(Read(kInUse + "\\places.sqlite-wal"), "backup log");
  EXPECT_FALSE(os.IsFile(kInUse + "\\places.sqlite-shm"));
  std::vector<Text> binned;
  for (const RecycledItem& item : os.RecycleBin()) binned.push_back(item.content);
  EXPECT_EQ(binned, (std::vector<Text>{"live log", "shared memory", "current"}));
}

TEST_F(FirefoxTest, ABackupWithoutALogLeavesNoLogBesideTheRestoredDatabase) {
  Write(kInUse + "\\places.sqlite", "current");
  Write(kInUse + "\\places.sqlite-wal", "live log");
  Write(kBackups + "\\a\\places.sqlite", "backup db");
  AnswerWindowWith(kInUse);
  PressFirefox(单选框_恢复);
  EXPECT_EQ(Read(kInUse + "\\places.sqlite"), "backup db");
  EXPECT_FALSE(os.IsFile(kInUse + "\\places.sqlite-wal"));
}

TEST_F(FirefoxTest, NoRestoreWhileFirefoxHoldsTheProfile) {
  Write(kInUse + "\\places.sqlite", "current");
  Write(kInUse + "\\places.sqlite-wal", "live log");
  Write(kInUse + "\\parent.lock", "");
  ThreeBackups();
  AnswerWindowWith(kInUse);
  os.HoldOpen(kInUse + "\\parent.lock");
  const Text before = os.DumpFiles();
  PressFirefox(单选框_恢复);
  EXPECT_EQ(Status(), "请先关闭火狐浏览器再恢复");
  EXPECT_EQ(os.DumpFiles(), before);
  // Firefox has ended and left its lock file behind: no refusal.
  os.HoldOpen(kInUse + "\\parent.lock", false);
  PressFirefox(单选框_恢复);
  EXPECT_EQ(Read(kInUse + "\\places.sqlite"), "backup b");
}

TEST_F(FirefoxTest, ARestoreCopyThatFailsIsReported) {
  Write(kInUse + "\\places.sqlite", "current");
  ThreeBackups();
  AnswerWindowWith(kInUse);
  os.FailCopy(1);
  PressFirefox(单选框_恢复);
  EXPECT_EQ(Status(), "火狐浏览器书签恢复失败，请关闭火狐浏览器后重试");
  EXPECT_EQ(Read(kInUse + "\\places.sqlite"), "current");
}

}  // namespace
}  // namespace bm
