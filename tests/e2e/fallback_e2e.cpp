// A restore with no backup of today: the program asks for a folder with the
// folder chooser, opened on the selected drive.
#include "e2e/Driver.h"

#include "../../src/app/Controls.h"

namespace bm::e2e {
namespace {

const char kNoBackupPickFolder[] = "未找到备份的书签文件,可手动指定目录";
const char kNoBackupFound[] = "未找到备份的书签文件";
const char kChromeRestored[] = "已恢复备份书签到谷歌浏览器";
const char kChromeProfile[] = "~\\appdata\\Local\\Google\\Chrome\\User Data\\Default\\";

struct ChooserCase {
  const char* name;
  const char* drive;  // selected before the restore; the backup lies at its root
  bool ok;            // OK on the preselected folder, or Cancel
  const char* finalText;
};

const ChooserCase kChooserCases[] = {
    {"OkOnDriveD", "D:\\", true, kChromeRestored},
    {"OkOnDriveE", "E:\\", true, kChromeRestored},
    // Cancel looks nowhere, not even at the drive root that holds a backup.
    {"Cancel", "D:\\", false, kNoBackupFound},
};

// Names the case in gtest's messages instead of dumping its bytes.
void PrintTo(const ChooserCase& c, std::ostream* os) { *os << c.name; }

class ChooserFallback : public Scenario, public testing::WithParamInterface<ChooserCase> {};

TEST_P(ChooserFallback, RestoresFromTheChosenFolderOnly) {
  const ChooserCase& c = GetParam();
  const std::string profile = kChromeProfile;
  Put(profile + "Bookmarks", "{\"version\":\"current\"}");
  Put(profile + "Bookmarks.bak", "{\"version\":\"current.bak\"}");
  Put(std::string(c.drive) + "Bookmarks", "{\"version\":\"picked\"}");
  Put(std::string(c.drive) + "Bookmarks.bak", "{\"version\":\"picked.bak\"}");
  if (HasFatalFailure()) return;

  ASSERT_TRUE(app.Start());
  ASSERT_TRUE(app.PickDrive(c.drive));
  ASSERT_TRUE(app.Check(bm::单选框_恢复));
  ASSERT_TRUE(app.Click(bm::超级按钮_谷歌浏览器));
  ASSERT_NE(app.WaitForChooser(), nullptr) << "no folder chooser opened for the restore without a backup";
  EXPECT_EQ(app.Text(bm::标签_文字), kNoBackupPickFolder) << "while the chooser is open";
  // OK answers the folder the chooser opened on: the selected drive.
  ASSERT_TRUE(app.AnswerChooser(c.ok, std::string(c.drive, 2)));
  ASSERT_TRUE(app.WaitForText(bm::标签_文字, c.finalText));
  ASSERT_TRUE(app.Settle());

  EXPECT_TRUE(FileHolds(Expand(profile + "Bookmarks"), c.ok ? "{\"version\":\"picked\"}" : "{\"version\":\"current\"}"));
  EXPECT_TRUE(FileHolds(Expand(profile + "Bookmarks.bak"),
                        c.ok ? "{\"version\":\"picked.bak\"}" : "{\"version\":\"current.bak\"}"));
}

INSTANTIATE_TEST_SUITE_P(Chrome, ChooserFallback, testing::ValuesIn(kChooserCases),
                         [](const testing::TestParamInfo<ChooserCase>& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace bm::e2e
