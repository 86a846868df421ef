// The simulated Windows' knobs for wide names, files held open letting others
// read, and copies that fail partway.
#include <gtest/gtest.h>

#include "platform/sim/SimPlatform.h"

namespace bm {
namespace {

class SimWideFiles : public ::testing::Test {
 protected:
  SimPlatform os;
};

TEST_F(SimWideFiles, WideKnobsAndGbkKnobsSeeTheSameFiles) {
  ASSERT_TRUE(os.WriteFileW(u"D:\\收藏夹\\\U0001F600.url", "emoji"));
  EXPECT_EQ(os.ReadFileW(u"d:\\收藏夹\\\U0001F600.URL"), Text("emoji"));
  EXPECT_TRUE(os.IsFolder("D:\\收藏夹"));
  EXPECT_TRUE(os.IsFileW(u"D:\\收藏夹\\\U0001F600.url"));
  // The ANSI side sees a name as GBK writes it: '?' for each character it cannot.
  const WideText korean = u"D:\\韩文\\즐겨찾기.url";  // outside the macros, which spell their arguments in GBK
  ASSERT_TRUE(os.WriteFileW(korean, "k"));
  FindData found;
  const SearchHandle search = os.FindFirstFileA("D:\\韩文\\*.url", found);
  ASSERT_NE(search, 0u);
  EXPECT_EQ(found.name, "????.url");
  os.FindClose(search);
  ASSERT_TRUE(os.WriteFile("D:\\收藏夹\\书签.url", "gbk"));
  EXPECT_EQ(os.ReadFileW(u"D:\\收藏夹\\书签.url"), Text("gbk"));
  EXPECT_FALSE(os.ReadFileW(u"D:\\收藏夹").has_value()) << "a folder";
}

TEST_F(SimWideFiles, AFileHeldSharingReadCanBeReadButNotWrittenMovedOrDeleted) {
  ASSERT_TRUE(os.WriteFile("C:\\p\\lockfile", "lock"));
  ASSERT_TRUE(os.WriteFile("C:\\p\\other", "other"));
  os.HoldOpenSharingRead("C:\\P\\LOCKFILE");
  EXPECT_TRUE(os.CopyFileW(u"C:\\p\\lockfile", u"D:\\copy", false)) << "others may read it";
  EXPECT_EQ(os.ReadFile("D:\\copy"), Text("lock"));
  EXPECT_FALSE(os.CopyFileW(u"C:\\p\\other", u"C:\\p\\lockfile", false));
  EXPECT_FALSE(os.MoveFileExW(u"C:\\p\\lockfile", u"C:\\p\\moved", 0));
  EXPECT_FALSE(os.DeleteFileW(u"C:\\p\\lockfile"));
  EXPECT_EQ(os.OpenForWriteAndCloseW(u"C:\\p\\lockfile"), kErrorSharingViolation);
  bool aborted = false;
  EXPECT_NE(os.SHFileOperationW(kFoDelete, WideText(u"C:\\p\\lockfile\0\0", 16), WideText(), kFofAllowUndo, aborted), 0);
  os.HoldOpenSharingRead("C:\\p\\lockfile", false);
  EXPECT_EQ(os.OpenForWriteAndCloseW(u"C:\\p\\lockfile"), kErrorSuccess);
  EXPECT_TRUE(os.DeleteFileW(u"C:\\p\\lockfile"));
}

TEST_F(SimWideFiles, TheProbeAnswersAsWindowsDoes) {
  ASSERT_TRUE(os.WriteFile("C:\\p\\free", "f"));
  ASSERT_TRUE(os.WriteFile("C:\\p\\ro", "r", kAttrReadOnly));
  ASSERT_TRUE(os.WriteFile("C:\\p\\held", "h"));
  os.HoldOpen("C:\\p\\held");
  struct Case {
    const char16_t* path;
    long result;
  } cases[] = {
      {u"C:\\p\\free", kErrorSuccess},          {u"C:\\p\\held", kErrorSharingViolation},
      {u"C:\\p\\ro", kErrorAccessDenied},       {u"C:\\p", kErrorAccessDenied},
      {u"C:\\p\\missing", kErrorFileNotFound},  {u"C:\\missing\\file", kErrorPathNotFound},
      {u"E:\\file", kErrorPathNotFound},  // no drive E:
  };
  for (const Case& c : cases) EXPECT_EQ(os.OpenForWriteAndCloseW(c.path), c.result) << os.WideCharToMultiByte(936, c.path);
}

TEST_F(SimWideFiles, TheNthCopyFailsAndTakesTheOldTargetWithIt) {
  ASSERT_TRUE(os.WriteFile("C:\\s\\a", "new a"));
  ASSERT_TRUE(os.WriteFile("C:\\s\\b", "new b"));
  ASSERT_TRUE(os.WriteFile("D:\\t\\b", "old b"));
  os.FailCopy(2);
  EXPECT_TRUE(os.CopyFileA("C:\\s\\a", "D:\\t\\a", false));
  EXPECT_FALSE(os.CopyFileW(u"C:\\s\\b", u"D:\\t\\b", false));
  EXPECT_FALSE(os.IsFile("D:\\t\\b")) << "a copy that breaks off leaves nothing behind";
  EXPECT_TRUE(os.CopyFileW(u"C:\\s\\b", u"D:\\t\\b", false)) << "only the n-th fails";
  EXPECT_EQ(os.ReadFile("D:\\t\\b"), Text("new b"));
  os.FailCopy(1);
  os.FailCopy(0);
  EXPECT_TRUE(os.CopyFileA("C:\\s\\a", "D:\\t\\c", false)) << "disarmed";
  // A copy refused before it starts does not count.
  os.FailCopy(1);
  EXPECT_FALSE(os.CopyFileA("C:\\s\\missing", "D:\\t\\d", false));
  EXPECT_FALSE(os.CopyFileA("C:\\s\\a", "D:\\t\\e", false));
}

TEST_F(SimWideFiles, MovesKeepTheFileAndItsAttributes) {
  ASSERT_TRUE(os.WriteFile("C:\\s\\desktop.ini", "ini", kAttrHidden | kAttrSystem));
  ASSERT_TRUE(os.WriteFile("D:\\t\\old", "old", kAttrReadOnly));
  EXPECT_TRUE(os.MoveFileExW(u"C:\\s\\desktop.ini", u"C:\\s\\Desktop.INI", 0)) << "a change of case";
  EXPECT_FALSE(os.MoveFileExW(u"C:\\s\\desktop.ini", u"D:\\t\\x", 0)) << "another drive needs copying allowed";
  EXPECT_TRUE(os.MoveFileExW(u"C:\\s\\desktop.ini", u"D:\\t\\x", kMoveFileCopyAllowed));
  EXPECT_EQ(os.AttributesOf("D:\\t\\x"), kAttrHidden | kAttrSystem);
  EXPECT_FALSE(os.IsFile("C:\\s\\desktop.ini"));
  EXPECT_FALSE(os.MoveFileExW(u"D:\\t\\x", u"D:\\t\\old", kMoveFileReplaceExisting)) << "a read-only target";
  EXPECT_FALSE(os.MoveFileExW(u"D:\\t", u"D:\\t\\inner", 0)) << "a folder into itself";
  EXPECT_TRUE(os.MoveFileExW(u"D:\\t", u"D:\\u", 0));
  EXPECT_EQ(os.ReadFile("D:\\u\\old"), Text("old"));
  EXPECT_FALSE(os.DeleteFileW(u"D:\\u\\old")) << "read-only";
}

TEST_F(SimWideFiles, TheBinKeepsNamesGbkCannotWrite) {
  // Outside the assertion macros, which spell their arguments out in GBK.
  const WideText korean = u"D:\\즐겨찾기.url";
  ASSERT_TRUE(os.WriteFileW(korean, "k"));
  bool aborted = true;
  ASSERT_EQ(os.SHFileOperationW(kFoDelete, korean + WideText(2, u'\0'), WideText(), kFofAllowUndo, aborted), 0);
  ASSERT_EQ(os.RecycleBin().size(), 1u);
  EXPECT_EQ(os.RecycleBin()[0].originalWidePath, korean);
  EXPECT_EQ(os.RecycleBin()[0].content, "k");
}

}  // namespace
}  // namespace bm
