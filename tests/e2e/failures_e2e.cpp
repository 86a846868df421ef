// Copies that cannot happen are reported as failures, never as done: a file
// the browser holds open, and a backup drive that cannot be written.
#include "e2e/Driver.h"

#include "../../src/app/Controls.h"

namespace bm::e2e {
namespace {

const char kChromeBookmarks[] = "~\\appdata\\Local\\Google\\Chrome\\User Data\\Default\\Bookmarks";
const char kChromeBackupFailed[] = "谷歌浏览器书签复制失败，请关闭谷歌浏览器并确认备份位置可以写入";

struct HeldCase {
  const char* name;
  int button;
  const char* appPathExe;  // nullptr: none needed
  const char* appPathValue;
  const char* live;    // the browser's file, held open during the press
  const char* backup;  // below today's backup folder on D:
  bool restore;
  const char* expected;
};

const HeldCase kHeldCases[] = {
    {"ChromeBackup", bm::超级按钮_谷歌浏览器, nullptr, nullptr, kChromeBookmarks, "\\谷歌浏览器\\Bookmarks", false,
     kChromeBackupFailed},
    {"ChromeRestore", bm::超级按钮_谷歌浏览器, nullptr, nullptr, kChromeBookmarks, "\\谷歌浏览器\\Bookmarks", true,
     "谷歌浏览器书签恢复失败，请关闭谷歌浏览器后重试"},
    {"SogouRestore", bm::超级按钮_搜狗浏览器, nullptr, nullptr, "~\\appdata\\Roaming\\Sogouexplorer\\favorite2.dat",
     "\\搜狗浏览器\\favorite2.dat", true, "搜狗浏览器书签恢复失败，请关闭搜狗浏览器后重试"},
    {"Speed360Backup", bm::超级按钮_360极速浏览器, "360chrome.exe", "E:\\360极速\\Chrome\\Application",
     "E:\\360极速\\Chrome\\User Data\\Default\\Bookmarks", "\\360极速浏览器\\Bookmarks", false,
     "360极速浏览器书签复制失败，请关闭360极速浏览器并确认备份位置可以写入"},
};

// Names the case in gtest's messages instead of dumping its bytes.
void PrintTo(const HeldCase& c, std::ostream* os) { *os << c.name; }

class HeldOpenFile : public Scenario, public testing::WithParamInterface<HeldCase> {};

TEST_P(HeldOpenFile, IsReportedAsAFailedCopy) {
  const HeldCase& c = GetParam();
  const std::string backupFile = BackupRootOn("D:\\") + c.backup;
  Put(c.live, "{\"in\":\"browser\"}");
  if (c.restore) Put(backupFile, "{\"in\":\"backup\"}");
  if (c.appPathExe) PutAppPath(c.appPathExe, c.appPathValue);
  if (HasFatalFailure()) return;

  ASSERT_TRUE(app.Start());
  ASSERT_TRUE(app.Check(c.restore ? bm::单选框_恢复 : bm::单选框_备份));
  {
    HeldFile held(Expand(c.live));
    ASSERT_TRUE(held.IsHeld()) << "could not hold the browser's file open";
    ASSERT_TRUE(app.Click(c.button));
    ASSERT_TRUE(app.WaitForText(bm::标签_文字, c.expected));
    ASSERT_TRUE(app.Settle());
  }
  EXPECT_TRUE(FileHolds(Expand(c.live), "{\"in\":\"browser\"}"));
  if (!c.restore) {
    EXPECT_FALSE(PathExists(backupFile)) << "a backup file was written from a file held open";
  }
}

INSTANTIATE_TEST_SUITE_P(Browsers, HeldOpenFile, testing::ValuesIn(kHeldCases),
                         [](const testing::TestParamInfo<HeldCase>& info) { return std::string(info.param.name); });

// Backup drives that cannot take the backup. Running as root under Wine, Unix
// permissions and the read-only attribute stop no write, so the harness gives
// drives that really refuse: a letter whose folder has gone (a removed
// stick), and one on a read-only mount when the machine allows mounting.
struct DriveCase {
  const char* name;
  const char* driveVariable;  // names the drive letter; nullptr: D: with a file in the way
};

const DriveCase kDriveCases[] = {
    {"FolderOfTheDriveIsGone", "BM_GONE_DRIVE"},
    {"ReadOnlyMount", "BM_READONLY_DRIVE"},
    {"FileInPlaceOfTheBackupFolder", nullptr},
};

// Names the case in gtest's messages instead of dumping its bytes.
void PrintTo(const DriveCase& c, std::ostream* os) { *os << c.name; }

class UnwritableBackupDrive : public Scenario, public testing::WithParamInterface<DriveCase> {};

TEST_P(UnwritableBackupDrive, ChromeBackupIsReportedAsFailed) {
  const DriveCase& c = GetParam();
  std::string drive = "D:\\";
  if (c.driveVariable) {
    std::string letter = Env(c.driveVariable);
    if (letter.empty()) GTEST_SKIP() << c.driveVariable << " is not set: the harness could not make this drive";
    drive = letter + ":\\";
  } else {
    Put(BackupRootOn(drive), "not a folder");
  }
  Put(kChromeBookmarks, "{\"in\":\"browser\"}");
  if (HasFatalFailure()) return;

  ASSERT_TRUE(app.Start());
  ASSERT_TRUE(app.PickDrive(drive));
  ASSERT_TRUE(app.Check(bm::单选框_备份));
  ASSERT_TRUE(app.Click(bm::超级按钮_谷歌浏览器));
  ASSERT_TRUE(app.WaitForText(bm::标签_文字, kChromeBackupFailed));
  ASSERT_TRUE(app.Settle());
  EXPECT_FALSE(PathExists(BackupRootOn(drive) + "\\谷歌浏览器\\Bookmarks"));
  if (!c.driveVariable) {
    EXPECT_TRUE(FileHolds(BackupRootOn(drive), "not a folder"));
  }
}

INSTANTIATE_TEST_SUITE_P(Chrome, UnwritableBackupDrive, testing::ValuesIn(kDriveCases),
                         [](const testing::TestParamInfo<DriveCase>& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace bm::e2e
