// Paths, folders and file primitives on the simulated Windows.
#include <gtest/gtest.h>

#include "app/MainWindow.h"
#include "app/Paths.h"
#include "platform/sim/SimPlatform.h"

namespace bm {
namespace {

class PathsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    os.SetEventSink(&events);
    ASSERT_TRUE(os.CreateMainWindow(MainWindowSpec(), MainWindowControls()));
  }

  SimPlatform os;
  MainWindowEvents events{os};
};

// ---- the user, the date, the backup folder ----------------------------------------

TEST_F(PathsTest, BackupRootIsTheSelectedDriveThenTheDatedName) {
  EXPECT_EQ(BackupRoot(os, SelectedDriveText(os)), "D:\\浏览器书签备份2023年4月30日");
  os.PickComboItem(组合框_盘符, 2);
  EXPECT_EQ(BackupRoot(os, SelectedDriveText(os)), "F:\\浏览器书签备份2023年4月30日");
}

TEST_F(PathsTest, DateTextHasNoLeadingZerosAndFollowsTheClock) {
  struct Case {
    int year, month, day;
    const char* expected;
  };
  const Case cases[] = {
      {2023, 4, 30, "2023年4月30日"},
      {2024, 1, 5, "2024年1月5日"},
      {1999, 12, 31, "1999年12月31日"},
  };
  for (const Case& c : cases) {
    os.SetDate(c.year, c.month, c.day);
    EXPECT_EQ(DateText(os), c.expected);
    EXPECT_EQ(BackupRoot(os, SelectedDriveText(os)), Text("D:\\浏览器书签备份") + c.expected);
  }
}

TEST_F(PathsTest, LogonNameOfAnyLengthIsReadWhole) {
  const Text longName(80, 'n');
  os.SetUserName(longName);
  EXPECT_EQ(GetLogonUserName(os), longName);
  const Text chinese = "张三李四王五赵六钱七孙八周九吴十郑十一王十二冯十三陈十四";
  os.SetUserName(chinese);
  EXPECT_EQ(GetLogonUserName(os), chinese);
  os.SetUserNameFails(true);
  EXPECT_EQ(GetLogonUserName(os), "");
}

TEST_F(PathsTest, ProfileRootIsTheFolderWindowsReports) {
  struct Case {
    const char* reported;
    const char* expected;
  };
  const Case cases[] = {
      {"C:\\Users\\Tester", "C:\\Users\\Tester"},
      {"D:\\Profiles\\张三", "D:\\Profiles\\张三"},
      {"C:\\Documents and Settings\\Tester\\", "C:\\Documents and Settings\\Tester"},
      {"", "C:\\Users\\Tester"},
  };
  for (const Case& c : cases) {
    os.SetProfileFolder(c.reported);
    EXPECT_EQ(ProfileRoot(os), c.expected) << c.reported;
  }
}

TEST_F(PathsTest, ProfileRootFallsBackToTheLogonName) {
  os.SetProfileFolder("");
  const Text longName = Text(60, 'x') + "用户";
  os.SetUserName(longName);
  EXPECT_EQ(ProfileRoot(os), "C:\\Users\\" + longName);
}

TEST_F(PathsTest, WideTextRoundTripsGbkAndStopsAtZero) {
  const Text text = "D:\\浏览器书签备份\\\x81\x5C";
  const WideText wide = ToWideText(os, text);
  EXPECT_EQ(wide.size(), 12u);  // 3 + 7 characters + "\" + one double-byte character
  EXPECT_EQ(FromWideText(os, wide), text);
  EXPECT_EQ(FromWideText(os, wide + u'\0' + u"tail"), text);
  EXPECT_TRUE(ToWideText(os, "").empty());
  EXPECT_EQ(FromWideText(os, WideText()), "");
}

// ---- folders ---------------------------------------------------------------------------

TEST_F(PathsTest, MakeFolderPathCreatesEveryLevel) {
  EXPECT_TRUE(MakeFolderPath(os, "D:\\a\\b"));
  EXPECT_TRUE(os.IsFolder("D:\\a"));
  EXPECT_TRUE(os.IsFolder("D:\\a\\b"));
  EXPECT_TRUE(MakeFolderPath(os, "D:\\a\\b")) << "an existing folder is simply passed over";
  EXPECT_TRUE(MakeFolderPath(os, "D:\\x\\浏览器\\y\\"));
  EXPECT_TRUE(os.IsFolder("D:\\x\\浏览器\\y"));
}

TEST_F(PathsTest, MakeFolderPathOnAShortPathCreatesNothing) {
  const Text before = os.DumpFiles();
  EXPECT_EQ(MakeFolderPath(os, "ab"), FolderExists(os, "ab"));
  EXPECT_FALSE(MakeFolderPath(os, "ab"));
  EXPECT_EQ(MakeFolderPath(os, "D:"), FolderExists(os, "D:"));
  EXPECT_EQ(os.DumpFiles(), before);
}

TEST_F(PathsTest, MakeFolderPathReportsWhatCouldNotBeMade) {
  os.SetDriveReadOnly('D', true);
  EXPECT_FALSE(MakeFolderPath(os, "D:\\a\\b"));
  EXPECT_FALSE(MakeFolderPath(os, "E:\\a")) << "no drive E:";
  os.SetDriveReadOnly('D', false);
  ASSERT_TRUE(os.WriteFile("D:\\a", "a file in the way"));
  EXPECT_FALSE(MakeFolderPath(os, "D:\\a\\b"));
}

TEST_F(PathsTest, FolderTestsTellFoldersFilesAndMissingPaths) {
  ASSERT_TRUE(os.MakeFolders("D:\\empty"));
  ASSERT_TRUE(os.MakeFolders("D:\\withFolder\\inner"));
  ASSERT_TRUE(os.WriteFile("D:\\withFile\\f.txt", "x"));
  struct Case {
    const char* path;
    bool exists;
    bool empty;
  };
  const Case cases[] = {
      {"D:\\empty", true, true},
      {"D:\\withFolder", true, false},
      {"D:\\withFile", true, false},
      {"D:\\withFile\\f.txt", false, false},
      {"D:\\missing", false, false},
      {"", false, false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(FolderExists(os, c.path), c.exists) << c.path;
    EXPECT_EQ(FolderIsEmpty(os, c.path), c.empty) << c.path;
  }
}

TEST_F(PathsTest, CreateOneFolderMakesOneLevelOnly) {
  EXPECT_TRUE(CreateOneFolder(os, "D:\\one"));
  EXPECT_FALSE(CreateOneFolder(os, "D:\\one")) << "exists already";
  EXPECT_FALSE(CreateOneFolder(os, "D:\\two\\three")) << "parent missing";
  EXPECT_FALSE(os.IsFolder("D:\\two"));
}

// ---- the folder chooser ------------------------------------------------------------------

TEST_F(PathsTest, ChooseFolderOpensOnTheStartFolderWithTheDefaultTitle) {
  os.QueueChooserAnswer(ChooserAnswer::Pick("D:\\浏览器书签备份2023年4月29日\\谷歌浏览器"));
  EXPECT_EQ(ChooseFolder(os, "D:\\"), "D:\\浏览器书签备份2023年4月29日\\谷歌浏览器");
  ASSERT_EQ(os.ChooserCalls().size(), 1u);
  const ChooserCall call = os.ChooserCalls()[0];
  EXPECT_EQ(call.title, "请选择一个文件夹");
  EXPECT_EQ(call.flags, 0u);
  EXPECT_EQ(call.owner, 0u);
  EXPECT_EQ(call.startFolder, "D:\\");
}

TEST_F(PathsTest, ChooseFolderPassesItsOptions) {
  ChooseFolderOptions options;
  options.title = "选择火狐配置目录";
  options.includeFiles = true;
  options.editBox = true;
  options.newStyle = true;
  options.owner = os.MainWindowHandle();
  ChooseFolder(os, "", options);
  ASSERT_EQ(os.ChooserCalls().size(), 1u);
  const ChooserCall call = os.ChooserCalls()[0];
  EXPECT_EQ(call.title, "选择火狐配置目录");
  EXPECT_EQ(call.flags, kBifBrowseIncludeFiles | kBifEditBox | kBifNewDialogStyle);
  EXPECT_EQ(call.owner, os.MainWindowHandle());
  EXPECT_EQ(call.startFolder, "");
}

TEST_F(PathsTest, ChooseFolderGivesEmptyTextForCancelAndVirtualItems) {
  os.QueueChooserAnswer(ChooserAnswer::Cancelled());
  os.QueueChooserAnswer(ChooserAnswer::VirtualItem());
  EXPECT_EQ(ChooseFolder(os, "D:\\"), "");
  EXPECT_EQ(ChooseFolder(os, "D:\\"), "");
  EXPECT_EQ(ChooseFolder(os, "D:\\"), "") << "nothing queued: cancelled";
  EXPECT_EQ(os.ChooserCalls().size(), 3u);
}

// ---- file search ---------------------------------------------------------------------------

class FindFirstNameTest : public PathsTest {
 protected:
  void SetUp() override {
    PathsTest::SetUp();
    ASSERT_TRUE(os.WriteFile("D:\\t\\a.txt", "a"));
    ASSERT_TRUE(os.WriteFile("D:\\t\\h.txt", "h", kAttrHidden));
    ASSERT_TRUE(os.WriteFile("D:\\t\\n.txt", "n", kAttrNormal));
    ASSERT_TRUE(os.MakeFolders("D:\\t\\sub"));
    ASSERT_TRUE(os.WriteFile("D:\\u\\x.dat", "x"));
    ASSERT_TRUE(os.WriteFile("D:\\u\\y.dat", "y"));
  }
};

TEST_F(FindFirstNameTest, FiltersPickTheFirstMatchingEntry) {
  struct Case {
    const char* pattern;
    std::optional<uint32_t> filter;
    const char* expected;
  };
  const Case cases[] = {
      {"D:\\t\\a.txt", std::nullopt, "a.txt"},
      {"D:\\t\\A.TXT", std::nullopt, "a.txt"},
      {"D:\\t\\missing.txt", std::nullopt, ""},
      {"D:\\t\\sub", std::nullopt, ""},
      {"D:\\t\\sub", kAttrDirectory, "sub"},
      {"D:\\t\\*", std::nullopt, "a.txt"},
      {"D:\\t\\*", kAttrDirectory, "."},
      {"D:\\t\\*", kAttrHidden, "h.txt"},
      {"D:\\t\\*", kAttrHidden | kAttrDirectory, "."},
      // A mask of 0 lets only entries without any attribute through.
      {"D:\\t\\*", kAttrNormal, ""},
      {"D:\\nowhere\\*", std::nullopt, ""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(FindFirstName(os, c.pattern, c.filter), c.expected)
        << c.pattern << " filter " << (c.filter ? static_cast<int>(*c.filter) : -1);
  }
}

TEST_F(FindFirstNameTest, EmptyPatternContinuesTheSlotsSearch) {
  SearchSlot slot(os);
  EXPECT_EQ(slot.FindFirstName("D:\\t\\*"), "a.txt");
  EXPECT_EQ(slot.FindFirstName(""), "h.txt");
  EXPECT_EQ(slot.FindFirstName(""), "n.txt");
  EXPECT_EQ(slot.FindFirstName(""), "") << "only the folder is left";
  EXPECT_EQ(slot.FindFirstName(""), "") << "the search ran out and was closed";
  EXPECT_EQ(FindFirstName(os, ""), "") << "a fresh slot has no search to continue";
}

TEST_F(FindFirstNameTest, SlotsOfDifferentCallersDoNotDisturbEachOther) {
  SearchSlot outer(os);
  SearchSlot inner(os);
  EXPECT_EQ(outer.FindFirstName("D:\\t\\*"), "a.txt");
  EXPECT_EQ(inner.FindFirstName("D:\\u\\*"), "x.dat");
  EXPECT_EQ(outer.FindFirstName(""), "h.txt");
  EXPECT_EQ(FindFirstName(os, "D:\\u\\y.dat"), "y.dat");
  EXPECT_EQ(inner.FindFirstName(""), "y.dat");
  EXPECT_EQ(outer.FindFirstName(""), "n.txt");
  // A new pattern restarts the slot.
  EXPECT_EQ(outer.FindFirstName("D:\\u\\*.dat"), "x.dat");
}

TEST_F(FindFirstNameTest, FileExistsOnlyForFiles) {
  EXPECT_TRUE(FileExists(os, "D:\\t\\h.txt"));
  EXPECT_FALSE(FileExists(os, "D:\\t\\sub"));
  EXPECT_FALSE(FileExists(os, "D:\\t\\nothing"));
  EXPECT_FALSE(FileExists(os, ""));
}

// ---- copies -------------------------------------------------------------------------------------

TEST_F(PathsTest, CopyOneFileReplacesTheTarget) {
  ASSERT_TRUE(os.WriteFile("C:\\src\\Bookmarks", "new bytes"));
  ASSERT_TRUE(os.WriteFile("D:\\dst\\Bookmarks", "old"));
  EXPECT_TRUE(CopyOneFile(os, "C:\\src\\Bookmarks", "D:\\dst\\Bookmarks"));
  EXPECT_EQ(os.ReadFile("D:\\dst\\Bookmarks"), "new bytes");
}

TEST_F(PathsTest, CopyOneFileFailsWithoutSourceOrTargetFolder) {
  ASSERT_TRUE(os.WriteFile("C:\\src\\Bookmarks", "x"));
  EXPECT_FALSE(CopyOneFile(os, "C:\\src\\missing", "D:\\Bookmarks"));
  EXPECT_FALSE(CopyOneFile(os, "C:\\src\\Bookmarks", "D:\\no\\Bookmarks"));
  os.HoldOpen("C:\\src\\Bookmarks");
  EXPECT_FALSE(CopyOneFile(os, "C:\\src\\Bookmarks", "D:\\Bookmarks"));
  EXPECT_FALSE(os.IsFile("D:\\Bookmarks"));
}

class CopyFolderTreeTest : public PathsTest {
 protected:
  void SetUp() override {
    PathsTest::SetUp();
    ASSERT_TRUE(os.WriteFile("C:\\s\\a.url", "A"));
    ASSERT_TRUE(os.WriteFile("C:\\s\\链接\\b.url", "B"));
    ASSERT_TRUE(os.WriteFile("C:\\s\\链接\\深处\\c.url", "C"));
    ASSERT_TRUE(os.MakeFolders("C:\\s\\空"));
  }
};

TEST_F(CopyFolderTreeTest, CopiesTheContentsAtEveryDepth) {
  EXPECT_TRUE(CopyFolderTree(os, "C:\\s", "D:\\t"));
  EXPECT_EQ(os.ReadFile("D:\\t\\a.url"), "A");
  EXPECT_EQ(os.ReadFile("D:\\t\\链接\\b.url"), "B");
  EXPECT_EQ(os.ReadFile("D:\\t\\链接\\深处\\c.url"), "C");
  EXPECT_TRUE(os.IsFolder("D:\\t\\空"));
  EXPECT_FALSE(os.IsFolder("D:\\t\\s")) << "the contents, not the folder itself";
}

TEST_F(CopyFolderTreeTest, ReplacesFilesOfTheSameNameAndKeepsOthers) {
  ASSERT_TRUE(os.WriteFile("D:\\t\\a.url", "old A"));
  ASSERT_TRUE(os.WriteFile("D:\\t\\链接\\mine.url", "M"));
  EXPECT_TRUE(CopyFolderTree(os, "C:\\s\\", "D:\\t\\"));
  EXPECT_EQ(os.ReadFile("D:\\t\\a.url"), "A");
  EXPECT_EQ(os.ReadFile("D:\\t\\链接\\mine.url"), "M");
  EXPECT_EQ(os.ReadFile("D:\\t\\链接\\深处\\c.url"), "C");
}

TEST_F(CopyFolderTreeTest, RefusesWhatCannotBeCopied) {
  const Text before = os.DumpFiles();
  EXPECT_FALSE(CopyFolderTree(os, "C:\\missing", "D:\\t"));
  EXPECT_FALSE(CopyFolderTree(os, "C:\\s\\a.url", "D:\\t")) << "a file is no folder";
  EXPECT_FALSE(CopyFolderTree(os, "C:\\s", "D:\\no\\t")) << "the target's parent is missing";
  EXPECT_FALSE(CopyFolderTree(os, "C:\\s", "C:\\s")) << "onto itself";
  EXPECT_FALSE(CopyFolderTree(os, "C:\\s", "c:\\S\\链接\\copy")) << "into itself";
  EXPECT_EQ(os.DumpFiles(), before);
}

TEST_F(CopyFolderTreeTest, ReportsAFileThatCouldNotBeCopied) {
  os.HoldOpen("C:\\s\\链接\\b.url");
  EXPECT_FALSE(CopyFolderTree(os, "C:\\s", "D:\\t"));
  EXPECT_EQ(os.ReadFile("D:\\t\\链接\\深处\\c.url"), "C") << "the rest is still copied";
}

// A favourites folder holds a hidden, system desktop.ini, which Windows will
// not simply copy over; a read-only file is left as it is and reported.
TEST_F(CopyFolderTreeTest, ReplacesHiddenSystemFilesButNotReadOnlyOnes) {
  ASSERT_TRUE(os.WriteFile("C:\\s\\desktop.ini", "new ini", kAttrHidden | kAttrSystem));
  ASSERT_TRUE(os.WriteFile("D:\\t\\desktop.ini", "old ini", kAttrHidden | kAttrSystem));
  EXPECT_FALSE(os.CopyFileA("C:\\s\\desktop.ini", "D:\\t\\desktop.ini", false)) << "as Windows does";
  EXPECT_TRUE(CopyFolderTree(os, "C:\\s", "D:\\t"));
  EXPECT_EQ(os.ReadFile("D:\\t\\desktop.ini"), "new ini");
  EXPECT_EQ(os.AttributesOf("D:\\t\\desktop.ini") & (kAttrHidden | kAttrSystem), kAttrHidden | kAttrSystem);

  ASSERT_TRUE(os.WriteFile("D:\\t\\a.url", "mine", kAttrReadOnly | kAttrHidden));
  EXPECT_FALSE(CopyFolderTree(os, "C:\\s", "D:\\t"));
  EXPECT_EQ(os.ReadFile("D:\\t\\a.url"), "mine");
  EXPECT_EQ(os.AttributesOf("D:\\t\\a.url") & (kAttrReadOnly | kAttrHidden), kAttrReadOnly | kAttrHidden);
}

// A favourite is copied whatever its name: names GBK has no form for go
// through as they are, hidden ones included, at any depth.
TEST_F(CopyFolderTreeTest, CopiesNamesGbkCannotWrite) {
  const struct {
    WideText path;
    Text content;
    uint32_t attributes;
  } files[] = {
      {u"C:\\s\\\U0001F600 表情.url", "emoji", kAttrArchive},
      {u"C:\\s\\즐겨찾기.url", "korean", kAttrArchive},
      {u"C:\\s\\Ελληνικά άέή\\Καλημέρα.url", "greek", kAttrArchive},
      {u"C:\\s\\Ελληνικά άέή\\desktop.ini", "ini", kAttrHidden | kAttrSystem},
      {u"C:\\s\\ไทย\\สวัสดี.url", "thai", kAttrReadOnly},
  };
  for (const auto& file : files) ASSERT_TRUE(os.WriteFileW(file.path, file.content, file.attributes));
  // Names GBK cannot write stay out of the assertion macros, which spell their
  // arguments out in GBK.
  const WideText oldIni = u"D:\\t\\Ελληνικά άέή\\desktop.ini";
  ASSERT_TRUE(os.WriteFileW(oldIni, "old ini", kAttrHidden | kAttrSystem));

  EXPECT_TRUE(CopyFolderTree(os, "C:\\s", "D:\\t"));

  for (const auto& file : files) {
    const WideText copy = u"D:\\t" + file.path.substr(4);
    EXPECT_EQ(os.ReadFileW(copy), file.content) << file.content;
    EXPECT_EQ(os.GetFileAttributesW(copy), file.attributes) << file.content;
  }
  EXPECT_EQ(os.ReadFile("D:\\t\\链接\\深处\\c.url"), "C");
}

TEST_F(CopyFolderTreeTest, ASiblingWithALongerNameIsNotInside) {
  EXPECT_TRUE(CopyFolderTree(os, "C:\\s", "C:\\s2"));
  EXPECT_EQ(os.ReadFile("C:\\s2\\链接\\b.url"), "B");
}

}  // namespace
}  // namespace bm
