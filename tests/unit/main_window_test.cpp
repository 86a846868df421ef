// Start-up, the main window's own handlers and the dispatch of its buttons, on
// the simulated Windows.
#include <gtest/gtest.h>

#include <iterator>
#include <string>
#include <vector>

#include "app/MainWindow.h"
#include "app/ProcessValues.h"
#include "platform/sim/SimPlatform.h"

namespace bm {
namespace {

const char kWarning[] = "检测到已有备份文件夹，继续备份将删除原目录文件，请谨慎操作！";
const char kTodayOnD[] = "D:\\浏览器书签备份2023年4月30日";

class MainWindowTest : public ::testing::Test {
 protected:
  void Open() {
    os.SetEventSink(&events);
    ASSERT_TRUE(os.CreateMainWindow(MainWindowSpec(), MainWindowControls()));
  }
  Text Status() { return os.GetControlText(标签_文字); }

  SimPlatform os;
  MainWindowEvents events{os};
};

TEST_F(MainWindowTest, StartUpSelectsDAndWarnsAboutTodaysFolder) {
  ASSERT_TRUE(os.MakeFolders(kTodayOnD));
  Open();
  EXPECT_EQ(SelectedDriveText(os), "D:\\");
  EXPECT_EQ(Status(), kWarning);
  EXPECT_EQ(CurrentOperationMode(os), OperationMode::None);
}

TEST_F(MainWindowTest, StartUpWithoutTodaysFolderLeavesTheLabelAlone) {
  ASSERT_TRUE(os.MakeFolders("D:\\浏览器书签备份2023年4月29日"));
  ASSERT_TRUE(os.WriteFile("D:\\浏览器书签备份2023年4月30日.txt", "not a folder"));
  Open();
  EXPECT_EQ(Status(), "");
  EXPECT_TRUE(os.TextWrites(标签_文字).empty());
}

TEST_F(MainWindowTest, DrivePickSetsOrClearsTheWarning) {
  os.AddDrive('E');
  ASSERT_TRUE(os.MakeFolders(kTodayOnD));
  Open();
  struct Step {
    int item;
    const char* status;
  };
  const Step steps[] = {
      {1, ""},        // E: exists, no folder for today
      {0, kWarning},  // back to D:
      {7, ""},        // K: does not exist
      {0, kWarning},
  };
  for (const Step& step : steps) {
    os.PickComboItem(组合框_盘符, step.item);
    EXPECT_EQ(Status(), step.status) << "item " << step.item;
  }
}

TEST_F(MainWindowTest, DrivePickUsesTodaysDate) {
  ASSERT_TRUE(os.MakeFolders(kTodayOnD));
  os.SetDate(2023, 4, 30);
  Open();
  ASSERT_EQ(Status(), kWarning);
  os.SetDate(2023, 5, 1);  // past midnight
  os.PickComboItem(组合框_盘符, 0);
  EXPECT_EQ(Status(), "");
  ASSERT_TRUE(os.MakeFolders("D:\\浏览器书签备份2023年5月1日"));
  os.PickComboItem(组合框_盘符, 0);
  EXPECT_EQ(Status(), kWarning);
}

TEST_F(MainWindowTest, TheDriveListHoldsDToK) {
  Open();
  ASSERT_EQ(os.ComboItemCount(组合框_盘符), 8);
  const char* drives[] = {"D:\\", "E:\\", "F:\\", "G:\\", "H:\\", "I:\\", "J:\\", "K:\\"};
  for (int i = 0; i < 8; ++i) EXPECT_EQ(os.ComboItemText(组合框_盘符, i), drives[i]);
}

// The form as the user knows it: every control's kind, caption, place, parent
// and font. A caption is also the browser name the handlers' texts use.
TEST(MainWindowForm, ControlsSitWhereTheFormPutsThem) {
  using K = ControlKind;
  struct Row {
    int id;
    ControlKind kind;
    const char* caption;
    int x, y, width, height;
    int parent;
    const char* face;
    int fontHeight, weight;
  };
  const Row rows[] = {
      {超级按钮_一键备份书签, K::Button, "一键备份书签", 12, 24, 110, 62, 0, "微软雅黑", 16, 700},
      {标签_文字, K::Label, "", 128, 8, 192, 112, 0, "微软雅黑", 12, 400},
      {超级按钮_一键恢复书签, K::Button, "一键恢复书签", 322, 24, 110, 62, 0, "微软雅黑", 16, 700},
      {标签1, K::Label, "备份位置：", 13, 118, 56, 24, 0, "", 0, 400},
      {组合框_盘符, K::ComboBox, "", 69, 121, 43, 20, 0, "", 0, 400},
      {单选框_备份, K::RadioButton, "备份", 130, 123, 48, 16, 0, "", 0, 400},
      {单选框_恢复, K::RadioButton, "恢复", 192, 123, 48, 16, 0, "", 0, 400},
      {分组框1, K::GroupBox, "", 12, 141, 420, 208, 0, "", 0, 400},
      {超级按钮_谷歌浏览器, K::Button, "谷歌浏览器", 6, 14, 130, 30, 分组框1, "等线", 14, 400},
      {超级按钮_IE浏览器, K::Button, "IE浏览器", 6, 52, 130, 30, 分组框1, "等线", 14, 400},
      {超级按钮_搜狗浏览器, K::Button, "搜狗浏览器", 6, 90, 130, 30, 分组框1, "等线", 14, 400},
      {超级按钮_极速浏览器, K::Button, "极速浏览器", 6, 128, 130, 30, 分组框1, "等线", 14, 400},
      {超级按钮_猎豹浏览器, K::Button, "猎豹浏览器", 6, 166, 130, 30, 分组框1, "等线", 14, 400},
      {超级按钮_Edge浏览器, K::Button, "Edge浏览器", 156, 156, 130, 30, 0, "等线", 14, 400},
      {超级按钮_360极速浏览器, K::Button, "360极速浏览器", 156, 194, 130, 30, 0, "等线", 14, 400},
      {超级按钮_360安全浏览器, K::Button, "360安全浏览器", 156, 232, 130, 30, 0, "等线", 14, 400},
      {超级按钮_360极速浏览器X, K::Button, "360极速浏览器X", 156, 271, 130, 30, 0, "等线", 14, 400},
      {超级按钮9, K::Button, "", 157, 310, 130, 30, 0, "", 0, 400},
      {超级按钮_火狐浏览器, K::Button, "火狐浏览器", 293, 156, 130, 30, 0, "等线", 14, 400},
      {超级按钮_遨游浏览器, K::Button, "遨游浏览器", 293, 194, 130, 30, 0, "等线", 14, 400},
      {超级按钮_QQ浏览器, K::Button, "QQ浏览器", 293, 232, 130, 30, 0, "等线", 14, 400},
      {超级按钮_双核浏览器大, K::Button, "双核浏览器大", 293, 270, 130, 30, 0, "等线", 14, 400},
      {超级按钮_双核浏览器小, K::Button, "双核浏览器小", 293, 310, 130, 30, 0, "等线", 14, 400},
  };
  const std::vector<ControlSpec>& controls = MainWindowControls();
  ASSERT_EQ(controls.size(), std::size(rows));
  for (const Row& row : rows) {
    SCOPED_TRACE(row.caption[0] != '\0' ? row.caption : std::to_string(row.id));
    const ControlSpec* found = nullptr;
    for (const ControlSpec& c : controls) {
      if (c.id == row.id) found = &c;
    }
    ASSERT_NE(found, nullptr);
    EXPECT_EQ(found->kind, row.kind);
    EXPECT_EQ(found->caption, row.caption);
    EXPECT_EQ((std::vector<int>{found->x, found->y, found->width, found->height}),
              (std::vector<int>{row.x, row.y, row.width, row.height}));
    EXPECT_EQ(found->parentId, row.parent);
    EXPECT_EQ(found->font.face, row.face);
    EXPECT_EQ(found->font.height, row.fontHeight);
    EXPECT_EQ(found->font.weight, row.weight);
  }
  const WindowSpec window = MainWindowSpec();
  EXPECT_EQ((std::vector<int>{window.x, window.y, window.width, window.height}), (std::vector<int>{50, 50, 449, 387}));
}

TEST_F(MainWindowTest, RadioButtonsGiveTheMode) {
  Open();
  os.Click(单选框_备份);
  EXPECT_EQ(CurrentOperationMode(os), OperationMode::Backup);
  os.Click(单选框_恢复);
  EXPECT_EQ(CurrentOperationMode(os), OperationMode::Restore);
  EXPECT_TRUE(os.TextWrites(标签_文字).empty()) << "choosing a mode says nothing";
}

TEST_F(MainWindowTest, BlankButtonDoesNothing) {
  ASSERT_TRUE(os.WriteFile("C:\\Users\\Tester\\appdata\\Local\\Google\\Chrome\\User Data\\Default\\Bookmarks", "b"));
  Open();
  const Text before = os.DumpFiles();
  const int modes[] = {0, 单选框_备份, 单选框_恢复};
  for (int mode : modes) {
    if (mode != 0) os.Click(mode);
    os.Click(超级按钮9);
  }
  EXPECT_TRUE(os.TextWrites(标签_文字).empty());
  EXPECT_TRUE(os.ChooserCalls().empty());
  EXPECT_EQ(os.DumpFiles(), before);
}

// Every browser, with its files in the profile and a backup at hand: without
// a mode, a press only asks for one.
TEST_F(MainWindowTest, BrowserButtonsWithoutAModeOnlyAskForOne) {
  const char* files[] = {
      "C:\\Users\\Tester\\appdata\\Local\\Google\\Chrome\\User Data\\Default\\Bookmarks",
      "C:\\Users\\Tester\\appdata\\Local\\Microsoft\\Edge\\User Data\\Default\\Bookmarks",
      "C:\\Users\\Tester\\appdata\\Local\\Tencent\\QQBrowser\\User Data\\Default\\Bookmarks_01",
      "C:\\Users\\Tester\\appdata\\Local\\TSBrowser\\User Data\\Default\\Bookmarks",
      "C:\\Users\\Tester\\appdata\\Local\\Chromium\\GbrowserData\\Default\\Bookmarks",
      "C:\\Users\\Tester\\appdata\\Local\\ChromeCore\\User Data\\Default\\Favourites",
      "C:\\Users\\Tester\\appdata\\Local\\liebao\\User Data\\Default\\Bookmarks",
      "C:\\Users\\Tester\\appdata\\Roaming\\Sogouexplorer\\favorite2.dat",
      "C:\\Users\\Tester\\Favorites\\链接.url",
      "D:\\浏览器书签备份2023年4月30日\\谷歌浏览器\\Bookmarks",
      "D:\\浏览器书签备份2023年4月30日\\IE浏览器\\a.url",
      "D:\\Bookmarks",
  };
  for (const char* file : files) ASSERT_TRUE(os.WriteFile(file, "bytes"));
  Open();
  const Text before = os.DumpFiles();
  const int buttons[] = {超级按钮_谷歌浏览器, 超级按钮_IE浏览器,     超级按钮_搜狗浏览器,
                         超级按钮_极速浏览器, 超级按钮_猎豹浏览器,   超级按钮_Edge浏览器,
                         超级按钮_QQ浏览器,   超级按钮_双核浏览器大, 超级按钮_双核浏览器小};
  for (int button : buttons) {
    const size_t writes = os.TextWrites(标签_文字).size();
    os.Click(button);
    ASSERT_EQ(os.TextWrites(标签_文字).size(), writes + 1) << "button " << button;
    EXPECT_EQ(os.TextWrites(标签_文字).back(), "请先点选备份或恢复按钮") << "button " << button;
  }
  EXPECT_TRUE(os.ChooserCalls().empty());
  EXPECT_EQ(os.DumpFiles(), before);
}

TEST_F(MainWindowTest, RunApplicationShowsTheWindowAndEndsWithZero) {
  ASSERT_TRUE(os.MakeFolders(kTodayOnD));
  EXPECT_EQ(RunApplication(os), 0);
  EXPECT_TRUE(os.MainWindowCreated());
  EXPECT_EQ(os.GetControlText(标签_文字), kWarning);
  EXPECT_EQ(TextCodePage, 936);
}

TEST_F(MainWindowTest, StartUpReadsTheWindowsVersion) {
  struct Case {
    uint32_t major, minor;
    bool readable;
    uint16_t word;
  };
  const Case cases[] = {
      {10, 0, true, 0x0A00},
      {5, 1, true, 0x0501},
      {6, 0x1FF, true, 0x06FF},  // only the low byte of the minor version counts
      {6, 1, false, 0},
  };
  const uint16_t saved = OsVersionWord;
  for (const Case& c : cases) {
    os.SetOsVersion(c.major, c.minor, 7601, c.readable);
    InitProcessValues(os);
    EXPECT_EQ(OsVersionWord, c.word) << c.major << "." << c.minor;
  }
  OsVersionWord = saved;
}

}  // namespace
}  // namespace bm
