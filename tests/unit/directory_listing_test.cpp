#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "platform/sim/SimPlatform.h"
#include "util/DirectoryListing.h"

namespace bm {
namespace {

// A folder name whose last character is a double-byte GBK character with 0x5C
// (the backslash byte) as its trail byte.
const Text kTrailBackslashFolder = "D:\\\xB1\xED\x81\x5C";

// ---- SortTexts --------------------------------------------------------------------

struct SortCase {
  const char* name;
  TextList input;
  TextList ascending;
};

void PrintTo(const SortCase& c, std::ostream* out) { *out << c.name; }

class SortTextsTest : public ::testing::TestWithParam<SortCase> {};

TEST_P(SortTextsTest, SortsAscendingAndDescendingByUnsignedBytes) {
  const SortCase& c = GetParam();
  TextList list = c.input;
  SortTexts(list);
  EXPECT_EQ(list, c.ascending);

  TextList descending = c.input;
  SortTexts(descending, true);
  TextList reversed(c.ascending.rbegin(), c.ascending.rend());
  EXPECT_EQ(descending, reversed);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SortTextsTest,
    ::testing::Values(
        SortCase{"LettersAndDigits", {"b", "B", "a", "A10", "A9"}, {"A10", "A9", "B", "a", "b"}},
        SortCase{"ChineseAfterAscii", {"谷歌", "zeta", "火狐", "Alpha", "~"}, {"Alpha", "zeta", "~", "谷歌", "火狐"}},
        SortCase{"PrefixFirst", {"abc", "ab", "a", "abcd"}, {"a", "ab", "abc", "abcd"}},
        SortCase{"Duplicates", {"m", "a", "m", "z", "a"}, {"a", "a", "m", "m", "z"}},
        SortCase{"AlreadyDescending", {"e", "d", "c", "b", "a"}, {"a", "b", "c", "d", "e"}},
        SortCase{"Empty", {}, {}},
        SortCase{"Single", {"only"}, {"only"}}),
    [](const ::testing::TestParamInfo<SortCase>& info) { return std::string(info.param.name); });

TEST(SortTexts, DescendingExampleReadsBackwards) {
  TextList list = {"b", "B", "a", "A10", "A9"};
  SortTexts(list, true);
  EXPECT_EQ(list, (TextList{"b", "a", "B", "A9", "A10"}));
}

// The binary insertion must place every member, whatever the input order:
// compare with a plain sort in unsigned byte order over many random lists.
TEST(SortTexts, AgreesWithAByteOrderSortOnRandomLists) {
  std::mt19937 random(20230430);
  const char alphabet[] = {'a', 'B', 'b', '0', '\x81', '\xB0', '\xFE', '\\'};
  auto byteLess = [](const Text& x, const Text& y) {
    return std::lexicographical_compare(x.begin(), x.end(), y.begin(), y.end(), [](char p, char q) {
      return static_cast<unsigned char>(p) < static_cast<unsigned char>(q);
    });
  };
  for (int round = 0; round < 300; ++round) {
    TextList list(random() % 40);
    for (Text& text : list) {
      text.resize(random() % 4);
      for (char& c : text) c = alphabet[random() % sizeof alphabet];
    }
    TextList expected = list;
    std::sort(expected.begin(), expected.end(), byteLess);
    SortTexts(list);
    ASSERT_EQ(list, expected) << "round " << round;
  }
}

// ---- ListSubfolders -------------------------------------------------------------------

class ListSubfoldersTest : public ::testing::Test {
 protected:
  void SetUp() override {
    os.MakeFolders("D:\\Profiles\\b.default");
    os.MakeFolders("D:\\Profiles\\a.release");
    os.MakeFolders("D:\\Profiles\\隐藏", kAttrDirectory | kAttrHidden);
    os.MakeFolders("D:\\Profiles\\System", kAttrDirectory | kAttrSystem);
    os.MakeFolders("D:\\Profiles\\a.release\\nested");
    os.WriteFile("D:\\Profiles\\profiles.ini", "[General]");
    os.WriteFile("D:\\Profiles\\hidden.txt", "x", kAttrHidden);
  }
  SimPlatform os;
};

TEST_F(ListSubfoldersTest, ListsFoldersOnlyWithOrWithoutTrailingSeparator) {
  for (const Text& folder : {Text("D:\\Profiles"), Text("D:\\Profiles\\")}) {
    TextList list;
    EXPECT_EQ(ListSubfolders(os, folder, list), 4) << folder;
    // Search order of the file system; hidden and system folders included,
    // ".", "..", plain files and deeper folders left out.
    EXPECT_EQ(list, (TextList{"a.release", "b.default", "System", "隐藏"})) << folder;
  }
}

TEST_F(ListSubfoldersTest, AppendsAfterExistingMembers) {
  TextList list = {"old1", "old2"};
  os.MakeFolders("D:\\Three\\x");
  os.MakeFolders("D:\\Three\\y");
  os.MakeFolders("D:\\Three\\z");
  EXPECT_EQ(ListSubfolders(os, "D:\\Three", list), 5);
  EXPECT_EQ(list, (TextList{"old1", "old2", "x", "y", "z"}));
}

TEST_F(ListSubfoldersTest, FullPathsJoinTheFolderAndNameWithOneSeparator) {
  TextList list;
  ListSubfolders(os, "D:\\Profiles", list, true);
  ASSERT_EQ(list.size(), 4u);
  EXPECT_EQ(list[0], "D:\\Profiles\\a.release");
  EXPECT_EQ(list[3], "D:\\Profiles\\隐藏");

  TextList fromSeparator;
  ListSubfolders(os, "D:\\Profiles\\", fromSeparator, true);
  EXPECT_EQ(fromSeparator, list);
}

TEST_F(ListSubfoldersTest, SortedSortsTheWholeList) {
  TextList list = {"zz", "AA"};
  EXPECT_EQ(ListSubfolders(os, "D:\\Profiles", list, false, true), 6);
  EXPECT_EQ(list, (TextList{"AA", "System", "a.release", "b.default", "zz", "隐藏"}));
}

TEST_F(ListSubfoldersTest, MissingFolderLeavesTheListAsItWas) {
  TextList list = {"kept"};
  EXPECT_EQ(ListSubfolders(os, "D:\\Nowhere", list), 1);
  EXPECT_EQ(list, TextList{"kept"});
  TextList fresh;
  EXPECT_EQ(ListSubfolders(os, "Q:\\Profiles", fresh), 0);
  EXPECT_TRUE(fresh.empty());
}

TEST_F(ListSubfoldersTest, DoesNotPumpMessages) {
  TextList list;
  const int before = os.PumpCount();
  ListSubfolders(os, "D:\\Profiles", list);
  EXPECT_EQ(os.PumpCount(), before);
}

TEST_F(ListSubfoldersTest, FolderEndingInATrailByte0x5CStillGetsItsSeparator) {
  os.MakeFolders(kTrailBackslashFolder + "\\one");
  os.MakeFolders(kTrailBackslashFolder + "\\two");
  TextList list;
  EXPECT_EQ(ListSubfolders(os, kTrailBackslashFolder, list, true), 2);
  EXPECT_EQ(list, (TextList{kTrailBackslashFolder + "\\one", kTrailBackslashFolder + "\\two"}));
}

// ---- EnumerateFiles ----------------------------------------------------------------------

class EnumerateFilesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    os.WriteFile("D:\\Logs\\b.txt", "b");
    os.WriteFile("D:\\Logs\\a.txt", "a");
    os.WriteFile("D:\\Logs\\run.log", "r");
    os.WriteFile("D:\\Logs\\hidden.txt", "h", kAttrHidden);
    os.WriteFile("D:\\Logs\\locked.txt", "l", kAttrReadOnly | kAttrSystem);
    os.WriteFile("D:\\Logs\\sub.txt\\inner.txt", "i");  // a folder whose name matches *.txt
  }
  SimPlatform os;
};

TEST_F(EnumerateFilesTest, PiecesAreSearchedInTheOrderWritten) {
  TextList list;
  EXPECT_EQ(EnumerateFiles(os, "D:\\Logs", "*.log|*.txt", list), 5);
  EXPECT_EQ(list, (TextList{"run.log", "a.txt", "b.txt", "hidden.txt", "locked.txt"}));
}

TEST_F(EnumerateFilesTest, AFileMatchingTwoPiecesIsListedTwice) {
  TextList list;
  EXPECT_EQ(EnumerateFiles(os, "D:\\Logs\\", "*.*|*.txt", list), 9);
  EXPECT_EQ(std::count(list.begin(), list.end(), Text("a.txt")), 2);
  EXPECT_EQ(std::count(list.begin(), list.end(), Text("run.log")), 1);
}

TEST_F(EnumerateFilesTest, EmptyPiecesMatchNothing) {
  TextList plain, withEmpty;
  EnumerateFiles(os, "D:\\Logs", "*.log|*.txt", plain);
  EnumerateFiles(os, "D:\\Logs", "*.log||*.txt|", withEmpty);
  EXPECT_EQ(withEmpty, plain);
  TextList onlyBars = {"x"};
  EXPECT_EQ(EnumerateFiles(os, "D:\\Logs", "||", onlyBars), 0);
}

TEST_F(EnumerateFilesTest, EmptyPatternEmptiesTheList) {
  TextList list = {"stale", "entries"};
  EXPECT_EQ(EnumerateFiles(os, "D:\\Logs", "", list), 0);
  EXPECT_TRUE(list.empty());
}

TEST_F(EnumerateFilesTest, WithoutRecursionNoFoldersAndNothingFromSubFolders) {
  TextList list = {"stale"};
  EnumerateFiles(os, "D:\\Logs", "*.*", list, true);
  EXPECT_EQ(list, (TextList{"D:\\Logs\\a.txt", "D:\\Logs\\b.txt", "D:\\Logs\\hidden.txt", "D:\\Logs\\locked.txt",
                            "D:\\Logs\\run.log"}));
}

TEST_F(EnumerateFilesTest, MissingFolderGivesNothing) {
  TextList list = {"stale"};
  EXPECT_EQ(EnumerateFiles(os, "D:\\Nowhere", "*.*", list), 0);
  EXPECT_TRUE(list.empty());
}

TEST_F(EnumerateFilesTest, PumpsMessagesAfterEveryFile) {
  TextList list;
  const int before = os.PumpCount();
  EnumerateFiles(os, "D:\\Logs", "*.log|*.txt", list);
  EXPECT_EQ(os.PumpCount() - before, 5);
}

class RecursiveEnumerationTest : public ::testing::Test {
 protected:
  void SetUp() override {
    os.WriteFile("D:\\Tree\\b.txt", "");
    os.WriteFile("D:\\Tree\\a.txt", "");
    os.WriteFile("D:\\Tree\\skip.log", "");
    os.WriteFile("D:\\Tree\\one\\c.txt", "");
    os.WriteFile("D:\\Tree\\one\\deep\\d.txt", "");
    os.WriteFile("D:\\Tree\\two\\e.txt", "");
    os.MakeFolders("D:\\Tree\\empty");
  }
  SimPlatform os;
};

TEST_F(RecursiveEnumerationTest, DepthFirstAfterTheExistingMembers) {
  TextList list = {"kept"};
  EXPECT_EQ(EnumerateFiles(os, "D:\\Tree", "*.txt", list, true, false, true), 6);
  EXPECT_EQ(list, (TextList{"kept", "D:\\Tree\\a.txt", "D:\\Tree\\b.txt", "D:\\Tree\\one\\c.txt",
                            "D:\\Tree\\one\\deep\\d.txt", "D:\\Tree\\two\\e.txt"}));
}

TEST_F(RecursiveEnumerationTest, PumpsAfterEveryFileAndEverySubFolder) {
  TextList list;
  const int before = os.PumpCount();
  EnumerateFiles(os, "D:\\Tree", "*.txt", list, false, false, true);
  // Five files and four sub-folders (one, deep, two, empty).
  EXPECT_EQ(os.PumpCount() - before, 9);
}

TEST_F(RecursiveEnumerationTest, SortedAndRecursiveEndsFullySorted) {
  TextList list = {"zzz"};
  EnumerateFiles(os, "D:\\Tree", "*.txt", list, false, true, true);
  EXPECT_EQ(list, (TextList{"a.txt", "b.txt", "c.txt", "d.txt", "e.txt", "zzz"}));
}

TEST(EnumerateFilesGbk, FolderEndingInATrailByte0x5CIsSearched) {
  SimPlatform os;
  os.WriteFile(kTrailBackslashFolder + "\\bookmarks.json", "{}");
  TextList list;
  EXPECT_EQ(EnumerateFiles(os, kTrailBackslashFolder, "*.*", list, true), 1);
  EXPECT_EQ(list, TextList{kTrailBackslashFolder + "\\bookmarks.json"});
}

}  // namespace
}  // namespace bm
