// The lock probe and the restore that can be undone, on the simulated Windows.
#include <gtest/gtest.h>

#include "app/Paths.h"
#include "app/SafeReplace.h"
#include "platform/sim/SimPlatform.h"

namespace bm {
namespace {

constexpr uint16_t kToTheBin = kFofAllowUndo | kFofNoConfirmation | kFofSilent | kFofNoErrorUi;

// A file a test lays out, by wide path.
struct SimFile {
  WideText path;
  Text content;
  uint32_t attributes = kAttrArchive;
};

// A restore that must be refused.
struct Refusal {
  const char* label;
  const char* from;
  const char* to;
};

class SafeReplaceTest : public ::testing::Test {
 protected:
  void Lay(std::initializer_list<SimFile> files) {
    for (const SimFile& file : files) ASSERT_TRUE(os.WriteFileW(file.path, file.content, file.attributes));
  }
  // Each case is refused and leaves every file as it was, with no shell call.
  void ExpectRefused(std::initializer_list<Refusal> cases, bool (*restore)(Platform&, const Text&, const Text&)) {
    const Text before = os.DumpFiles();
    for (const Refusal& c : cases) {
      EXPECT_FALSE(restore(os, c.from, c.to)) << c.label;
      EXPECT_EQ(os.DumpFiles(), before) << c.label;
    }
    EXPECT_TRUE(os.ShellCalls().empty());
  }
  // No temporary copy is left anywhere on the machine.
  bool NoTemporaries() const { return os.DumpFiles().find("~bm") == Text::npos; }
  // The paths of one shell call's source list.
  std::vector<WideText> ListedPaths(const ShellCall& call) const {
    std::vector<WideText> paths;
    for (size_t start = 0; start < call.from.size() && call.from[start] != u'\0';) {
      const size_t end = call.from.find(u'\0', start);
      paths.push_back(call.from.substr(start, end - start));
      start = end + 1;
    }
    return paths;
  }

  SimPlatform os;
};

// ---- the lock probe -------------------------------------------------------------------------

TEST_F(SafeReplaceTest, TheProbeTellsAHeldFileFromEveryOther) {
  ASSERT_TRUE(os.WriteFile("C:\\p\\free", "f"));
  ASSERT_TRUE(os.WriteFile("C:\\p\\lockfile", ""));
  ASSERT_TRUE(os.WriteFile("C:\\p\\parent.lock", ""));
  ASSERT_TRUE(os.WriteFile("C:\\p\\readonly", "r", kAttrReadOnly));
  os.HoldOpenSharingRead("C:\\p\\lockfile");
  os.HoldOpen("C:\\p\\parent.lock");
  struct Case {
    const char* path;
    FileLock lock;
  } cases[] = {
      {"C:\\p\\free", FileLock::Opens},         {"C:\\p\\lockfile", FileLock::Held},
      {"C:\\p\\parent.lock", FileLock::Held},   {"C:\\p\\readonly", FileLock::Refused},
      {"C:\\p", FileLock::Refused},             {"C:\\p\\missing", FileLock::Missing},
      {"C:\\missing\\lockfile", FileLock::Missing},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ProbeFileLock(os, c.path), c.lock) << c.path;
    EXPECT_EQ(FileHeldOpen(os, c.path), c.lock == FileLock::Held) << c.path;
  }
}

// ---- one file -------------------------------------------------------------------------------------

class SafeReplaceFileTest : public SafeReplaceTest {
 protected:
  void SetUp() override {
    ASSERT_TRUE(os.WriteFile("D:\\backup\\Bookmarks", "new"));
    ASSERT_TRUE(os.WriteFile("C:\\profile\\Bookmarks", "old"));
  }
};

TEST_F(SafeReplaceFileTest, TheOldFileGoesToTheBinAndTheNewTakesItsPlace) {
  EXPECT_TRUE(SafeReplaceFile(os, "D:\\backup\\Bookmarks", "C:\\profile\\Bookmarks"));
  EXPECT_EQ(os.ReadFile("C:\\profile\\Bookmarks"), Text("new"));
  ASSERT_EQ(os.RecycleBin().size(), 1u);
  EXPECT_EQ(os.RecycleBin()[0].originalPath, "C:\\profile\\Bookmarks");
  EXPECT_EQ(os.RecycleBin()[0].content, "old");
  ASSERT_EQ(os.ShellCalls().size(), 1u);
  EXPECT_EQ(os.ShellCalls()[0].operation, kFoDelete);
  EXPECT_EQ(os.ShellCalls()[0].flags, kToTheBin);
  EXPECT_TRUE(NoTemporaries());
  EXPECT_EQ(os.ReadFile("D:\\backup\\Bookmarks"), Text("new")) << "the backup stays";
}

TEST_F(SafeReplaceFileTest, AMissingTargetIsSimplyPutInPlace) {
  EXPECT_TRUE(SafeReplaceFile(os, "D:\\backup\\Bookmarks", "C:\\profile\\Bookmarks.bak"));
  EXPECT_EQ(os.ReadFile("C:\\profile\\Bookmarks.bak"), Text("new"));
  EXPECT_TRUE(os.ShellCalls().empty());
  EXPECT_TRUE(NoTemporaries());
}

// A copy that breaks off takes the file it was written over with it; the
// safe replace writes beside the target first, so the old file is never at
// risk.
TEST_F(SafeReplaceFileTest, ACopyThatFailsPartwayLeavesTheOldFileInPlace) {
  const Text before = os.DumpFiles();
  os.FailCopy(1);
  EXPECT_FALSE(SafeReplaceFile(os, "D:\\backup\\Bookmarks", "C:\\profile\\Bookmarks"));
  EXPECT_EQ(os.DumpFiles(), before) << "the old file in place, no temporary behind";
  EXPECT_TRUE(os.ShellCalls().empty());
  EXPECT_TRUE(os.RecycleBin().empty());

  os.FailCopy(1);
  EXPECT_FALSE(CopyOneFile(os, "D:\\backup\\Bookmarks", "C:\\profile\\Bookmarks"));
  EXPECT_FALSE(os.IsFile("C:\\profile\\Bookmarks")) << "what a plain copy risks";
}

TEST_F(SafeReplaceFileTest, NothingChangesWhenTheSourceOrTheTargetIsNotFitForIt) {
  ASSERT_TRUE(os.WriteFile("C:\\profile\\readonly", "r", kAttrReadOnly));
  ASSERT_TRUE(os.WriteFile("C:\\profile\\lockfile", "l"));
  ASSERT_TRUE(os.MakeFolders("C:\\profile\\folder"));
  os.HoldOpenSharingRead("C:\\profile\\lockfile");
  ExpectRefused({
      {"missing source", "D:\\backup\\missing", "C:\\profile\\Bookmarks"},
      {"source is a folder", "D:\\backup", "C:\\profile\\Bookmarks"},
      {"read-only target", "D:\\backup\\Bookmarks", "C:\\profile\\readonly"},
      {"target held open", "D:\\backup\\Bookmarks", "C:\\profile\\lockfile"},
      {"target is a folder", "D:\\backup\\Bookmarks", "C:\\profile\\folder"},
      {"target folder missing", "D:\\backup\\Bookmarks", "C:\\nowhere\\Bookmarks"},
      {"onto itself", "D:\\backup\\Bookmarks", "d:\\BACKUP\\bookmarks"},
  }, SafeReplaceFile);
  os.HoldOpen("D:\\backup\\Bookmarks");
  ExpectRefused({{"a source that cannot be read", "D:\\backup\\Bookmarks", "C:\\profile\\Bookmarks"}},
                SafeReplaceFile);
}

TEST_F(SafeReplaceFileTest, AHiddenSystemFileKeepsItsAttributes) {
  ASSERT_TRUE(os.WriteFile("D:\\backup\\desktop.ini", "new ini", kAttrHidden | kAttrSystem));
  ASSERT_TRUE(os.WriteFile("C:\\profile\\desktop.ini", "old ini", kAttrHidden | kAttrSystem));
  EXPECT_TRUE(SafeReplaceFile(os, "D:\\backup\\desktop.ini", "C:\\profile\\desktop.ini"));
  EXPECT_EQ(os.ReadFile("C:\\profile\\desktop.ini"), Text("new ini"));
  EXPECT_EQ(os.AttributesOf("C:\\profile\\desktop.ini"), kAttrHidden | kAttrSystem);
  ASSERT_EQ(os.RecycleBin().size(), 1u);
  EXPECT_EQ(os.RecycleBin()[0].content, "old ini");
}

// ---- a whole tree -------------------------------------------------------------------------------

class SafeReplaceTreeTest : public SafeReplaceTest {
 protected:
  void SetUp() override {
    Lay({
        {u"D:\\b\\Favorites\\a.url", "new a", kAttrArchive},
        {u"D:\\b\\Favorites\\desktop.ini", "new ini", kAttrHidden | kAttrSystem},
        {u"D:\\b\\Favorites\\链接\\b.url", "new b", kAttrArchive},
        {u"D:\\b\\Favorites\\链接\\\U0001F600 表情.url", "new emoji", kAttrArchive},
        {u"D:\\b\\Favorites\\新文件夹\\c.url", "new c", kAttrArchive},
    });
    Lay({
        {u"C:\\fav\\a.url", "old a", kAttrArchive},
        {u"C:\\fav\\desktop.ini", "old ini", kAttrHidden | kAttrSystem},
        {u"C:\\fav\\链接\\\U0001F600 表情.url", "old emoji", kAttrArchive},
        {u"C:\\fav\\链接\\mine.url", "only mine", kAttrArchive},
        {u"C:\\fav\\我的\\d.url", "mine too", kAttrArchive},
    });
  }
};

TEST_F(SafeReplaceTreeTest, TheReplacedFilesGoToTheBinInOneShellCall) {
  EXPECT_TRUE(SafeReplaceTree(os, "D:\\b\\Favorites", "C:\\fav"));

  EXPECT_EQ(os.ReadFile("C:\\fav\\a.url"), Text("new a"));
  EXPECT_EQ(os.ReadFile("C:\\fav\\desktop.ini"), Text("new ini"));
  EXPECT_EQ(os.AttributesOf("C:\\fav\\desktop.ini"), kAttrHidden | kAttrSystem);
  EXPECT_EQ(os.ReadFile("C:\\fav\\链接\\b.url"), Text("new b"));
  EXPECT_EQ(os.ReadFileW(u"C:\\fav\\链接\\\U0001F600 表情.url"), Text("new emoji"));
  EXPECT_EQ(os.ReadFile("C:\\fav\\新文件夹\\c.url"), Text("new c"));
  EXPECT_EQ(os.ReadFile("C:\\fav\\链接\\mine.url"), Text("only mine")) << "not in the backup: left alone";
  EXPECT_EQ(os.ReadFile("C:\\fav\\我的\\d.url"), Text("mine too"));

  ASSERT_EQ(os.ShellCalls().size(), 1u);
  const ShellCall call = os.ShellCalls()[0];
  EXPECT_EQ(call.operation, kFoDelete);
  EXPECT_EQ(call.flags, kToTheBin);
  std::vector<WideText> listed = ListedPaths(call);
  std::sort(listed.begin(), listed.end());
  std::vector<WideText> replaced = {u"C:\\fav\\a.url", u"C:\\fav\\desktop.ini",
                                    u"C:\\fav\\链接\\\U0001F600 表情.url"};
  std::sort(replaced.begin(), replaced.end());
  EXPECT_EQ(listed, replaced) << "exactly the files that existed";
  ASSERT_EQ(os.RecycleBin().size(), 3u);
  for (const RecycledItem& item : os.RecycleBin()) {
    EXPECT_EQ(item.content.compare(0, 4, "old "), 0) << item.originalPath;
  }
  EXPECT_TRUE(NoTemporaries());
}

TEST_F(SafeReplaceTreeTest, ACopyThatFailsHalfwayReplacesNothing) {
  const Text before = os.DumpFiles();
  os.FailCopy(3);
  EXPECT_FALSE(SafeReplaceTree(os, "D:\\b\\Favorites", "C:\\fav"));
  EXPECT_TRUE(os.ShellCalls().empty());
  EXPECT_TRUE(os.RecycleBin().empty());
  EXPECT_TRUE(NoTemporaries());
  EXPECT_EQ(os.ReadFile("C:\\fav\\a.url"), Text("old a"));
  EXPECT_EQ(os.ReadFileW(u"C:\\fav\\链接\\\U0001F600 表情.url"), Text("old emoji"));
  // The folder the backup brings is made before any copy, and stays empty;
  // everything else is as it was.
  Text after = os.DumpFiles();
  const Text madeFolder = "C:\\fav\\新文件夹\\\n";
  const size_t at = after.find(madeFolder);
  ASSERT_NE(at, Text::npos);
  after.erase(at, madeFolder.size());
  EXPECT_EQ(after, before);
}

TEST_F(SafeReplaceTreeTest, AFileHeldOpenStopsTheRestoreBeforeAnythingIsWritten) {
  os.HoldOpen("C:\\fav\\链接\\mine.url");  // not in the backup: it does not matter
  os.HoldOpen("C:\\fav\\a.url");
  const Text before = os.DumpFiles();
  EXPECT_FALSE(SafeReplaceTree(os, "D:\\b\\Favorites", "C:\\fav"));
  EXPECT_EQ(os.DumpFiles(), before);
  EXPECT_TRUE(os.ShellCalls().empty());
  os.HoldOpen("C:\\fav\\a.url", false);
  EXPECT_TRUE(SafeReplaceTree(os, "D:\\b\\Favorites", "C:\\fav"));
}

TEST_F(SafeReplaceTreeTest, AMissingTargetIsMadeAndFilledWithoutTheBin) {
  EXPECT_TRUE(SafeReplaceTree(os, "D:\\b\\Favorites\\", "C:\\new\\"));
  EXPECT_EQ(os.ReadFileW(u"C:\\new\\链接\\\U0001F600 表情.url"), Text("new emoji"));
  EXPECT_EQ(os.AttributesOf("C:\\new\\desktop.ini"), kAttrHidden | kAttrSystem);
  EXPECT_TRUE(os.ShellCalls().empty());
  EXPECT_TRUE(NoTemporaries());
}

TEST_F(SafeReplaceTreeTest, RefusesWhatCannotBeRestored) {
  ASSERT_TRUE(os.WriteFile("C:\\clash\\链接", "a file where the backup has a folder"));
  ExpectRefused({
      {"missing source", "D:\\b\\missing", "C:\\fav"},
      {"a file as source", "D:\\b\\Favorites\\a.url", "C:\\fav"},
      {"onto itself", "D:\\b\\Favorites", "d:\\B\\favorites"},
      {"into itself", "D:\\b\\Favorites", "D:\\b\\Favorites\\链接\\copy"},
      {"target's parent missing", "D:\\b\\Favorites", "C:\\no\\fav"},
      {"a file where the backup has a folder", "D:\\b\\Favorites", "C:\\clash"},
  }, SafeReplaceTree);
}

}  // namespace
}  // namespace bm
