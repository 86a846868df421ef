// The wide file calls behave alike on the simulated Windows and on the real
// one: names GBK cannot write, moves and deletes, the lock probe, and many
// files sent to the Recycle Bin in one shell operation.
#include "app/Paths.h"
#include "contract/ContractTest.h"

namespace bm {
namespace {

// Names a user's favourites may carry that have no GBK form.
const WideText kEmoji = u"\U0001F600 表情.url";
const WideText kKorean = u"즐겨찾기 모음.url";
const WideText kGreekFolder = u"Ελληνικά άέήίόύώ";
const WideText kGreekFile = u"Καλημέρα ΐΰ.url";
// Bytes that text handling would mangle: zeros, 0xFF, lone line ends.
const Text kBinary("[InternetShortcut]\r\nURL=https://example.com/\x00\xFF\xFE\n\r", 40);

class WideFilesContract : public ContractTest {
 protected:
  void SetUp() override {
    const Text scratch = Fx().ScratchFolder();
    ASSERT_FALSE(scratch.empty());
    root = ToWideText(Os(), scratch);
    gbkRoot = scratch;
  }
  WideText In(const WideText& name) const { return root + u"\\" + name; }
  bool FolderHere(const WideText& name) { return Os().PathIsDirectoryW(In(name)) == kAttrDirectory; }

  // Every name a wide search reports, sorted.
  std::vector<WideText> Names(const WideText& pattern) {
    std::vector<WideText> names;
    FindDataW found;
    const SearchHandle search = Os().FindFirstFileW(pattern, found);
    if (search == 0) return names;
    do names.push_back(found.name);
    while (Os().FindNextFileW(search, found) && names.size() < 10000);
    Os().FindClose(search);
    std::sort(names.begin(), names.end());
    return names;
  }

  WideText root;
  Text gbkRoot;
};

std::vector<WideText> SortedW(std::vector<WideText> names) {
  std::sort(names.begin(), names.end());
  return names;
}

// ---- searches, copies and attributes by wide path ------------------------------------

TEST_F(WideFilesContract, NamesGbkCannotWriteTravelWholeThroughEveryWideCall) {
  ASSERT_TRUE(Os().CreateDirectoryW(In(kGreekFolder)));
  const WideText files[] = {kEmoji, kKorean, kGreekFolder + u"\\" + kGreekFile};
  for (const WideText& file : files) {
    SCOPED_TRACE(FromWideText(Os(), file));
    ASSERT_TRUE(Fx().WriteFileW(In(file), kBinary));
    const WideText name = file.substr(file.rfind(u'\\') == WideText::npos ? 0 : file.rfind(u'\\') + 1);
    EXPECT_EQ(Names(In(file)), std::vector<WideText>{name}) << "a search for the file finds it under its name";
    const WideText copy = In(file) + u".copy";
    EXPECT_TRUE(Os().CopyFileW(In(file), copy, true));
    EXPECT_EQ(Fx().ReadFileW(copy), kBinary);
    EXPECT_FALSE(Os().CopyFileW(In(file), copy, true)) << "fail-if-exists";
    const uint32_t attributes = Os().GetFileAttributesW(In(file));
    ASSERT_NE(attributes, kInvalidFileAttributes);
    EXPECT_EQ(attributes & kAttrDirectory, 0u);
    EXPECT_TRUE(Os().SetFileAttributesW(In(file), kAttrHidden | kAttrSystem));
    EXPECT_EQ(Os().GetFileAttributesW(In(file)) & (kAttrHidden | kAttrSystem), kAttrHidden | kAttrSystem);
    EXPECT_TRUE(Os().SetFileAttributesW(In(file), kAttrArchive));
  }
  EXPECT_EQ(Names(In(u"*")), SortedW({u".", u"..", kEmoji, kEmoji + u".copy", kKorean, kKorean + u".copy",
                                      kGreekFolder}));
  EXPECT_EQ(Names(In(kGreekFolder + u"\\*.url")), std::vector<WideText>{kGreekFile});
  EXPECT_NE(Os().GetFileAttributesW(In(kGreekFolder)) & kAttrDirectory, 0u);
}

TEST_F(WideFilesContract, WideCallsOnWhatIsNotThere) {
  FindDataW found;
  EXPECT_EQ(Os().FindFirstFileW(In(u"nothing*"), found), 0u);
  EXPECT_EQ(Os().GetFileAttributesW(In(kEmoji)), kInvalidFileAttributes);
  EXPECT_FALSE(Os().SetFileAttributesW(In(kEmoji), kAttrHidden));
  EXPECT_FALSE(Os().CopyFileW(In(kEmoji), In(u"copy"), false));
  ASSERT_TRUE(Fx().WriteFileW(In(kKorean), "k"));
  EXPECT_FALSE(Os().CopyFileW(In(kKorean), In(u"no folder\\copy"), false));
}

TEST_F(WideFilesContract, FolderTreeCopyTakesEveryNameAsItIs) {
  const WideText from = In(u"from");
  ASSERT_TRUE(Os().CreateDirectoryW(from));
  ASSERT_TRUE(Os().CreateDirectoryW(from + u"\\" + kGreekFolder));
  const struct {
    WideText name;
    Text content;
  } files[] = {
      {kEmoji, kBinary + "emoji"},
      {kKorean, kBinary + "korean"},
      {kGreekFolder + u"\\" + kGreekFile, kBinary + "greek"},
      {u"链接.url", kBinary + "chinese"},
  };
  for (const auto& file : files) ASSERT_TRUE(Fx().WriteFileW(from + u"\\" + file.name, file.content));

  EXPECT_TRUE(CopyFolderTree(Os(), gbkRoot + "\\from", gbkRoot + "\\to"));

  for (const auto& file : files) {
    EXPECT_EQ(Fx().ReadFileW(In(u"to\\" + file.name)), file.content) << FromWideText(Os(), file.name);
  }
  EXPECT_EQ(Names(In(u"to\\*")), SortedW({u".", u"..", kEmoji, kKorean, kGreekFolder, u"链接.url"}));
}

// ---- moves and deletes ----------------------------------------------------------------------

TEST_F(WideFilesContract, MoveFileExRenamesReplacesOnlyWhenAskedAndRefusesTheRest) {
  ASSERT_TRUE(Os().CreateDirectoryW(In(kGreekFolder)));
  struct Case {
    const char* label;
    WideText from, to;
    uint32_t flags;
    bool moved;
  } cases[] = {
      {"to a new name", kEmoji, kKorean, 0, true},
      {"into a sub-folder", kEmoji, kGreekFolder + u"\\" + kGreekFile, 0, true},
      {"onto a file, not asked to replace", kEmoji, u"taken.url", 0, false},
      {"onto a file, asked to replace", kEmoji, u"taken.url", kMoveFileReplaceExisting, true},
      {"into a missing folder", kEmoji, u"missing\\x.url", kMoveFileReplaceExisting, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    ASSERT_TRUE(Fx().WriteFileW(In(c.from), "new"));
    ASSERT_TRUE(Fx().WriteFileW(In(u"taken.url"), "old"));
    EXPECT_EQ(Os().MoveFileExW(In(c.from), In(c.to), c.flags), c.moved);
    EXPECT_EQ(Fx().ReadFileW(In(c.from)).has_value(), !c.moved);
    if (c.moved) {
      EXPECT_EQ(Fx().ReadFileW(In(c.to)), Text("new"));
    }
    EXPECT_EQ(Fx().ReadFileW(In(u"taken.url")), Text(c.moved && c.to == u"taken.url" ? "new" : "old"));
    Os().DeleteFileW(In(c.from));
  }
  EXPECT_FALSE(Os().MoveFileExW(In(u"nothing.url"), In(u"any.url"), kMoveFileReplaceExisting));
}

TEST_F(WideFilesContract, DeleteFileRemovesAFileAndNothingElse) {
  ASSERT_TRUE(Fx().WriteFileW(In(kKorean), "k"));
  ASSERT_TRUE(Os().CreateDirectoryW(In(kGreekFolder)));
  EXPECT_TRUE(Os().DeleteFileW(In(kKorean)));
  EXPECT_EQ(Os().GetFileAttributesW(In(kKorean)), kInvalidFileAttributes);
  EXPECT_FALSE(Os().DeleteFileW(In(kKorean))) << "gone already";
  EXPECT_FALSE(Os().DeleteFileW(In(kGreekFolder))) << "a folder";
  EXPECT_TRUE(FolderHere(kGreekFolder));
}

// ---- a file held open by another program ------------------------------------------------------

TEST_F(WideFilesContract, AFileHeldOpenCannotBeMovedDeletedOrOpenedForWriting) {
  const Text locks[] = {gbkRoot + "\\lockfile", gbkRoot + "\\parent.lock"};
  for (const Text& lock : locks) ASSERT_TRUE(Fx().WriteFile(lock, "")) << lock;
  ASSERT_TRUE(Fx().HoldOpenSharingRead(locks[0]));  // as Chromium holds its lockfile
  ASSERT_TRUE(Fx().HoldOpen(locks[1]));             // as Firefox holds its parent.lock
  for (const Text& lock : locks) {
    SCOPED_TRACE(lock);
    const WideText path = ToWideText(Os(), lock);
    EXPECT_EQ(Os().OpenForWriteAndCloseW(path), kErrorSharingViolation);
    EXPECT_FALSE(Os().DeleteFileW(path));
    EXPECT_FALSE(Os().MoveFileExW(path, path + u".moved", 0));
    EXPECT_NE(Os().GetFileAttributesW(path), kInvalidFileAttributes) << "still there";
  }
  Fx().ReleaseHeld();
  for (const Text& lock : locks) EXPECT_EQ(Os().OpenForWriteAndCloseW(ToWideText(Os(), lock)), kErrorSuccess) << lock;
}

TEST_F(WideFilesContract, OpenForWriteTellsAMissingFileFromAFree) {
  ASSERT_TRUE(Fx().WriteFileW(In(kEmoji), "free"));
  EXPECT_EQ(Os().OpenForWriteAndCloseW(In(kEmoji)), kErrorSuccess);
  EXPECT_EQ(Fx().ReadFileW(In(kEmoji)), Text("free")) << "opening changes nothing";
  EXPECT_EQ(Os().OpenForWriteAndCloseW(In(u"nothing.lock")), kErrorFileNotFound);
  EXPECT_EQ(Os().OpenForWriteAndCloseW(In(u"no folder\\nothing.lock")), kErrorPathNotFound);
  // Refused or not, a read-only file is nobody's lock.
  ASSERT_TRUE(Fx().WriteFileW(In(kKorean), "r"));
  ASSERT_TRUE(Os().SetFileAttributesW(In(kKorean), kAttrReadOnly));
  EXPECT_NE(Os().OpenForWriteAndCloseW(In(kKorean)), kErrorSharingViolation);
  Os().SetFileAttributesW(In(kKorean), kAttrArchive);
}

// ---- many files to the bin in one shell operation -------------------------------------------------

TEST_F(WideFilesContract, OneShellDeleteSendsAListOfFilesToTheBin) {
  ASSERT_TRUE(Os().CreateDirectoryW(In(kGreekFolder)));
  const WideText binned[] = {In(kEmoji), In(u"书签.url"), In(kGreekFolder + u"\\" + kGreekFile)};
  WideText list;
  for (const WideText& file : binned) {
    ASSERT_TRUE(Fx().WriteFileW(file, "old"));
    list += file + u'\0';
  }
  list += u'\0';
  ASSERT_TRUE(Fx().WriteFileW(In(kKorean), "stays"));

  bool aborted = true;
  EXPECT_EQ(Os().SHFileOperationW(kFoDelete, list, WideText(),
                                  kFofAllowUndo | kFofNoConfirmation | kFofSilent | kFofNoErrorUi, aborted),
            0);
  EXPECT_FALSE(aborted);
  for (const WideText& file : binned) {
    SCOPED_TRACE(FromWideText(Os(), file));
    EXPECT_EQ(Os().GetFileAttributesW(file), kInvalidFileAttributes);
    if (const std::optional<bool> recycled = Fx().InRecycleBinW(file)) {
      EXPECT_TRUE(*recycled);
    }
  }
  EXPECT_EQ(Fx().ReadFileW(In(kKorean)), Text("stays"));
  EXPECT_TRUE(FolderHere(kGreekFolder));
}

}  // namespace
}  // namespace bm
