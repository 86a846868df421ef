// The lock probe and the restore that can be undone do on the real Windows
// what they do on the simulated one.
#include "app/Paths.h"
#include "app/SafeReplace.h"
#include "contract/ContractTest.h"

namespace bm {
namespace {

class SafeReplaceContract : public ContractTest {
 protected:
  void SetUp() override {
    root = Fx().ScratchFolder();
    ASSERT_FALSE(root.empty());
  }
  Text In(const Text& name) const { return root + "\\" + name; }
  WideText InW(const WideText& name) { return ToWideText(Os(), root) + u"\\" + name; }
  Text root;
};

TEST_F(SafeReplaceContract, TheProbeTellsARunningBrowsersLockFromOtherFiles) {
  ASSERT_TRUE(Fx().MakeFolder(In("profile")));
  for (const char* name : {"lockfile", "parent.lock", "Bookmarks"}) {
    ASSERT_TRUE(Fx().WriteFile(In("profile\\") + name, "x")) << name;
  }
  ASSERT_TRUE(Fx().HoldOpenSharingRead(In("profile\\lockfile")));
  ASSERT_TRUE(Fx().HoldOpen(In("profile\\parent.lock")));
  struct Case {
    const char* name;
    FileLock lock;
  } cases[] = {
      {"profile\\lockfile", FileLock::Held},   {"profile\\parent.lock", FileLock::Held},
      {"profile\\Bookmarks", FileLock::Opens}, {"profile\\missing", FileLock::Missing},
      {"missing\\lockfile", FileLock::Missing},
  };
  for (const Case& c : cases) EXPECT_EQ(ProbeFileLock(Os(), In(c.name)), c.lock) << c.name;
  Fx().ReleaseHeld();
  EXPECT_FALSE(FileHeldOpen(Os(), In("profile\\lockfile"))) << "the browser has ended";
}

TEST_F(SafeReplaceContract, ATreeRestoreSendsTheReplacedFilesToTheBinAndLeavesNoTemporaries) {
  const WideText emoji = u"\U0001F600 表情.url";
  const WideText korean = u"즐겨찾기.url";
  ASSERT_TRUE(Fx().MakeFolder(In("backup")));
  ASSERT_TRUE(Fx().MakeFolder(In("backup\\链接")));
  ASSERT_TRUE(Fx().MakeFolder(In("favorites")));
  ASSERT_TRUE(Fx().MakeFolder(In("favorites\\链接")));
  ASSERT_TRUE(Fx().WriteFileW(InW(u"backup\\链接\\" + emoji), "new emoji"));
  ASSERT_TRUE(Fx().WriteFileW(InW(u"backup\\" + korean), "new korean"));
  ASSERT_TRUE(Fx().WriteFileW(InW(u"favorites\\链接\\" + emoji), "old emoji"));
  ASSERT_TRUE(Fx().WriteFile(In("favorites\\mine.url"), "only mine"));

  EXPECT_TRUE(SafeReplaceTree(Os(), In("backup"), In("favorites")));

  EXPECT_EQ(Fx().ReadFileW(InW(u"favorites\\链接\\" + emoji)), Text("new emoji"));
  EXPECT_EQ(Fx().ReadFileW(InW(u"favorites\\" + korean)), Text("new korean"));
  EXPECT_EQ(Fx().ReadFile(In("favorites\\mine.url")), Text("only mine"));
  if (const std::optional<bool> recycled = Fx().InRecycleBinW(InW(u"favorites\\链接\\" + emoji))) {
    EXPECT_TRUE(*recycled);
  }
  std::vector<Text> names = SearchNames(In("favorites\\*"));
  const std::vector<Text> inner = SearchNames(In("favorites\\链接\\*"));
  names.insert(names.end(), inner.begin(), inner.end());
  for (const Text& name : names) EXPECT_NE(name.compare(0, 3, "~bm"), 0) << "a temporary was left: " << name;
}

}  // namespace
}  // namespace bm
