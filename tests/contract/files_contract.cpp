// Files, folders, directory searches and text conversions behave alike on the
// simulated Windows and on the real one.
#include "app/Paths.h"
#include "app/ProcessValues.h"
#include "contract/ContractTest.h"

namespace bm {
namespace {

class FilesContract : public ContractTest {
 protected:
  void SetUp() override {
    root = Fx().ScratchFolder();
    ASSERT_FALSE(root.empty());
  }
  Text In(const Text& name) const { return root + "\\" + name; }
  Text root;
};

// ---- texts ------------------------------------------------------------------

TEST_F(FilesContract, AnsiCodePageIsChinese) { EXPECT_EQ(Os().GetACP(), 936); }

TEST_F(FilesContract, GbkAndUtf16ConvertBothWaysWithCodePage936) {
  struct Case {
    const char* label;
    Text gbk;
    WideText wide;
  } cases[] = {
      {"ascii", "Bookmarks.bak", u"Bookmarks.bak"},
      {"chinese", "谷歌浏览器", u"谷歌浏览器"},
      {"trail byte 0x5C", "\x81\x5C", u"\u4E57"},
      {"trail byte 'a'", "\xB0\x61", u"\u766E"},
      {"euro sign", "\x80", u"\u20AC"},
      {"mixed", "D:\\浏览器书签备份2023年4月30日", u"D:\\浏览器书签备份2023年4月30日"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    EXPECT_EQ(ToWideText(Os(), c.gbk), c.wide);
    EXPECT_EQ(FromWideText(Os(), c.wide), c.gbk);
    EXPECT_EQ(Os().WideCharToMultiByte(936, Os().MultiByteToWideChar(936, c.gbk)), c.gbk);
  }
  EXPECT_EQ(FromWideText(Os(), WideText(u"ab\0cd", 5)), "ab");
  EXPECT_EQ(ToWideText(Os(), ""), WideText());
}

TEST_F(FilesContract, UnreadableGbkBytesConvertAsWindowsReadsThem) {
  struct Case {
    const char* label;
    Text gbk;
    WideText wide;
  } cases[] = {
      {"lone lead byte", "\x81", u"?"},
      {"lead byte at the end", "a\x81", u"a?"},
      {"lead byte with a byte that is no trail", "\x81\x20", u"?"},
      {"0xFF", "\xFF\x41", u"\uF8F5A"},
  };
  for (const Case& c : cases) EXPECT_EQ(Os().MultiByteToWideChar(936, c.gbk), c.wide) << c.label;
  EXPECT_EQ(Os().WideCharToMultiByte(936, u"\u00E9"), "\xA8\xA6");
  EXPECT_EQ(Os().WideCharToMultiByte(936, u"\u0101"), "\xA8\xA1");
}

// ---- names with Chinese characters -------------------------------------------

TEST_F(FilesContract, ChineseNamesRoundTripThroughEveryFileCall) {
  const Text names[] = {"谷歌浏览器", "\x81\x5C", "\x81\x5C\x81\x5C", "混合Mixed名", "\xB0\x61"};
  for (const Text& name : names) {
    SCOPED_TRACE(name);
    const Text folder = In(name);
    ASSERT_TRUE(Os().CreateDirectoryA(folder));
    EXPECT_EQ(Os().PathIsDirectoryW(ToWideText(Os(), folder)), kAttrDirectory);
    ASSERT_TRUE(Fx().WriteFile(folder + "\\书签.txt", "内容"));
    EXPECT_TRUE(Os().CopyFileA(folder + "\\书签.txt", folder + "\\副本" + name, false));
    EXPECT_EQ(Fx().ReadFile(folder + "\\副本" + name), Text("内容"));
    EXPECT_EQ(FindFirstName(Os(), folder), "") << "a folder is not a file";
    EXPECT_EQ(FindFirstName(Os(), folder, kAttrDirectory), name);
    EXPECT_EQ(Sorted(SearchNames(folder + "\\*")), Sorted({".", "..", "书签.txt", "副本" + name}));
    EXPECT_TRUE(MakeFolderPath(Os(), folder + "\\下一层\\" + name));
    EXPECT_TRUE(FolderExists(Os(), folder + "\\下一层\\" + name));
  }
  EXPECT_EQ(Sorted(SearchNames(In("*"))), Sorted({".", "..", "谷歌浏览器", "\x81\x5C", "\x81\x5C\x81\x5C",
                                                   "混合Mixed名", "\xB0\x61"}));
}

TEST_F(FilesContract, NamesMatchIgnoringCase) {
  ASSERT_TRUE(Fx().WriteFile(In("Bookmarks"), "b"));
  EXPECT_EQ(FindFirstName(Os(), In("BOOKMARKS")), "Bookmarks");
  EXPECT_TRUE(Os().CopyFileA(In("bookmarks"), In("Copy"), false));
  EXPECT_FALSE(Os().CreateDirectoryA(In("COPY")));
  EXPECT_EQ(Fx().ReadFile(In("copy")), Text("b"));
}

// ---- directory searches -------------------------------------------------------

class SearchContract : public FilesContract {
 protected:
  void SetUp() override {
    FilesContract::SetUp();
    ASSERT_TRUE(Fx().WriteFile(In("a.txt"), "a"));
    ASSERT_TRUE(Fx().WriteFile(In("noext"), "n"));
    ASSERT_TRUE(Fx().WriteFile(In("Upper.TXT"), "u"));
    ASSERT_TRUE(Fx().MakeFolder(In("sub")));
    ASSERT_TRUE(Fx().WriteFile(In("sub\\inner.txt"), "i"));
  }
};

TEST_F(SearchContract, WildcardsFollowWindows) {
  struct Case {
    const char* pattern;
    std::vector<Text> names;
  } cases[] = {
      {"*", {".", "..", "a.txt", "noext", "sub", "Upper.TXT"}},
      {"*.*", {".", "..", "a.txt", "noext", "sub", "Upper.TXT"}},
      {"*.txt", {"a.txt", "Upper.TXT"}},
      {"?.TXT", {"a.txt"}},
      {"no???", {"noext"}},
      {"n*t", {"noext"}},
      {"sub", {"sub"}},
      {"SUB\\*.txt", {"inner.txt"}},
      {"a.txt.", {"a.txt"}},  // trailing dots are dropped from a plain name
      {"sub\\.", {"sub"}},
      {"sub\\..\\a.txt", {"a.txt"}},
      {"zz*", {}},
      {"missing\\*", {}},
      {"sub\\", {}},
      {"a.txt\\*", {}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Sorted(SearchNames(In(c.pattern))), Sorted(c.names)) << c.pattern;
  }
}

TEST_F(SearchContract, DotEntriesComeFirstBelowTheRootAndCarryTheFolderBit) {
  const std::vector<Text> names = SearchNames(In("*"));
  ASSERT_GE(names.size(), 2u);
  EXPECT_EQ(names[0], ".");
  EXPECT_EQ(names[1], "..");
  FindData found;
  const SearchHandle search = Os().FindFirstFileA(In("*"), found);
  ASSERT_NE(search, 0u);
  EXPECT_NE(found.attributes & kAttrDirectory, 0u);
  Os().FindClose(search);
}

TEST_F(SearchContract, PatternNamingAFolderReportsTheFolderItself) {
  FindData found;
  const SearchHandle search = Os().FindFirstFileA(In("SUB"), found);
  ASSERT_NE(search, 0u);
  EXPECT_EQ(found.name, "sub");
  EXPECT_NE(found.attributes & kAttrDirectory, 0u);
  EXPECT_FALSE(Os().FindNextFileA(search, found));
  Os().FindClose(search);
}

TEST_F(SearchContract, FindFirstNameFilters) {
  ASSERT_TRUE(Fx().WriteFile(In("hidden.dat"), "h"));
  ASSERT_TRUE(Fx().SetAttributes(In("hidden.dat"), kAttrHidden));
  auto all = [&](std::optional<uint32_t> filter) {
    SearchSlot slot(Os());
    std::vector<Text> names;
    for (Text name = slot.FindFirstName(In("*"), filter); !name.empty() && names.size() < 100;
         name = slot.FindFirstName("", filter))
      names.push_back(name);
    return Sorted(names);
  };
  EXPECT_EQ(all(std::nullopt), Sorted({"a.txt", "hidden.dat", "noext", "Upper.TXT"}));
  EXPECT_EQ(all(kAttrDirectory), Sorted({".", "..", "sub"}));
  EXPECT_EQ(all(kAttrHidden), Sorted({"hidden.dat"}));
  EXPECT_EQ(FindFirstName(Os(), In("a.txt")), "a.txt");
  EXPECT_EQ(FindFirstName(Os(), In("sub")), "");
  EXPECT_FALSE(FileExists(Os(), In("nothing")));
}

// ---- folders -------------------------------------------------------------------

TEST_F(FilesContract, MakeFolderPathCreatesEveryLevel) {
  EXPECT_TRUE(MakeFolderPath(Os(), In("一\\二\\三")));
  EXPECT_TRUE(FolderExists(Os(), In("一")));
  EXPECT_TRUE(FolderExists(Os(), In("一\\二\\三")));
  EXPECT_TRUE(MakeFolderPath(Os(), In("尾\\斜杠\\")));
  EXPECT_TRUE(FolderExists(Os(), In("尾\\斜杠")));
  EXPECT_TRUE(MakeFolderPath(Os(), In("一\\二")));  // existing folders are passed over
  ASSERT_TRUE(Fx().WriteFile(In("file"), "f"));
  EXPECT_FALSE(MakeFolderPath(Os(), In("file\\below")));
  EXPECT_FALSE(MakeFolderPath(Os(), Fx().MissingDriveFolder() + "\\x"));
}

TEST_F(FilesContract, MakeFolderPathOnAShortPathCreatesNothing) {
  EXPECT_FALSE(MakeFolderPath(Os(), "Q"));
  EXPECT_FALSE(MakeFolderPath(Os(), ""));
  const Text drive = root.substr(0, 2);  // "X:"
  EXPECT_EQ(MakeFolderPath(Os(), drive), FolderExists(Os(), drive));
}

TEST_F(FilesContract, FolderTests) {
  ASSERT_TRUE(Fx().WriteFile(In("file.txt"), "f"));
  ASSERT_TRUE(Fx().MakeFolder(In("empty")));
  ASSERT_TRUE(Fx().MakeFolder(In("full")));
  ASSERT_TRUE(Fx().MakeFolder(In("full\\inner")));
  struct Case {
    const char* name;
    bool exists;
    bool empty;
  } cases[] = {
      {"file.txt", false, false}, {"empty", true, true},     {"full", true, false},
      {"missing", false, false},  {"empty\\", true, true},   {"full\\inner", true, true},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(FolderExists(Os(), In(c.name)), c.exists) << c.name;
    EXPECT_EQ(FolderIsEmpty(Os(), In(c.name)), c.empty) << c.name;
  }
  EXPECT_FALSE(FolderExists(Os(), ""));
  EXPECT_FALSE(FolderIsEmpty(Os(), Fx().MissingDriveFolder()));
}

TEST_F(FilesContract, CreateDirectoryMakesOneLevel) {
  EXPECT_TRUE(Os().CreateDirectoryA(In("new")));
  EXPECT_FALSE(Os().CreateDirectoryA(In("new"))) << "exists already";
  EXPECT_FALSE(Os().CreateDirectoryA(In("no\\parent")));
  EXPECT_FALSE(Os().CreateDirectoryA(Fx().MissingDriveFolder()));
  EXPECT_TRUE(Os().CreateDirectoryW(ToWideText(Os(), In("宽"))));
  EXPECT_FALSE(Os().CreateDirectoryW(ToWideText(Os(), In("宽"))));
  ASSERT_TRUE(Fx().WriteFile(In("file"), "f"));
  EXPECT_FALSE(Os().CreateDirectoryA(In("file")));
}

// ---- copies ----------------------------------------------------------------------

TEST_F(FilesContract, CopyReplacesOrRefuses) {
  ASSERT_TRUE(Fx().WriteFile(In("src"), "new"));
  ASSERT_TRUE(Fx().WriteFile(In("dst"), "old content"));
  EXPECT_FALSE(Os().CopyFileA(In("src"), In("dst"), true));
  EXPECT_EQ(Fx().ReadFile(In("dst")), Text("old content"));
  EXPECT_TRUE(Os().CopyFileA(In("src"), In("dst"), false));
  EXPECT_EQ(Fx().ReadFile(In("dst")), Text("new"));
  EXPECT_TRUE(Os().CopyFileA(In("src"), In("fresh"), true));
  EXPECT_EQ(Fx().ReadFile(In("fresh")), Text("new"));
}

TEST_F(FilesContract, CopyFailures) {
  ASSERT_TRUE(Fx().WriteFile(In("src"), "s"));
  ASSERT_TRUE(Fx().MakeFolder(In("folder")));
  struct Case {
    const char* label;
    Text from, to;
  } cases[] = {
      {"missing source", In("nothing"), In("t1")},
      {"missing target folder", In("src"), In("nofolder\\t2")},
      {"folder as source", In("folder"), In("t3")},
      {"folder as target", In("src"), In("folder")},
      {"missing drive", In("src"), Fx().MissingDriveFolder() + "\\t4"},
  };
  for (const Case& c : cases) EXPECT_FALSE(Os().CopyFileA(c.from, c.to, false)) << c.label;
  EXPECT_EQ(Sorted(SearchNames(In("*"))), Sorted({".", "..", "folder", "src"}));
}

TEST_F(FilesContract, CopyFromAFileHeldOpenFails) {
  ASSERT_TRUE(Fx().WriteFile(In("Bookmarks"), "live"));
  ASSERT_TRUE(Fx().HoldOpen(In("Bookmarks")));
  EXPECT_FALSE(Os().CopyFileA(In("Bookmarks"), In("copy"), false));
  Fx().ReleaseHeld();
  EXPECT_TRUE(Os().CopyFileA(In("Bookmarks"), In("copy"), false));
  EXPECT_EQ(Fx().ReadFile(In("copy")), Text("live"));
}

TEST_F(FilesContract, CopyOntoAFileHeldOpenFails) {
  ASSERT_TRUE(Fx().WriteFile(In("src"), "new"));
  ASSERT_TRUE(Fx().WriteFile(In("dst"), "old"));
  ASSERT_TRUE(Fx().HoldOpen(In("dst")));
  EXPECT_FALSE(Os().CopyFileA(In("src"), In("dst"), false));
  Fx().ReleaseHeld();
  EXPECT_EQ(Fx().ReadFile(In("dst")), Text("old"));
}

TEST_F(FilesContract, AttributesReadAndSet) {
  ASSERT_TRUE(Fx().WriteFile(In("f"), "x"));
  EXPECT_TRUE(Os().SetFileAttributesA(In("f"), kAttrHidden | kAttrSystem));
  EXPECT_EQ(Os().GetFileAttributesA(In("f")) & (kAttrHidden | kAttrSystem | kAttrDirectory), kAttrHidden | kAttrSystem);
  EXPECT_NE(Os().GetFileAttributesA(root) & kAttrDirectory, 0u);
  EXPECT_EQ(Os().GetFileAttributesA(In("missing")), 0xFFFFFFFFu);
  EXPECT_FALSE(Os().SetFileAttributesA(In("missing"), kAttrArchive));
}

TEST_F(FilesContract, FolderTreeCopyReplacesAHiddenSystemFile) {
  ASSERT_TRUE(Fx().MakeFolder(In("from")));
  ASSERT_TRUE(Fx().MakeFolder(In("to")));
  ASSERT_TRUE(Fx().WriteFile(In("from\\desktop.ini"), "new"));
  ASSERT_TRUE(Fx().SetAttributes(In("from\\desktop.ini"), kAttrHidden | kAttrSystem));
  ASSERT_TRUE(Fx().WriteFile(In("to\\desktop.ini"), "old"));
  ASSERT_TRUE(Fx().SetAttributes(In("to\\desktop.ini"), kAttrHidden | kAttrSystem));
  EXPECT_TRUE(CopyFolderTree(Os(), In("from"), In("to")));
  EXPECT_EQ(Fx().ReadFile(In("to\\desktop.ini")), Text("new"));
  EXPECT_NE(Os().GetFileAttributesA(In("to\\desktop.ini")) & kAttrHidden, 0u);
}

TEST_F(FilesContract, CopyKeepsTheReadOnlyBit) {
  ASSERT_TRUE(Fx().WriteFile(In("ro"), "r"));
  ASSERT_TRUE(Fx().SetAttributes(In("ro"), kAttrReadOnly));
  ASSERT_TRUE(Os().CopyFileA(In("ro"), In("copy"), false));
  FindData found;
  const SearchHandle search = Os().FindFirstFileA(In("copy"), found);
  ASSERT_NE(search, 0u);
  EXPECT_NE(found.attributes & kAttrReadOnly, 0u);
  Os().FindClose(search);
  EXPECT_EQ(Fx().ReadFile(In("copy")), Text("r"));
}

}  // namespace
}  // namespace bm
