// FirefoxFolderWindow on the simulated Windows: its form, the double-click
// that prepares the paste, and the load button that takes or refuses the
// pasted folder.
#include <gtest/gtest.h>

#include <functional>

#include "app/FirefoxFolderWindow.h"
#include "app/MainWindow.h"
#include "app/ProcessValues.h"
#include "platform/sim/SimPlatform.h"

namespace bm {
namespace {

const char kHint[] = "双击此编辑框可复制命令:about:support";
const char kRefused[] = "未找到指定的火狐目录，请确认目录是否粘贴正确";
const char kProfile[] = "C:\\Users\\Tester\\AppData\\Roaming\\Mozilla\\Firefox\\Profiles\\k3x9.default-release";
const EditColors kHintColours{Rgb(192, 192, 192), Rgb(241, 239, 218)};
const EditColors kTypingColours{Rgb(0, 0, 0), Rgb(241, 239, 218)};

class FirefoxFolderWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    FirefoxProfileFolder.clear();
    os.SetEventSink(&events);
    ASSERT_TRUE(os.CreateMainWindow(MainWindowSpec(), MainWindowControls()));
    ASSERT_TRUE(os.WriteFile(std::string(kProfile) + "\\places.sqlite", "SQLite format 3"));
  }
  void TearDown() override { FirefoxProfileFolder.clear(); }

  // Opens the window with `user` at it; true when it was shown and is closed again.
  bool OpenWith(std::function<void(int)> user) {
    os.OnModalWindowOpen(std::move(user));
    const bool shown = OpenFirefoxFolderWindow(os);
    return shown && !os.WindowOpen(FirefoxWindowId);
  }
  // The user pastes `text` into the box and presses 载入目录.
  bool Load(const Text& text) {
    return OpenWith([this, text](int) {
      os.SetControlText(编辑框_火狐变量目录, text);
      os.Click(按钮_载入火狐目录);
      loadClosedTheWindow = !os.WindowOpen(FirefoxWindowId);
    });
  }
  Text Status() { return os.GetControlText(标签_文字); }

  SimPlatform os;
  MainWindowEvents events{os};
  bool loadClosedTheWindow = false;
};

TEST_F(FirefoxFolderWindowTest, OpensOverTheMainWindowAsLaidOut) {
  std::optional<EditColors> coloursAtOpen;
  bool mainTookInput = true;
  ASSERT_TRUE(OpenWith([&](int windowId) {
    EXPECT_EQ(windowId, FirefoxWindowId);
    EXPECT_EQ(os.GetControlText(编辑框_火狐变量目录), kHint);
    coloursAtOpen = os.EditColorsOf(编辑框_火狐变量目录);
    mainTookInput = os.WindowEnabled(MainWindowId);
  }));
  EXPECT_EQ(coloursAtOpen, kHintColours);
  EXPECT_FALSE(mainTookInput);
  EXPECT_TRUE(os.WindowEnabled(MainWindowId));

  const std::vector<ModalWindowCall> calls = os.ModalWindowCalls();
  ASSERT_EQ(calls.size(), 1u);
  const ModalWindowCall& call = calls[0];
  EXPECT_EQ(call.ownerWindowId, MainWindowId);
  EXPECT_TRUE(call.ownerDisabled);
  EXPECT_EQ(call.window.id, FirefoxWindowId);
  EXPECT_EQ(call.window.title, "打开火狐浏览器输入about:support命令，将\"配置文件夹\"的值粘贴到下面输入框后载入");
  EXPECT_EQ((std::vector<int>{call.window.x, call.window.y, call.window.width, call.window.height}),
            (std::vector<int>{50, 50, 715, 85}));

  ASSERT_EQ(call.controls.size(), 2u);
  const ControlSpec& edit = call.controls[0];
  EXPECT_EQ(edit.id, 编辑框_火狐变量目录);
  EXPECT_EQ(edit.kind, ControlKind::Edit);
  EXPECT_EQ(edit.caption, kHint);
  EXPECT_EQ((std::vector<int>{edit.x, edit.y, edit.width, edit.height, edit.parentId}),
            (std::vector<int>{6, 12, 624, 24, 0}));
  EXPECT_EQ(edit.font.face, "等线");
  EXPECT_EQ(edit.font.height, 14);
  EXPECT_EQ(edit.font.weight, 700);
  const ControlSpec& load = call.controls[1];
  EXPECT_EQ(load.id, 按钮_载入火狐目录);
  EXPECT_EQ(load.kind, ControlKind::Button);
  EXPECT_EQ(load.caption, "载入目录");
  EXPECT_EQ((std::vector<int>{load.x, load.y, load.width, load.height, load.parentId}),
            (std::vector<int>{634, 11, 60, 26, 0}));
}

TEST_F(FirefoxFolderWindowTest, DoubleClickPutsTheCommandOnTheClipboardAndReadiesTheBox) {
  std::optional<EditColors> colours;
  Text text = "unchanged";
  ASSERT_TRUE(OpenWith([&](int) {
    os.DoubleClick(编辑框_火狐变量目录);
    text = os.GetControlText(编辑框_火狐变量目录);
    colours = os.EditColorsOf(编辑框_火狐变量目录);
    EXPECT_TRUE(os.WindowOpen(FirefoxWindowId)) << "the double-click leaves the window open";
  }));
  EXPECT_EQ(os.ClipboardText(), Text("about:support"));
  EXPECT_EQ(text, "");
  EXPECT_EQ(colours, kTypingColours);
  EXPECT_EQ(FirefoxProfileFolder, "");
  EXPECT_TRUE(os.TextWrites(标签_文字).empty());
}

TEST_F(FirefoxFolderWindowTest, LoadTakesTheTrimmedFolderOfAFirefoxProfile) {
  ASSERT_TRUE(os.WriteFile("D:\\Firefox 便携\\profile\\prefs.js", "user_pref();"));
  const Text profile = kProfile;
  struct Case {
    Text pasted;
    Text taken;
  };
  const Case cases[] = {
      {profile, profile},
      {"   " + profile + "  ", profile},
      {"\"" + profile + "\"", profile},
      {"  \" " + profile + " \"  ", profile},
      // prefs.js alone marks a profile too; names with spaces and Chinese stay whole.
      {"D:\\Firefox 便携\\profile", "D:\\Firefox 便携\\profile"},
  };
  for (const Case& c : cases) {
    FirefoxProfileFolder = "C:\\earlier";
    loadClosedTheWindow = false;
    EXPECT_TRUE(Load(c.pasted)) << c.pasted;
    EXPECT_TRUE(loadClosedTheWindow) << c.pasted;
    EXPECT_EQ(FirefoxProfileFolder, c.taken) << c.pasted;
  }
  EXPECT_TRUE(os.TextWrites(标签_文字).empty());
}

TEST_F(FirefoxFolderWindowTest, LoadRefusesWhatIsNoFirefoxProfileFolder) {
  ASSERT_TRUE(os.MakeFolders("D:\\NotAProfile"));
  ASSERT_TRUE(os.WriteFile("D:\\NotAProfile\\places.sqlite.bak", "old"));
  ASSERT_TRUE(os.MakeFolders("D:\\FolderNamedLikeTheFile\\places.sqlite"));
  ASSERT_TRUE(os.WriteFile("D:\\file.txt", "a file, not a folder"));
  // A drive root is refused even where it holds the files.
  ASSERT_TRUE(os.WriteFile("D:\\places.sqlite", "SQLite format 3"));
  ASSERT_TRUE(os.WriteFile("D:\\prefs.js", "user_pref();"));
  const Text refused[] = {
      kHint,
      "",
      "   ",
      "\"\"",
      "D:\\Missing\\k3x9.default",
      "Q:\\on a missing drive",
      "D:\\NotAProfile",
      "D:\\FolderNamedLikeTheFile",
      "D:\\file.txt",
      "D:\\",
      "D:",
      " \"D:\\\" ",
      // One quote alone is part of the name.
      "\"" + Text(kProfile),
  };
  for (const Text& pasted : refused) {
    for (const Text& before : {Text(), Text("C:\\earlier")}) {
      FirefoxProfileFolder = before;
      ShowStatus(os, "");
      loadClosedTheWindow = false;
      EXPECT_TRUE(Load(pasted)) << pasted;
      EXPECT_TRUE(loadClosedTheWindow) << pasted;
      EXPECT_EQ(FirefoxProfileFolder, before) << pasted;
      EXPECT_EQ(Status(), kRefused) << pasted;
    }
  }
}

TEST_F(FirefoxFolderWindowTest, LoadWithoutTouchingTheBoxRefusesTheHint) {
  ASSERT_TRUE(OpenWith([this](int) { os.Click(按钮_载入火狐目录); }));
  EXPECT_EQ(Status(), kRefused);
  EXPECT_EQ(FirefoxProfileFolder, "");
}

TEST_F(FirefoxFolderWindowTest, ClosingWithoutLoadingKeepsTheFolder) {
  for (const Text& before : {Text(), Text("C:\\earlier")}) {
    FirefoxProfileFolder = before;
    // The user pastes a good folder, then closes the window instead of loading.
    ASSERT_TRUE(OpenWith([this](int) { os.SetControlText(编辑框_火狐变量目录, kProfile); }));
    EXPECT_EQ(FirefoxProfileFolder, before);
    ASSERT_TRUE(OpenWith([this](int windowId) { os.CloseWindow(windowId); }));
    EXPECT_EQ(FirefoxProfileFolder, before);
  }
  EXPECT_TRUE(os.TextWrites(标签_文字).empty());
  EXPECT_TRUE(os.WindowEnabled(MainWindowId));
}

TEST_F(FirefoxFolderWindowTest, TheMainWindowTakesNoClicksWhileItIsOpen) {
  ASSERT_TRUE(OpenWith([this](int) {
    os.Click(单选框_备份);
    os.PickComboItem(组合框_盘符, 3);
  }));
  EXPECT_FALSE(os.IsButtonChecked(单选框_备份));
  EXPECT_EQ(SelectedDriveText(os), "D:\\");
  os.Click(单选框_备份);
  EXPECT_TRUE(os.IsButtonChecked(单选框_备份)) << "it takes them again once the window is closed";
}

TEST_F(FirefoxFolderWindowTest, EachOpeningStartsAfresh) {
  ASSERT_TRUE(OpenWith([this](int) { os.DoubleClick(编辑框_火狐变量目录); }));
  Text text;
  std::optional<EditColors> colours;
  ASSERT_TRUE(OpenWith([&](int) {
    text = os.GetControlText(编辑框_火狐变量目录);
    colours = os.EditColorsOf(编辑框_火狐变量目录);
  }));
  EXPECT_EQ(text, kHint);
  EXPECT_EQ(colours, kHintColours);
  EXPECT_EQ(os.ModalWindowCalls().size(), 2u);
}

TEST_F(FirefoxFolderWindowTest, WithoutTheMainWindowNothingIsShown) {
  SimPlatform bare;
  EXPECT_FALSE(OpenFirefoxFolderWindow(bare));
  EXPECT_TRUE(bare.ModalWindowCalls().empty());
}

}  // namespace
}  // namespace bm
