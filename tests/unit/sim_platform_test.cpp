// The knobs of the simulated Windows do what the tests above the seam rely on.
#include <gtest/gtest.h>

#include "platform/sim/SimPlatform.h"

namespace bm {
namespace {

class SimFiles : public ::testing::Test {
 protected:
  SimPlatform os;
};

TEST_F(SimFiles, NamesCompareIgnoringCaseOnTheWideFormNotOnGbkBytes) {
  ASSERT_TRUE(os.WriteFile("D:\\备份\\Bookmarks", "data"));
  EXPECT_EQ(os.ReadFile("d:\\备份\\BOOKMARKS"), Text("data"));
  // "\x81\x5C" and "\x81\x7C" differ only in a trail byte that folding ASCII
  // bytes would confuse with '\' or '|'; "\xB0\x61"/"\xB0\x41" differ in a
  // trail byte that is an ASCII letter. Each is a different character.
  ASSERT_TRUE(os.WriteFile("D:\\\xB0\x61", "one"));
  ASSERT_TRUE(os.WriteFile("D:\\\xB0\x41", "two"));
  EXPECT_EQ(os.ReadFile("D:\\\xB0\x61"), Text("one"));
  EXPECT_EQ(os.ReadFile("D:\\\xB0\x41"), Text("two"));
  ASSERT_TRUE(os.WriteFile("D:\\\x81\x5C\\inner.txt", "x"));
  EXPECT_TRUE(os.IsFolder("D:\\\x81\x5C"));
  EXPECT_FALSE(os.IsFolder("D:\\\x81"));
}

TEST_F(SimFiles, HeldOpenFileCannotBeCopiedFromOrOnto) {
  ASSERT_TRUE(os.WriteFile("C:\\p\\Bookmarks", "live"));
  ASSERT_TRUE(os.WriteFile("D:\\b\\Bookmarks", "old"));
  os.HoldOpen("C:\\P\\bookmarks");
  EXPECT_FALSE(os.CopyFileA("C:\\p\\Bookmarks", "D:\\b\\Bookmarks", false));
  EXPECT_EQ(os.ReadFile("D:\\b\\Bookmarks"), Text("old"));
  os.HoldOpen("D:\\b\\Bookmarks");
  os.HoldOpen("C:\\p\\Bookmarks", false);
  EXPECT_FALSE(os.CopyFileA("C:\\p\\Bookmarks", "D:\\b\\Bookmarks", false));
  os.HoldOpen("D:\\b\\Bookmarks", false);
  EXPECT_TRUE(os.CopyFileA("C:\\p\\Bookmarks", "D:\\b\\Bookmarks", false));
  EXPECT_EQ(os.ReadFile("D:\\b\\Bookmarks"), Text("live"));
}

TEST_F(SimFiles, CopyFailsForEachReasonWindowsHas) {
  ASSERT_TRUE(os.WriteFile("C:\\src.txt", "s"));
  ASSERT_TRUE(os.WriteFile("D:\\ro.txt", "r", kAttrReadOnly));
  ASSERT_TRUE(os.WriteFile("D:\\there.txt", "t"));
  struct Case {
    const char* from;
    const char* to;
    bool failIfExists;
  } cases[] = {
      {"C:\\missing.txt", "D:\\a.txt", false},  // no source
      {"C:\\src.txt", "D:\\nofolder\\a.txt", false},  // target folder missing
      {"C:\\src.txt", "D:\\ro.txt", false},     // read-only target
      {"C:\\src.txt", "D:\\there.txt", true},   // fail-if-exists
      {"C:\\src.txt", "Q:\\a.txt", false},      // no such drive
      {"C:\\", "D:\\a.txt", false},             // a folder is no source
  };
  for (const Case& c : cases) EXPECT_FALSE(os.CopyFileA(c.from, c.to, c.failIfExists)) << c.from << " -> " << c.to;
  EXPECT_EQ(os.ReadFile("D:\\ro.txt"), Text("r"));
  EXPECT_EQ(os.ReadFile("D:\\there.txt"), Text("t"));
  EXPECT_FALSE(os.IsFile("D:\\a.txt"));
}

TEST_F(SimFiles, CopyKeepsTheSourceAttributes) {
  ASSERT_TRUE(os.WriteFile("C:\\ro.txt", "r", kAttrReadOnly | kAttrArchive));
  ASSERT_TRUE(os.CopyFileA("C:\\ro.txt", "D:\\ro.txt", false));
  EXPECT_EQ(os.AttributesOf("D:\\ro.txt"), kAttrReadOnly | kAttrArchive);
  EXPECT_FALSE(os.CopyFileA("C:\\ro.txt", "D:\\ro.txt", false));  // now read-only itself
}

TEST_F(SimFiles, ReadOnlyOrMissingDriveRefusesNewFolders) {
  os.SetDriveReadOnly('D', true);
  EXPECT_FALSE(os.CreateDirectoryW(u"D:\\新建"));
  EXPECT_FALSE(os.IsFolder("D:\\新建"));
  os.SetDriveReadOnly('D', false);
  EXPECT_TRUE(os.CreateDirectoryW(u"D:\\新建"));
  EXPECT_TRUE(os.IsFolder("D:\\新建"));
  EXPECT_FALSE(os.CreateDirectoryA("D:\\新建"));  // exists already
  EXPECT_FALSE(os.CreateDirectoryA("E:\\x"));
  os.RemoveDrive('D');
  EXPECT_FALSE(os.IsFolder("D:\\新建"));
}

TEST_F(SimFiles, DirectorySearchListsDotsFirstThenNamesIgnoringCase) {
  ASSERT_TRUE(os.WriteFile("D:\\f\\b.txt", ""));
  ASSERT_TRUE(os.WriteFile("D:\\f\\A", ""));
  ASSERT_TRUE(os.MakeFolders("D:\\f\\C"));
  FindData found;
  std::vector<Text> names;
  const SearchHandle search = os.FindFirstFileA("D:\\f\\*.*", found);
  ASSERT_NE(search, 0u);
  do names.push_back(found.name);
  while (os.FindNextFileA(search, found));
  os.FindClose(search);
  EXPECT_EQ(names, (std::vector<Text>{".", "..", "A", "b.txt", "C"}));
  EXPECT_EQ(os.FindFirstFileA("D:\\f\\", found), 0u);
  EXPECT_EQ(os.FindFirstFileA("D:\\nothere\\*", found), 0u);
}

TEST_F(SimFiles, DumpListsEveryFolderAndFile) {
  ASSERT_TRUE(os.WriteFile("D:\\a\\b.txt", "hi"));
  EXPECT_EQ(os.DumpFiles(), "D:\\a\\\nD:\\a\\b.txt=hi\n");
}

}  // namespace
}  // namespace bm
