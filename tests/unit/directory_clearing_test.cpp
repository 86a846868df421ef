#include <gtest/gtest.h>

#include "platform/sim/SimPlatform.h"
#include "util/DirectoryClearing.h"

namespace bm {
namespace {

// ---- IsWellFormedPath -------------------------------------------------------------

struct PathCase {
  const char* name;
  Text path;
  bool acceptedWhenRejectingRoots;
  bool acceptedOtherwise;
};

void PrintTo(const PathCase& c, std::ostream* out) { *out << c.name; }

class IsWellFormedPathTest : public ::testing::TestWithParam<PathCase> {};

TEST_P(IsWellFormedPathTest, AcceptsOnlyAbsoluteDrivePaths) {
  const PathCase& c = GetParam();
  EXPECT_EQ(IsWellFormedPath(c.path, true), c.acceptedWhenRejectingRoots);
  EXPECT_EQ(IsWellFormedPath(c.path, false), c.acceptedOtherwise);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, IsWellFormedPathTest,
    ::testing::Values(PathCase{"Folder", "D:\\浏览器书签备份2023年4月30日", true, true},
                      PathCase{"LowerCaseDrive", "d:\\data", true, true},
                      PathCase{"BareRoot", "D:\\", false, true},
                      PathCase{"BareRootTwoBackslashes", "D:\\\\", false, true},
                      PathCase{"BareRootForwardSlash", "D:/", false, true},
                      PathCase{"BareRootMixedSeparators", "D:\\/", false, true},
                      PathCase{"ForwardSlashes", "D:/data/backup", true, true},
                      PathCase{"ThreeSlashesCollapse", "D:///data", true, true},
                      PathCase{"ThreeSlashesBareRoot", "D:///", false, true},
                      PathCase{"DoubledBackslashesInside", "D:\\\\data\\\\\\x", true, true},
                      PathCase{"DriveWithoutSeparator", "D:", false, false},
                      PathCase{"ColonWithoutSeparator", "D:data", false, false},
                      PathCase{"Unc", "\\\\server\\share\\x", false, false},
                      PathCase{"LeadingBackslash", "\\data", false, false},
                      PathCase{"Relative", "data\\x", false, false},
                      PathCase{"DigitFirst", "1:\\data", false, false},
                      PathCase{"ChineseFirst", "中:\\data", false, false},
                      PathCase{"Empty", "", false, false}),
    [](const ::testing::TestParamInfo<PathCase>& info) { return std::string(info.param.name); });

TEST(IsWellFormedPath, LeavesTheCallersTextAlone) {
  const Text path = "D:\\\\a//b";
  IsWellFormedPath(path, true);
  EXPECT_EQ(path, "D:\\\\a//b");
}

// ---- ClearFolder ------------------------------------------------------------------

WideText PathListOf(const char16_t* path) {
  WideText list(path);
  list.push_back(u'\0');
  list.push_back(u'\0');
  return list;
}

class ClearFolderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    os.WriteFile("D:\\Backup\\a.txt", "plain");
    os.WriteFile("D:\\Backup\\hidden.dat", "hidden", kAttrHidden);
    os.WriteFile("D:\\Backup\\readonly.ini", "readonly", kAttrReadOnly);
    os.WriteFile("D:\\Backup\\谷歌浏览器\\Bookmarks", "kept");
    os.MakeFolders("D:\\Backup\\empty");
  }
  SimPlatform os;
};

TEST_F(ClearFolderTest, SendsPlainFilesToTheBinAndLeavesSubFolders) {
  ClearFolder(os, "D:\\Backup");

  EXPECT_FALSE(os.IsFile("D:\\Backup\\a.txt"));
  EXPECT_FALSE(os.IsFile("D:\\Backup\\hidden.dat"));
  EXPECT_FALSE(os.IsFile("D:\\Backup\\readonly.ini"));
  EXPECT_EQ(os.ReadFile("D:\\Backup\\谷歌浏览器\\Bookmarks"), Text("kept"));
  EXPECT_TRUE(os.IsFolder("D:\\Backup\\empty"));

  ASSERT_EQ(os.RecycleBin().size(), 3u);
  EXPECT_EQ(os.RecycleBin()[0].originalPath, "D:\\Backup\\a.txt");
  EXPECT_EQ(os.RecycleBin()[1].originalPath, "D:\\Backup\\hidden.dat");
  EXPECT_EQ(os.RecycleBin()[1].content, "hidden");
  EXPECT_EQ(os.RecycleBin()[2].originalPath, "D:\\Backup\\readonly.ini");
}

TEST_F(ClearFolderTest, EachFileIsOneUndoableDeleteWithoutPrompt) {
  ClearFolder(os, "D:\\Backup\\");
  ASSERT_EQ(os.ShellCalls().size(), 3u);
  for (const ShellCall& call : os.ShellCalls()) {
    EXPECT_EQ(call.operation, kFoDelete);
    EXPECT_EQ(call.flags, 0x50);
    EXPECT_TRUE(call.to.empty());
  }
  EXPECT_EQ(os.ShellCalls()[0].from, PathListOf(u"D:\\Backup\\a.txt"));
}

TEST_F(ClearFolderTest, PatternPicksTheFiles) {
  ClearFolder(os, "D:\\Backup", "*.txt|*.ini");
  EXPECT_FALSE(os.IsFile("D:\\Backup\\a.txt"));
  EXPECT_FALSE(os.IsFile("D:\\Backup\\readonly.ini"));
  EXPECT_TRUE(os.IsFile("D:\\Backup\\hidden.dat"));
}

TEST_F(ClearFolderTest, AFileThatCannotGoDoesNotStopTheOthers) {
  os.HoldOpen("D:\\Backup\\a.txt");
  ClearFolder(os, "D:\\Backup");
  EXPECT_TRUE(os.IsFile("D:\\Backup\\a.txt"));
  EXPECT_FALSE(os.IsFile("D:\\Backup\\hidden.dat"));
  EXPECT_FALSE(os.IsFile("D:\\Backup\\readonly.ini"));
}

TEST_F(ClearFolderTest, FolderHoldingOnlySubFoldersStaysAsItWas) {
  os.WriteFile("D:\\OnlyFolders\\x\\file.txt", "x");
  os.MakeFolders("D:\\OnlyFolders\\y");
  const Text before = os.DumpFiles();
  ClearFolder(os, "D:\\OnlyFolders");
  EXPECT_EQ(os.DumpFiles(), before);
  EXPECT_TRUE(os.ShellCalls().empty());
}

TEST_F(ClearFolderTest, RefusesBareRootsAndMissingFolders) {
  os.WriteFile("D:\\root.txt", "at the root");
  const Text before = os.DumpFiles();
  for (const Text& folder : {Text("D:"), Text("D:\\"), Text("D:\\\\"), Text("D:/"), Text("d:"), Text("D:\\Missing"),
                             Text("Backup"), Text("\\\\server\\share"), Text("")}) {
    ClearFolder(os, folder);
    EXPECT_EQ(os.DumpFiles(), before) << folder;
  }
  EXPECT_TRUE(os.ShellCalls().empty());
}

TEST(ClearFolderGbk, FolderEndingInATrailByte0x5CIsCleared) {
  SimPlatform os;
  const Text folder = "D:\\\xB1\xED\x81\x5C";
  os.WriteFile(folder + "\\old.json", "{}");
  ClearFolder(os, folder);
  EXPECT_FALSE(os.IsFile(folder + "\\old.json"));
  ASSERT_EQ(os.RecycleBin().size(), 1u);
  EXPECT_EQ(os.RecycleBin()[0].originalPath, folder + "\\old.json");
}

// ---- ShellDelete and ShellFileOperation --------------------------------------------------

TEST(ShellDelete, ReportsWhetherTheShellSucceeded) {
  SimPlatform os;
  os.WriteFile("D:\\gone.txt", "1");
  os.WriteFile("D:\\held.txt", "2");
  os.HoldOpen("D:\\held.txt");
  EXPECT_TRUE(ShellDelete(os, "D:\\gone.txt", kShellNoConfirmation));
  EXPECT_FALSE(ShellDelete(os, "D:\\held.txt", kShellNoConfirmation));
  EXPECT_TRUE(os.IsFile("D:\\held.txt"));
}

TEST(ShellFileOperation, OptionBitsBecomeShellFlags) {
  const struct {
    int options;
    uint16_t flags;
  } cases[] = {{0, 0x40}, {kShellNoConfirmation, 0x50}, {kShellNoErrorUi, 0x440}, {kShellSilent, 0x44}, {7, 0x454}};
  for (const auto& c : cases) {
    SimPlatform os;
    os.WriteFile("D:\\f.txt", "");
    ShellFileOperation(os, kFoDelete, u"D:\\f.txt", WideText(), c.options);
    ASSERT_EQ(os.ShellCalls().size(), 1u);
    EXPECT_EQ(os.ShellCalls()[0].flags, c.flags) << c.options;
  }
}

TEST(ShellFileOperation, GuardsNeverReachTheShell) {
  SimPlatform os;
  os.WriteFile("D:\\f.txt", "");
  EXPECT_FALSE(ShellFileOperation(os, 0, u"D:\\f.txt", WideText(), 1));
  EXPECT_FALSE(ShellFileOperation(os, 5, u"D:\\f.txt", WideText(), 1));
  EXPECT_FALSE(ShellFileOperation(os, kFoCopy, u"D:\\f.txt", WideText(), 1));
  EXPECT_FALSE(ShellFileOperation(os, kFoMove, u"D:\\f.txt", WideText(), 1));
  EXPECT_FALSE(ShellFileOperation(os, kFoDelete, WideText(), WideText(), 1));
  EXPECT_TRUE(os.ShellCalls().empty());
  EXPECT_TRUE(os.IsFile("D:\\f.txt"));
}

TEST(ShellFileOperation, SourceAndTargetAreOnePathListsEach) {
  SimPlatform os;
  os.WriteFile("D:\\a.txt", "a");
  os.WriteFile("D:\\b.txt", "b");
  // Only the first path counts: a zero inside the text ends it.
  ShellFileOperation(os, kFoDelete, WideText(u"D:\\a.txt\0D:\\b.txt", 17), WideText(), 1);
  ShellFileOperation(os, kFoCopy, u"D:\\b.txt", u"D:\\c.txt", 1);
  ASSERT_EQ(os.ShellCalls().size(), 2u);
  EXPECT_EQ(os.ShellCalls()[0].from, PathListOf(u"D:\\a.txt"));
  EXPECT_TRUE(os.IsFile("D:\\b.txt"));
  EXPECT_EQ(os.ShellCalls()[1].operation, kFoCopy);
  EXPECT_EQ(os.ShellCalls()[1].to, PathListOf(u"D:\\c.txt"));
}

}  // namespace
}  // namespace bm
