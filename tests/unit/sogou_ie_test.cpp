// The Sogou and IE buttons on the simulated Windows.
#include <gtest/gtest.h>

#include "app/MainWindow.h"
#include "platform/sim/SimPlatform.h"
#include "unit/BrowserWindowTest.h"

namespace bm {
namespace {

const char kPickFolder[] = "未找到备份的书签文件,可手动指定目录";
const char kNoBackup[] = "未找到备份的书签文件";

const Text kSogou2 = "C:\\Users\\Tester\\appdata\\Roaming\\Sogouexplorer\\favorite2.dat";
const Text kSogou3 = "C:\\Users\\Tester\\appdata\\Roaming\\Sogouexplorer\\favorite3.dat";
const Text kSogouBackup = "D:\\浏览器书签备份2023年4月30日\\搜狗浏览器";
const Text kSogouEarlier = "D:\\浏览器书签备份2023年4月29日\\搜狗浏览器";
const Text kFavorites = "C:\\Users\\Tester\\Favorites";
const Text kIeBackup = "D:\\浏览器书签备份2023年4月30日\\IE浏览器";
const Text kIeEarlier = "D:\\浏览器书签备份2023年4月29日\\IE浏览器";

using SogouIeTest = BrowserWindowTest;

// ---- Sogou --------------------------------------------------------------------------

struct SogouFiles {
  const char* testName;
  bool second, third;  // favorite2.dat, favorite3.dat present
};

void PrintTo(const SogouFiles& files, std::ostream* out) { *out << files.testName; }

class SogouBackupTest : public SogouIeTest, public ::testing::WithParamInterface<SogouFiles> {};

TEST_P(SogouBackupTest, CopiesWhicheverFilesThereAre) {
  if (GetParam().second) Write(kSogou2, "two");
  if (GetParam().third) Write(kSogou3, "three");
  Press(单选框_备份, 超级按钮_搜狗浏览器);
  EXPECT_EQ(Status(), "已复制搜狗浏览器书签到指定目录");
  EXPECT_EQ(Read(kSogouBackup + "\\favorite2.dat"), GetParam().second ? std::optional<Text>("two") : std::nullopt);
  EXPECT_EQ(Read(kSogouBackup + "\\favorite3.dat"), GetParam().third ? std::optional<Text>("three") : std::nullopt);
}

INSTANTIATE_TEST_SUITE_P(Sogou, SogouBackupTest,
                         ::testing::Values(SogouFiles{"OnlySecond", true, false}, SogouFiles{"OnlyThird", false, true},
                                           SogouFiles{"Both", true, true}),
                         [](const ::testing::TestParamInfo<SogouFiles>& info) { return info.param.testName; });

using SogouTest = SogouIeTest;

TEST_F(SogouTest, BackupWithNeitherFileCreatesNothing) {
  Write("C:\\Users\\Tester\\appdata\\Roaming\\Sogouexplorer\\favorite1.dat", "not one of them");
  const Text before = os.DumpFiles();
  Press(单选框_备份, 超级按钮_搜狗浏览器);
  EXPECT_EQ(Status(), "未找到搜狗浏览器书签文件");
  EXPECT_EQ(os.DumpFiles(), before);
}

TEST_F(SogouTest, BackupThatCannotCopyIsReportedAsFailed) {
  const char kFailed[] = "搜狗浏览器书签复制失败，请关闭搜狗浏览器并确认备份位置可以写入";
  Write(kSogou2, "two");
  Write(kSogou3, "three");
  os.HoldOpen(kSogou3);
  Press(单选框_备份, 超级按钮_搜狗浏览器);
  EXPECT_EQ(Status(), kFailed);
  os.HoldOpen(kSogou3, false);
  os.SetDriveReadOnly('D', true);
  Press(单选框_备份, 超级按钮_搜狗浏览器);
  EXPECT_EQ(Status(), kFailed);
}

TEST_F(SogouTest, RestoreWithOnlyTheThirdFileInTheBackup) {
  Write(kSogou2, "old two");
  Write(kSogou3, "old three");
  Write(kSogouBackup + "\\favorite3.dat", "new three");
  Press(单选框_恢复, 超级按钮_搜狗浏览器);
  EXPECT_EQ(Status(), "已恢复备份书签到搜狗浏览器");
  EXPECT_EQ(Read(kSogou3), "new three");
  EXPECT_EQ(Read(kSogou2), "old two");
  EXPECT_TRUE(os.ChooserCalls().empty());
}

TEST_F(SogouTest, RestoreWithoutEitherProfileFileTouchesNothing) {
  Write(kSogouBackup + "\\favorite2.dat", "new two");
  const Text before = os.DumpFiles();
  Press(单选框_恢复, 超级按钮_搜狗浏览器);
  EXPECT_EQ(Status(), "未检测到搜狗浏览器目录，请确认已安装并首次打开过搜狗浏览器");
  EXPECT_EQ(os.DumpFiles(), before);
}

TEST_F(SogouTest, RestoreFromAnEarlierDayThroughTheChooser) {
  Write(kSogou2, "old two");
  Write(kSogouEarlier + "\\favorite2.dat", "earlier two");
  Write(kSogouEarlier + "\\favorite3.dat", "earlier three");
  os.QueueChooserAnswer(ChooserAnswer::Pick(kSogouEarlier));
  Press(单选框_恢复, 超级按钮_搜狗浏览器);
  EXPECT_EQ(Status(), "已恢复备份书签到搜狗浏览器");
  EXPECT_EQ(Read(kSogou2), "earlier two");
  EXPECT_EQ(Read(kSogou3), "earlier three");
  ASSERT_EQ(os.ChooserCalls().size(), 1u);
  EXPECT_EQ(os.ChooserCalls()[0].TextWhileOpen(标签_文字), kPickFolder);
  EXPECT_EQ(os.ChooserCalls()[0].startFolder, "D:\\");
}

TEST_F(SogouTest, AChoiceWithoutEitherFileRestoresNothing) {
  Write(kSogou3, "old three");
  Write("C:\\favorite3.dat", "at the root");
  Write("D:\\favorite3.dat", "at the root");
  Write("D:\\其他\\favorite.dat", "not Sogou's");
  const ChooserAnswer answers[] = {ChooserAnswer::Cancelled(), ChooserAnswer::VirtualItem(),
                                   ChooserAnswer::Pick("D:\\其他")};
  for (const ChooserAnswer& answer : answers) {
    os.QueueChooserAnswer(answer);
    Press(单选框_恢复, 超级按钮_搜狗浏览器);
    EXPECT_EQ(Status(), kNoBackup) << answer.kind;
    EXPECT_EQ(Read(kSogou3), "old three");
  }
}

TEST_F(SogouTest, RestoreOntoAHeldOpenFileIsReportedAsFailed) {
  Write(kSogou2, "old two");
  Write(kSogouBackup + "\\favorite2.dat", "new two");
  os.HoldOpen(kSogou2);
  Press(单选框_恢复, 超级按钮_搜狗浏览器);
  EXPECT_EQ(Status(), "搜狗浏览器书签恢复失败，请关闭搜狗浏览器后重试");
  EXPECT_EQ(Read(kSogou2), "old two");
}

// ---- IE ---------------------------------------------------------------------------------

class IeTest : public SogouIeTest {
 protected:
  void WriteFavorites() {
    Write(kFavorites + "\\百度.url", "baidu");
    Write(kFavorites + "\\链接\\必应.url", "bing");
    Write(kFavorites + "\\链接\\工作\\内网.url", "intranet");
  }
  void ExpectFavoritesIn(const Text& folder) {
    EXPECT_EQ(Read(folder + "\\百度.url"), "baidu");
    EXPECT_EQ(Read(folder + "\\链接\\必应.url"), "bing");
    EXPECT_EQ(Read(folder + "\\链接\\工作\\内网.url"), "intranet");
  }
};

TEST_F(IeTest, BackupCopiesTheWholeFavoritesTree) {
  WriteFavorites();
  Press(单选框_备份, 超级按钮_IE浏览器);
  EXPECT_EQ(Status(), "已复制IE浏览器书签到指定目录");
  ExpectFavoritesIn(kIeBackup);
  EXPECT_FALSE(os.IsFolder(kIeBackup + "\\Favorites"));
}

TEST_F(IeTest, BackupWithAnEmptyOrMissingFavoritesFolderCreatesNothing) {
  const Text before = os.DumpFiles();
  Press(单选框_备份, 超级按钮_IE浏览器);
  EXPECT_EQ(Status(), "未找到IE浏览器书签文件");
  EXPECT_EQ(os.DumpFiles(), before);

  ASSERT_TRUE(os.MakeFolders(kFavorites));
  const Text withEmpty = os.DumpFiles();
  os.Click(超级按钮_谷歌浏览器);  // another label text in between
  os.Click(超级按钮_IE浏览器);
  EXPECT_EQ(Status(), "未找到IE浏览器书签文件");
  EXPECT_EQ(os.DumpFiles(), withEmpty);
}

TEST_F(IeTest, BackupThatCannotCopyIsReportedAsFailed) {
  const char kFailed[] = "IE浏览器书签复制失败，请关闭IE浏览器并确认备份位置可以写入";
  WriteFavorites();
  os.HoldOpen(kFavorites + "\\链接\\必应.url");
  Press(单选框_备份, 超级按钮_IE浏览器);
  EXPECT_EQ(Status(), kFailed);
  os.HoldOpen(kFavorites + "\\链接\\必应.url", false);
  os.SetDriveReadOnly('D', true);
  Press(单选框_备份, 超级按钮_IE浏览器);
  EXPECT_EQ(Status(), kFailed);
  os.SetDriveReadOnly('D', false);
  os.PickComboItem(组合框_盘符, 3);  // G:, missing
  Press(单选框_备份, 超级按钮_IE浏览器);
  EXPECT_EQ(Status(), kFailed);
}

TEST_F(IeTest, RestoreFromTodaysBackupMergesIntoFavorites) {
  Write(kFavorites + "\\百度.url", "old baidu");
  Write(kFavorites + "\\自己的.url", "mine");
  Write(kIeBackup + "\\百度.url", "baidu");
  Write(kIeBackup + "\\链接\\必应.url", "bing");
  Write(kIeBackup + "\\链接\\工作\\内网.url", "intranet");
  Press(单选框_恢复, 超级按钮_IE浏览器);
  EXPECT_EQ(Status(), "已恢复备份书签到IE浏览器");
  ExpectFavoritesIn(kFavorites);
  EXPECT_EQ(Read(kFavorites + "\\自己的.url"), "mine");
  EXPECT_TRUE(os.ChooserCalls().empty());
}

// Favorites and its backup both hold the hidden, system desktop.ini that
// Windows keeps there; it does not make the restore fail.
TEST_F(IeTest, RestoreReplacesTheHiddenDesktopIni) {
  ASSERT_TRUE(os.WriteFile(kFavorites + "\\desktop.ini", "old ini", kAttrHidden | kAttrSystem));
  ASSERT_TRUE(os.WriteFile(kIeBackup + "\\desktop.ini", "ini", kAttrHidden | kAttrSystem));
  Write(kIeBackup + "\\百度.url", "baidu");
  Press(单选框_恢复, 超级按钮_IE浏览器);
  EXPECT_EQ(Status(), "已恢复备份书签到IE浏览器");
  EXPECT_EQ(Read(kFavorites + "\\desktop.ini"), "ini");
  EXPECT_EQ(Read(kFavorites + "\\百度.url"), "baidu");
}

TEST_F(IeTest, RestoreWithoutFavoritesTouchesNothing) {
  Write(kIeBackup + "\\百度.url", "baidu");
  const Text before = os.DumpFiles();
  Press(单选框_恢复, 超级按钮_IE浏览器);
  EXPECT_EQ(Status(), "未检测到IE浏览器书签目录文件");
  ASSERT_TRUE(os.MakeFolders(kFavorites));
  Press(单选框_恢复, 超级按钮_IE浏览器);
  EXPECT_EQ(Status(), "未检测到IE浏览器书签目录文件");
  EXPECT_FALSE(os.IsFile(kFavorites + "\\百度.url"));
  EXPECT_TRUE(os.ChooserCalls().empty());
}

TEST_F(IeTest, AMissingOrEmptyBackupFallsBackToTheChooser) {
  Write(kFavorites + "\\百度.url", "old baidu");
  Write(kIeEarlier + "\\百度.url", "baidu");
  Write(kIeEarlier + "\\链接\\必应.url", "bing");
  Write(kIeEarlier + "\\链接\\工作\\内网.url", "intranet");
  os.QueueChooserAnswer(ChooserAnswer::Pick(kIeEarlier));
  Press(单选框_恢复, 超级按钮_IE浏览器);
  EXPECT_EQ(Status(), "已恢复备份书签到IE浏览器");
  ExpectFavoritesIn(kFavorites);

  ASSERT_TRUE(os.MakeFolders(kIeBackup));  // today's folder, but empty
  os.QueueChooserAnswer(ChooserAnswer::Pick(kIeEarlier));
  os.Click(超级按钮_IE浏览器);
  EXPECT_EQ(Status(), "已恢复备份书签到IE浏览器");
  ASSERT_EQ(os.ChooserCalls().size(), 2u);
  for (const ChooserCall& call : os.ChooserCalls()) {
    EXPECT_EQ(call.TextWhileOpen(标签_文字), kPickFolder);
    EXPECT_EQ(call.startFolder, "D:\\");
  }
}

TEST_F(IeTest, AChoiceWithNothingInItRestoresNothing) {
  Write(kFavorites + "\\百度.url", "old baidu");
  Write("C:\\百度.url", "at the root");
  Write("D:\\百度.url", "at the root");
  ASSERT_TRUE(os.MakeFolders("D:\\空的"));
  const ChooserAnswer answers[] = {ChooserAnswer::Cancelled(), ChooserAnswer::VirtualItem(),
                                   ChooserAnswer::Pick("D:\\空的"), ChooserAnswer::Pick("D:\\不存在")};
  for (const ChooserAnswer& answer : answers) {
    os.QueueChooserAnswer(answer);
    Press(单选框_恢复, 超级按钮_IE浏览器);
    EXPECT_EQ(Status(), kNoBackup) << answer.kind << " " << answer.folder;
    EXPECT_EQ(Read(kFavorites + "\\百度.url"), "old baidu");
  }
}

TEST_F(IeTest, RestoreOntoAHeldOpenFavoriteIsReportedAsFailed) {
  Write(kFavorites + "\\百度.url", "old baidu");
  Write(kIeBackup + "\\百度.url", "baidu");
  os.HoldOpen(kFavorites + "\\百度.url");
  Press(单选框_恢复, 超级按钮_IE浏览器);
  EXPECT_EQ(Status(), "IE浏览器书签恢复失败，请关闭IE浏览器后重试");
  EXPECT_EQ(Read(kFavorites + "\\百度.url"), "old baidu");
}

}  // namespace
}  // namespace bm
