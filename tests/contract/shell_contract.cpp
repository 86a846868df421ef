// The shell's delete behaves alike on the simulated Windows and on the real one.
#include "app/Paths.h"
#include "contract/ContractTest.h"

namespace bm {
namespace {

class ShellContract : public ContractTest {
 protected:
  void SetUp() override { root = Fx().ScratchFolder(); }
  Text In(const Text& name) const { return root + "\\" + name; }
  // One path, closed by an empty entry, as the shell wants its lists.
  WideText List(const Text& path) { return ToWideText(Os(), path) + WideText(2, u'\0'); }
  int Delete(const Text& path, uint16_t flags, bool& aborted) {
    return Os().SHFileOperationW(kFoDelete, List(path), WideText(), flags, aborted);
  }
  Text root;
};

constexpr uint16_t kQuiet = kFofNoConfirmation | kFofNoErrorUi | kFofSilent;

TEST_F(ShellContract, DeleteWithUndoSendsTheFileToTheRecycleBin) {
  const Text file = In("旧书签.html");
  ASSERT_TRUE(Fx().WriteFile(file, "old"));
  bool aborted = true;
  EXPECT_EQ(Delete(file, kFofAllowUndo | kFofNoConfirmation, aborted), 0);
  EXPECT_FALSE(aborted);
  EXPECT_FALSE(FileExists(Os(), file));
  if (const std::optional<bool> recycled = Fx().InRecycleBin(file)) {
    EXPECT_TRUE(*recycled);
  }
}

TEST_F(ShellContract, DeleteWithUndoTakesFilesOfEveryKind) {
  struct Case {
    const char* name;
    uint32_t attributes;
  } cases[] = {{"plain.txt", 0}, {"hidden.txt", kAttrHidden}, {"readonly.txt", kAttrReadOnly},
               {"\x81\x5C.txt", 0}};
  for (const Case& c : cases) {
    ASSERT_TRUE(Fx().WriteFile(In(c.name), "x")) << c.name;
    if (c.attributes) {
      ASSERT_TRUE(Fx().SetAttributes(In(c.name), c.attributes)) << c.name;
    }
    bool aborted = true;
    EXPECT_EQ(Delete(In(c.name), kFofAllowUndo | kFofNoConfirmation, aborted), 0) << c.name;
    EXPECT_FALSE(aborted) << c.name;
    EXPECT_FALSE(FileExists(Os(), In(c.name))) << c.name;
    if (const std::optional<bool> recycled = Fx().InRecycleBin(In(c.name))) {
      EXPECT_TRUE(*recycled) << c.name;
    }
  }
}

TEST_F(ShellContract, DeleteWithoutUndoBypassesTheBin) {
  ASSERT_TRUE(Fx().WriteFile(In("gone.txt"), "x"));
  bool aborted = true;
  EXPECT_EQ(Delete(In("gone.txt"), kQuiet, aborted), 0);
  EXPECT_FALSE(aborted);
  EXPECT_FALSE(FileExists(Os(), In("gone.txt")));
  if (const std::optional<bool> recycled = Fx().InRecycleBin(In("gone.txt"))) {
    EXPECT_FALSE(*recycled);
  }
}

TEST_F(ShellContract, DeleteOfAMissingFileFails) {
  bool aborted = false;
  EXPECT_NE(Delete(In("nothing.txt"), kQuiet | kFofAllowUndo, aborted), 0);
}

TEST_F(ShellContract, DeleteRemovesAFolderWithItsContents) {
  ASSERT_TRUE(Fx().MakeFolder(In("folder")));
  ASSERT_TRUE(Fx().WriteFile(In("folder\\inner.txt"), "i"));
  bool aborted = true;
  EXPECT_EQ(Delete(In("folder"), kQuiet, aborted), 0);
  EXPECT_FALSE(FolderExists(Os(), In("folder")));
}

}  // namespace
}  // namespace bm
