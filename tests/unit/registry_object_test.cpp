#include "util/RegistryObject.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "platform/sim/SimPlatform.h"

namespace bm {
namespace {

const Text kBase = "Software\\RegistryObjectTest";
const Text kBasePath = "HKEY_CURRENT_USER\\" + kBase;

Bytes B(const Text& text) { return Bytes(text.begin(), text.end()); }

class RegistryObjectTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(os.CreateRegKey(RegRoot::CurrentUser, kBase)); }
  // Every operation closes what it opened, on every way out.
  void TearDown() override { EXPECT_EQ(os.OpenRegKeyCount(), 0); }

  SimPlatform os;
  RegistryObject registry;
};

// ---- key paths ---------------------------------------------------------------------

TEST_F(RegistryObjectTest, RootNamesAreAcceptedInAnyLetterCase) {
  struct Case {
    RegRoot root;
    Text rootName;
  };
  const Case cases[] = {
      {RegRoot::ClassesRoot, "hkey_classes_root"},     {RegRoot::CurrentUser, "hkey_current_user"},
      {RegRoot::CurrentUser, "Hkey_Current_User"},     {RegRoot::CurrentUser, "HKEY_CURRENT_USER"},
      {RegRoot::LocalMachine, "hkey_local_machine"},   {RegRoot::Users, "hkey_users"},
      {RegRoot::CurrentConfig, "hkey_current_config"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.rootName);
    ASSERT_TRUE(os.CreateRegKey(c.root, "Software\\Case\\Child"));
    TextList names;
    EXPECT_EQ(registry.EnumerateSubkeys(os, c.rootName + "\\Software\\Case", names), 1);
    EXPECT_EQ(names, TextList{"Child"});
  }
}

TEST_F(RegistryObjectTest, PathsThatNameNoRootFailToOpen) {
  ASSERT_TRUE(os.SetRegText(RegRoot::CurrentUser, kBase, "v", "x"));
  for (const Text& path : {Text("HKEY_CURRENT_USER"), Text(""), Text("HKEY_NOWHERE\\" + kBase),
                          Text("HKCU\\" + kBase), Text("\\" + kBase)}) {
    SCOPED_TRACE(path);
    EXPECT_EQ(registry.OpenKey(os, path), 0u);
    TextList names = {"left over"};
    EXPECT_EQ(registry.EnumerateSubkeys(os, path, names), -1);
    EXPECT_TRUE(names.empty());
    uint32_t type = kRegSz;
    EXPECT_TRUE(registry.ReadValue(os, path, "v", type).empty());
    EXPECT_FALSE(registry.WriteText(os, path, "w", "x"));
  }
}

TEST_F(RegistryObjectTest, RootWithEmptySubKeyOpensTheRootItself) {
  TextList names;
  EXPECT_GE(registry.EnumerateSubkeys(os, "HKEY_CURRENT_USER\\", names), 1);
  EXPECT_NE(std::find(names.begin(), names.end(), "Software"), names.end());
}

TEST_F(RegistryObjectTest, OpenKeyCreatesOnlyWhenAsked) {
  EXPECT_EQ(registry.OpenKey(os, kBasePath + "\\New"), 0u);
  EXPECT_FALSE(os.RegKeyExists(RegRoot::CurrentUser, kBase + "\\New"));
  const RegKey key = registry.OpenKey(os, kBasePath + "\\New", true);
  EXPECT_NE(key, 0u);
  EXPECT_TRUE(os.RegKeyExists(RegRoot::CurrentUser, kBase + "\\New"));
  os.RegCloseKey(key);
}

// ---- sub-keys ------------------------------------------------------------------------

TEST_F(RegistryObjectTest, EnumerateSubkeysCountsNamesAndFailsOnlyForKeysThatDoNotOpen) {
  ASSERT_TRUE(os.CreateRegKey(RegRoot::CurrentUser, kBase + "\\Empty"));
  ASSERT_TRUE(os.CreateRegKey(RegRoot::CurrentUser, kBase + "\\Denied\\Inside"));
  os.DenyRegKey(RegRoot::CurrentUser, kBase + "\\Denied");
  TextList names = {"left over"};
  EXPECT_EQ(registry.EnumerateSubkeys(os, kBasePath + "\\Empty", names), 0);
  EXPECT_TRUE(names.empty());
  names = {"left over"};
  EXPECT_EQ(registry.EnumerateSubkeys(os, kBasePath + "\\Missing", names), -1);
  EXPECT_TRUE(names.empty());
  EXPECT_EQ(registry.EnumerateSubkeys(os, kBasePath + "\\Denied", names), -1);
  EXPECT_TRUE(names.empty());
}

TEST_F(RegistryObjectTest, EnumerateSubkeysListsInWindowsOrderAndPumpsAfterEachName) {
  for (const Text name : {"b.exe", "A.exe", "c.exe"}) {
    ASSERT_TRUE(os.CreateRegKey(RegRoot::CurrentUser, kBase + "\\" + name));
  }
  const int pumpsBefore = os.PumpCount();
  TextList names;
  EXPECT_EQ(registry.EnumerateSubkeys(os, kBasePath, names), 3);
  EXPECT_EQ(names, (TextList{"A.exe", "b.exe", "c.exe"}));
  EXPECT_EQ(os.PumpCount() - pumpsBefore, 3);
}

TEST_F(RegistryObjectTest, NamesLongerThan255BytesNeitherEndTheWalkNorHideLaterNames) {
  // 200 double-byte characters: a valid key name of 400 GBK bytes.
  Text longName;
  for (int i = 0; i < 200; ++i) longName += "书";
  ASSERT_GT(longName.size(), 255u);
  // A name of its own on each side of the long one.
  for (const Text& name : {Text("a"), longName, Text("\xD7\xDA")})
    ASSERT_TRUE(os.CreateRegKey(RegRoot::CurrentUser, kBase + "\\" + name));
  TextList names;
  EXPECT_EQ(registry.EnumerateSubkeys(os, kBasePath, names), 3);
  ASSERT_EQ(names.size(), 3u);
  EXPECT_EQ(names[0], "a");
  EXPECT_NE(std::find(names.begin(), names.end(), longName), names.end());
  EXPECT_NE(std::find(names.begin(), names.end(), Text("\xD7\xDA")), names.end());
}

TEST_F(RegistryObjectTest, KeyPathsWithChineseCharactersWhoseTrailByteIsABackslash) {
  // "\x95\x5C" is one character whose second byte is the backslash byte.
  const Text name = "\x95\x5C\xCA\xE9";
  ASSERT_TRUE(os.CreateRegKey(RegRoot::CurrentUser, kBase + "\\" + name + "\\Child"));
  TextList names;
  EXPECT_EQ(registry.EnumerateSubkeys(os, kBasePath + "\\" + name, names), 1);
  EXPECT_EQ(names, TextList{"Child"});
}

// ---- values -----------------------------------------------------------------------------

TEST_F(RegistryObjectTest, ReadValueReturnsTheDataAsStoredWithItsType) {
  ASSERT_TRUE(os.SetRegText(RegRoot::CurrentUser, kBase, "Path", "D:\\360\\Application"));
  uint32_t type = kRegBinary;
  const Bytes data = registry.ReadValue(os, kBasePath, "Path", type);
  EXPECT_EQ(type, kRegSz);
  ASSERT_EQ(data.size(), Text("D:\\360\\Application").size() + 1);
  EXPECT_EQ(data.back(), 0);
  EXPECT_EQ(registry.ReadText(os, kBasePath, "Path"), "D:\\360\\Application");

  EXPECT_TRUE(registry.ReadValue(os, kBasePath, "Missing", type).empty());
  EXPECT_TRUE(registry.ReadValue(os, kBasePath + "\\Missing", "Path", type).empty());
}

TEST_F(RegistryObjectTest, TypedReadsConvertWhateverTypeIsStored) {
  ASSERT_TRUE(os.SetRegValue(RegRoot::CurrentUser, kBase, "bin", kRegBinary, B(Text("abc\0def", 7))));
  EXPECT_EQ(registry.ReadText(os, kBasePath, "bin"), "abc");
  EXPECT_EQ(registry.ReadExpandText(os, kBasePath, "bin"), "abc");
  EXPECT_EQ(registry.ReadBytes(os, kBasePath, "bin"), B(Text("abc\0def", 7)));
}

TEST_F(RegistryObjectTest, ReadIntegerTakesFourLittleEndianBytesMissingOnesZero) {
  struct Case {
    const char* name;
    Bytes data;
    int32_t expected;
  };
  const Case cases[] = {
      {"one byte", {0x01}, 1},
      {"two bytes", {0x34, 0x12}, 0x1234},
      {"four bytes", {0xFF, 0xFF, 0xFF, 0xFF}, -1},
      {"six bytes", {0x78, 0x56, 0x34, 0x12, 0x99, 0x99}, 0x12345678},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ASSERT_TRUE(os.SetRegValue(RegRoot::CurrentUser, kBase, c.name, kRegBinary, c.data));
    EXPECT_EQ(registry.ReadInteger(os, kBasePath, c.name), c.expected);
  }
  EXPECT_EQ(registry.ReadInteger(os, kBasePath, "missing"), 0);
  EXPECT_EQ(registry.ReadInteger(os, kBasePath + "\\Missing", "one byte"), 0);
}

TEST_F(RegistryObjectTest, TypedWritesStoreTheirBytesAndType) {
  struct Case {
    const char* name;
    bool (*write)(const RegistryObject&, SimPlatform&, const Text& path, const Text& name);
    uint32_t type;
    Bytes stored;
  };
  const Case cases[] = {
      {"int", [](const RegistryObject& r, SimPlatform& o, const Text& p, const Text& n) {
         return r.WriteInteger(o, p, n, -2);
       }, kRegDword, {0xFE, 0xFF, 0xFF, 0xFF}},
      {"bytes", [](const RegistryObject& r, SimPlatform& o, const Text& p, const Text& n) {
         return r.WriteBytes(o, p, n, {1, 0, 2});
       }, kRegBinary, {1, 0, 2}},
      {"text", [](const RegistryObject& r, SimPlatform& o, const Text& p, const Text& n) {
         return r.WriteText(o, p, n, "书签");
       }, kRegSz, B(Text("书签") + Text(1, '\0'))},
      {"expand", [](const RegistryObject& r, SimPlatform& o, const Text& p, const Text& n) {
         return r.WriteExpandText(o, p, n, "%APPDATA%");
       }, kRegExpandSz, B(Text("%APPDATA%") + Text(1, '\0'))},
      {"multi", [](const RegistryObject& r, SimPlatform& o, const Text& p, const Text& n) {
         return r.WriteMultiText(o, p, n, "a\r\nb");
       }, kRegMultiSz, B(Text("a\0b\0\0", 5))},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    // The key is created on the way.
    const Text key = kBase + "\\Written\\" + c.name;
    ASSERT_TRUE(c.write(registry, os, "HKEY_CURRENT_USER\\" + key, c.name));
    EXPECT_EQ(os.RegValueType(RegRoot::CurrentUser, key, c.name), c.type);
    EXPECT_EQ(os.RegValueData(RegRoot::CurrentUser, key, c.name), c.stored);
  }
  EXPECT_EQ(registry.ReadInteger(os, kBasePath + "\\Written\\int", "int"), -2);
}

TEST_F(RegistryObjectTest, MultiTextReadsBackWithEveryZeroAsALineEnd) {
  ASSERT_TRUE(registry.WriteMultiText(os, kBasePath, "list", "a\r\nb"));
  EXPECT_EQ(registry.ReadMultiText(os, kBasePath, "list"), "a\r\nb\r\n\r\n");
  EXPECT_EQ(registry.ReadMultiText(os, kBasePath, "missing"), "");
}

TEST_F(RegistryObjectTest, WriteValueUnderRootTakesTheRootsByNumber) {
  struct Case {
    int number;
    RegRoot root;
  };
  const Case cases[] = {{1, RegRoot::ClassesRoot}, {2, RegRoot::CurrentConfig}, {3, RegRoot::CurrentUser},
                        {4, RegRoot::LocalMachine}, {5, RegRoot::Users}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.number);
    ASSERT_TRUE(registry.WriteValueUnderRoot(os, c.number, "Software\\UnderRoot", "v", B("x")));
    EXPECT_EQ(os.RegValueType(c.root, "Software\\UnderRoot", "v"), kRegSz);
    EXPECT_EQ(os.RegValueData(c.root, "Software\\UnderRoot", "v"), B("x"));
  }
  EXPECT_TRUE(registry.WriteValueUnderRoot(os, 3, "Software\\UnderRoot", "d", {7, 0, 0, 0}, kRegDword));
  EXPECT_EQ(os.RegValueType(RegRoot::CurrentUser, "Software\\UnderRoot", "d"), kRegDword);
  for (int number : {0, 6, -1}) {
    EXPECT_FALSE(registry.WriteValueUnderRoot(os, number, "Software\\Elsewhere", "v", B("x")));
  }
  for (RegRoot root : {RegRoot::ClassesRoot, RegRoot::CurrentUser, RegRoot::LocalMachine, RegRoot::Users,
                       RegRoot::CurrentConfig}) {
    EXPECT_FALSE(os.RegKeyExists(root, "Software\\Elsewhere"));
  }
}

TEST_F(RegistryObjectTest, EnumerateValuesListsNamesDataAndTypesSideBySide) {
  ASSERT_TRUE(os.SetRegText(RegRoot::CurrentUser, kBase, "s", "x"));
  ASSERT_TRUE(os.SetRegValue(RegRoot::CurrentUser, kBase, "n", kRegDword, {5, 0, 0, 0}));
  ASSERT_TRUE(os.SetRegValue(RegRoot::CurrentUser, kBase, "e", kRegBinary, {}));
  // A name of 400 GBK bytes.
  Text longName;
  for (int i = 0; i < 200; ++i) longName += "值";
  ASSERT_TRUE(os.SetRegText(RegRoot::CurrentUser, kBase, longName, "y"));
  TextList names;
  std::vector<Bytes> data;
  std::vector<uint32_t> types;
  ASSERT_EQ(registry.EnumerateValues(os, kBasePath, names, data, types), 4);
  EXPECT_EQ(names, (TextList{"s", "n", "e", longName}));
  EXPECT_EQ(data, (std::vector<Bytes>{B(Text("x\0", 2)), {5, 0, 0, 0}, {}, B(Text("y\0", 2))}));
  EXPECT_EQ(types, (std::vector<uint32_t>{kRegSz, kRegDword, kRegBinary, kRegSz}));

  EXPECT_EQ(registry.EnumerateValues(os, kBasePath + "\\Missing", names, data, types), -1);
  EXPECT_TRUE(names.empty());
  EXPECT_TRUE(data.empty());
  EXPECT_TRUE(types.empty());
}

TEST_F(RegistryObjectTest, DescribeValueTypeNamesTheTypeOfTheValueAskedFor) {
  struct Case {
    uint32_t type;
    Text expected;
  };
  const Case cases[] = {
      {kRegNone, "REG_NONE - 字节集，值为：0"},
      {kRegSz, "REG_SZ - 字符串值，值为：1"},
      {kRegExpandSz, "REG_REG_EXPAND_SZ - 可扩充字符串值，值为：2"},
      {kRegBinary, "REG_BINARY - 二进制，值为：3"},
      {kRegDword, "REG_DWORD - DWORD，值为：4"},
      {kRegMultiSz, "REG_MULTI_SZ - 多字符串值，值为：7"},
      {5, ""},
      {11, ""},
  };
  // A value before the one asked for, so that the walk has to step over it.
  ASSERT_TRUE(os.SetRegText(RegRoot::CurrentUser, kBase, "first", "x"));
  for (const Case& c : cases) {
    SCOPED_TRACE(c.type);
    const Text name = "v" + std::to_string(c.type);
    ASSERT_TRUE(os.SetRegValue(RegRoot::CurrentUser, kBase, name, c.type, {1, 0, 0, 0}));
    EXPECT_EQ(registry.DescribeValueType(os, kBasePath, name), c.expected);
  }
  // Names are matched byte for byte.
  EXPECT_EQ(registry.DescribeValueType(os, kBasePath, "FIRST"), "");
  EXPECT_EQ(registry.DescribeValueType(os, kBasePath, "missing"), "");
  // A walk that fails at once leaves the starting REG_NONE.
  ASSERT_TRUE(os.CreateRegKey(RegRoot::CurrentUser, kBase + "\\NoValues"));
  EXPECT_EQ(registry.DescribeValueType(os, kBasePath + "\\NoValues", "missing"), "REG_NONE - 字节集，值为：0");
  EXPECT_EQ(registry.DescribeValueType(os, kBasePath + "\\Missing", "missing"), "REG_NONE - 字节集，值为：0");
}

TEST_F(RegistryObjectTest, KeyOrValueExistsWhateverTheLengthOfTheData) {
  ASSERT_TRUE(os.SetRegText(RegRoot::CurrentUser, kBase, "short", "x"));
  ASSERT_TRUE(os.SetRegValue(RegRoot::CurrentUser, kBase, "long", kRegBinary, Bytes(300, 0xAB)));
  ASSERT_TRUE(os.SetRegValue(RegRoot::CurrentUser, kBase, "empty", kRegSz, {}));
  EXPECT_TRUE(registry.KeyOrValueExists(os, kBasePath, "", false));
  EXPECT_TRUE(registry.KeyOrValueExists(os, kBasePath, "missing", false));
  EXPECT_FALSE(registry.KeyOrValueExists(os, kBasePath + "\\Missing", "", false));
  EXPECT_TRUE(registry.KeyOrValueExists(os, kBasePath, "short", true));
  EXPECT_TRUE(registry.KeyOrValueExists(os, kBasePath, "long", true));
  EXPECT_TRUE(registry.KeyOrValueExists(os, kBasePath, "empty", true));
  EXPECT_FALSE(registry.KeyOrValueExists(os, kBasePath, "missing", true));
  EXPECT_FALSE(registry.KeyOrValueExists(os, kBasePath + "\\Missing", "short", true));
}

TEST_F(RegistryObjectTest, FlushAndDeleteValueNeedAnExistingKeyAndValue) {
  ASSERT_TRUE(os.SetRegText(RegRoot::CurrentUser, kBase, "v", "x"));
  EXPECT_TRUE(registry.FlushKey(os, kBasePath));
  EXPECT_FALSE(registry.FlushKey(os, kBasePath + "\\Missing"));
  EXPECT_TRUE(registry.DeleteValue(os, kBasePath, "v"));
  EXPECT_FALSE(os.RegValueData(RegRoot::CurrentUser, kBase, "v").has_value());
  EXPECT_FALSE(registry.DeleteValue(os, kBasePath, "v"));
  EXPECT_FALSE(registry.DeleteValue(os, kBasePath + "\\Missing", "v"));
}

// ---- deleting and renaming keys ------------------------------------------------------------

TEST_F(RegistryObjectTest, DeleteKeyTreeRemovesEveryKeyBelowThenTheKey) {
  for (const Text sub : {"\\Tree\\a\\a1\\a2", "\\Tree\\a\\a3", "\\Tree\\b"})
    ASSERT_TRUE(os.CreateRegKey(RegRoot::CurrentUser, kBase + sub));
  ASSERT_TRUE(os.SetRegText(RegRoot::CurrentUser, kBase + "\\Tree\\a\\a1", "v", "x"));
  ASSERT_TRUE(os.CreateRegKey(RegRoot::CurrentUser, kBase + "\\Treehouse"));
  EXPECT_TRUE(registry.DeleteKeyTree(os, kBasePath + "\\Tree"));
  EXPECT_FALSE(os.RegKeyExists(RegRoot::CurrentUser, kBase + "\\Tree"));
  EXPECT_TRUE(os.RegKeyExists(RegRoot::CurrentUser, kBase + "\\Treehouse"));
  EXPECT_TRUE(os.RegKeyExists(RegRoot::CurrentUser, kBase));
  EXPECT_FALSE(registry.DeleteKeyTree(os, kBasePath + "\\Tree"));
}

TEST_F(RegistryObjectTest, DeleteKeyTreeRefusesAPathEndingInABackslash) {
  ASSERT_TRUE(os.CreateRegKey(RegRoot::CurrentUser, kBase + "\\Tree\\a"));
  EXPECT_FALSE(registry.DeleteKeyTree(os, kBasePath + "\\Tree\\"));
  EXPECT_TRUE(os.RegKeyExists(RegRoot::CurrentUser, kBase + "\\Tree\\a"));
  EXPECT_FALSE(registry.DeleteKeyTree(os, "HKEY_CURRENT_USER"));
  EXPECT_TRUE(os.RegKeyExists(RegRoot::CurrentUser, kBase + "\\Tree\\a"));
}

TEST_F(RegistryObjectTest, DeleteKeyTreeRightBelowARoot) {
  ASSERT_TRUE(os.CreateRegKey(RegRoot::CurrentUser, "TopLevel\\Child"));
  EXPECT_TRUE(registry.DeleteKeyTree(os, "HKEY_CURRENT_USER\\TopLevel"));
  EXPECT_FALSE(os.RegKeyExists(RegRoot::CurrentUser, "TopLevel"));
}

TEST_F(RegistryObjectTest, RenameKeyKeepsValuesAndSubKeysUnderTheNewName) {
  ASSERT_TRUE(os.SetRegText(RegRoot::CurrentUser, kBase + "\\Old\\Child", "v", "x"));
  ASSERT_TRUE(os.SetRegText(RegRoot::CurrentUser, kBase + "\\Old", "w", "y"));
  EXPECT_TRUE(registry.RenameKey(os, kBasePath + "\\Old", "新名"));
  EXPECT_FALSE(os.RegKeyExists(RegRoot::CurrentUser, kBase + "\\Old"));
  EXPECT_EQ(os.RegValueData(RegRoot::CurrentUser, kBase + "\\新名", "w"), B(Text("y\0", 2)));
  EXPECT_EQ(os.RegValueData(RegRoot::CurrentUser, kBase + "\\新名\\Child", "v"), B(Text("x\0", 2)));
  EXPECT_FALSE(registry.RenameKey(os, kBasePath + "\\Old", "Again"));
}

TEST_F(RegistryObjectTest, RenameKeyFailsWithoutNtRenameKey) {
  ASSERT_TRUE(os.CreateRegKey(RegRoot::CurrentUser, kBase + "\\Old"));
  os.SetNtRenameKeyAvailable(false);
  EXPECT_FALSE(registry.RenameKey(os, kBasePath + "\\Old", "New"));
  EXPECT_TRUE(os.RegKeyExists(RegRoot::CurrentUser, kBase + "\\Old"));
  EXPECT_FALSE(os.RegKeyExists(RegRoot::CurrentUser, kBase + "\\New"));
}

// ---- through the console ---------------------------------------------------------------------

TEST_F(RegistryObjectTest, QueryValueByCommandReadsWhatRegPrints) {
  os.OnStartProcess([](const WideText&, const WideText&) {
    SimCommand command;
    command.output = "\r\nHKEY_CURRENT_USER\\Software\\RegistryObjectTest\r\n    Path    REG_SZ    D:\\360\r\n\r\n";
    return command;
  });
  EXPECT_EQ(registry.QueryValueByCommand(os, kBasePath, 1, "Path"), "D:\\360");
  EXPECT_EQ(registry.QueryValueByCommand(os, kBasePath, 4, "Path"), "");
}

}  // namespace
}  // namespace bm
