// The registry calls behave alike on the simulated Windows and on the real one:
// opening and creating, the enumerations with their buffer rules, value data,
// deletion and renaming, on a scratch key below HKEY_CURRENT_USER.
#include <cstring>

#include "contract/ContractTest.h"

namespace bm {
namespace {

class RegistryContract : public ContractTest {
 protected:
  void SetUp() override {
    path = Fx().ScratchRegKey();
    ASSERT_FALSE(path.empty());
    ASSERT_EQ(Os().RegOpenKeyExA(Hkcu(), path, kKeyRead | kKeyWrite, key), kErrorSuccess);
  }
  void TearDown() override {
    if (key) Os().RegCloseKey(key);
  }
  RegKey Hkcu() { return Os().RegRootKey(RegRoot::CurrentUser); }

  long SetText(RegKey where, const Text& name, const Text& text) {
    return Os().RegSetValueExA(where, name, kRegSz, reinterpret_cast<const uint8_t*>(text.c_str()),
                               static_cast<uint32_t>(text.size() + 1));
  }
  void CreateKeys(std::initializer_list<Text> names) {
    for (const Text& name : names) {
      RegKey sub = 0;
      ASSERT_EQ(Os().RegCreateKeyA(key, name, sub), kErrorSuccess) << name;
      Os().RegCloseKey(sub);
    }
  }
  std::vector<Text> SubkeyNames(RegKey where) {
    std::vector<Text> names;
    Text name;
    for (uint32_t i = 0; i < 1000 && Os().RegEnumKeyA(where, i, 256, name) == kErrorSuccess; ++i)
      names.push_back(name);
    return names;
  }

  Text path;
  RegKey key = 0;
};

TEST_F(RegistryContract, CreateAndOpenNestedKeys) {
  RegKey created = 0;
  ASSERT_EQ(Os().RegCreateKeyA(Hkcu(), path + "\\一\\二\\three", created), kErrorSuccess);
  ASSERT_NE(created, 0u);
  EXPECT_EQ(SetText(created, "Path", "C:\\浏览器"), kErrorSuccess);
  EXPECT_EQ(Os().RegCloseKey(created), kErrorSuccess);

  RegKey opened = 0;
  ASSERT_EQ(Os().RegOpenKeyA(Hkcu(), path + "\\一\\二\\THREE", opened), kErrorSuccess);
  uint32_t type = 0, size = 0;
  EXPECT_EQ(Os().RegQueryValueExA(opened, "path", type, nullptr, size), kErrorSuccess);
  EXPECT_EQ(type, kRegSz);
  EXPECT_EQ(Os().RegCloseKey(opened), kErrorSuccess);

  ASSERT_EQ(Os().RegOpenKeyExA(key, "一", kKeyRead, opened), kErrorSuccess);
  EXPECT_EQ(SubkeyNames(opened), std::vector<Text>{"二"});
  Os().RegCloseKey(opened);
  ASSERT_EQ(Os().RegCreateKeyExA(key, "一\\二", kKeyRead | kKeyWrite, opened), kErrorSuccess);
  EXPECT_EQ(SubkeyNames(opened), std::vector<Text>{"three"});
  Os().RegCloseKey(opened);

  EXPECT_EQ(Os().RegOpenKeyA(key, "missing", opened), kErrorFileNotFound);
  EXPECT_EQ(Os().RegOpenKeyExA(key, "一\\missing", kKeyRead, opened), kErrorFileNotFound);
}

TEST_F(RegistryContract, EmptySubKeyOpensTheKeyItself) {
  CreateKeys({"child"});
  RegKey same = 0;
  ASSERT_EQ(Os().RegOpenKeyA(key, "", same), kErrorSuccess);
  EXPECT_EQ(SubkeyNames(same), std::vector<Text>{"child"});
  RegKey root = 0;
  ASSERT_EQ(Os().RegOpenKeyA(Hkcu(), "", root), kErrorSuccess);
  RegKey below = 0;
  ASSERT_EQ(Os().RegOpenKeyA(root, path, below), kErrorSuccess);
  EXPECT_EQ(SubkeyNames(below), std::vector<Text>{"child"});
  Os().RegCloseKey(below);
}

TEST_F(RegistryContract, SubkeysEnumerateSortedIgnoringCase) {
  CreateKeys({"gamma", "Beta", "中文", "alpha", "Delta"});
  EXPECT_EQ(SubkeyNames(key), (std::vector<Text>{"alpha", "Beta", "Delta", "gamma", "中文"}));
}

TEST_F(RegistryContract, EnumKeyBufferRules) {
  CreateKeys({"abcd"});
  Text name;
  struct Case {
    uint32_t index, buffer;
    long result;
  } cases[] = {
      {0, 4, kErrorMoreData},  // the name fits, its zero does not
      {0, 5, kErrorSuccess},
      {0, 256, kErrorSuccess},
      {1, 256, kErrorNoMoreItems},
      {7, 256, kErrorNoMoreItems},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Os().RegEnumKeyA(key, c.index, c.buffer, name), c.result) << c.index << "/" << c.buffer;
  }
  ASSERT_EQ(Os().RegEnumKeyA(key, 0, 5, name), kErrorSuccess);
  EXPECT_EQ(name, "abcd");
}

TEST_F(RegistryContract, NameLongerThan255GbkBytes) {
  Text longName;
  for (int i = 0; i < 150; ++i) longName += "书";
  ASSERT_EQ(longName.size(), 300u);
  CreateKeys({longName});
  Text name;
  EXPECT_EQ(Os().RegEnumKeyA(key, 0, 256, name), kErrorMoreData);
  ASSERT_EQ(Os().RegEnumKeyA(key, 0, 301, name), kErrorSuccess);
  EXPECT_EQ(name, longName);
  EXPECT_EQ(Os().RegEnumKeyA(key, 1, 301, name), kErrorNoMoreItems);
}

TEST_F(RegistryContract, QueryValueSizesAndBuffers) {
  ASSERT_EQ(SetText(key, "Path", "abc"), kErrorSuccess);
  ASSERT_EQ(SetText(key, "中文", "书签"), kErrorSuccess);
  uint32_t type = 0, size = 0;
  ASSERT_EQ(Os().RegQueryValueExA(key, "Path", type, nullptr, size), kErrorSuccess);
  EXPECT_EQ(type, kRegSz);
  EXPECT_EQ(size, 4u) << "a string's size holds its zero";
  ASSERT_EQ(Os().RegQueryValueExA(key, "中文", type, nullptr, size), kErrorSuccess);
  EXPECT_EQ(size, 5u) << "sizes are GBK bytes";

  uint8_t small[3] = {};
  size = sizeof small;
  EXPECT_EQ(Os().RegQueryValueExA(key, "Path", type, small, size), kErrorMoreData);
  EXPECT_EQ(size, 4u);

  uint8_t exact[4] = {0xFF, 0xFF, 0xFF, 0xFF};
  size = sizeof exact;
  ASSERT_EQ(Os().RegQueryValueExA(key, "path", type, exact, size), kErrorSuccess);
  EXPECT_EQ(size, 4u);
  EXPECT_EQ(std::memcmp(exact, "abc", 4), 0);

  uint8_t chinese[8] = {};
  size = sizeof chinese;
  ASSERT_EQ(Os().RegQueryValueExA(key, "中文", type, chinese, size), kErrorSuccess);
  EXPECT_EQ(Text(reinterpret_cast<char*>(chinese), 4), "书签");

  EXPECT_EQ(Os().RegQueryValueExA(key, "missing", type, nullptr, size), kErrorFileNotFound);
}

TEST_F(RegistryContract, ValuesOfEveryTypeRoundTrip) {
  struct Case {
    const char* name;
    uint32_t type;
    Bytes data;
  } cases[] = {
      {"a-text", kRegSz, {'h', 'i', 0}},
      {"b-expand", kRegExpandSz, {'%', 'x', '%', 0}},
      {"c-binary", kRegBinary, {0x00, 0x5C, 0xFF}},
      {"d-dword", kRegDword, {0x78, 0x56, 0x34, 0x12}},
      {"e-multi", kRegMultiSz, {'a', 0, 'b', 0, 0}},
      {"f-empty", kRegBinary, {}},
  };
  for (const Case& c : cases) {
    ASSERT_EQ(Os().RegSetValueExA(key, c.name, c.type, c.data.data(), static_cast<uint32_t>(c.data.size())),
              kErrorSuccess)
        << c.name;
  }
  uint32_t subKeys = 0, maxSubKey = 0, values = 0, maxValueName = 0, maxValue = 0;
  ASSERT_EQ(Os().RegQueryInfoKeyA(key, subKeys, maxSubKey, values, maxValueName, maxValue), kErrorSuccess);
  EXPECT_EQ(subKeys, 0u);
  EXPECT_EQ(values, 6u);
  EXPECT_EQ(maxValueName, 8u);

  // Each value read back by enumeration: once for the size, once for the data.
  size_t seen = 0;
  for (uint32_t index = 0;; ++index) {
    Text name;
    uint32_t type = 0, size = 0;
    const long probe = Os().RegEnumValueA(key, index, 256, name, type, nullptr, size);
    if (probe == kErrorNoMoreItems) break;
    ASSERT_EQ(probe, kErrorSuccess);
    ASSERT_LT(index, 6u);
    Bytes data(size + 1, 0);
    uint32_t room = size + 1;
    ASSERT_EQ(Os().RegEnumValueA(key, index, 256, name, type, data.data(), room), kErrorSuccess);
    data.resize(room);
    for (const Case& c : cases) {
      if (name != c.name) continue;
      ++seen;
      EXPECT_EQ(type, c.type) << name;
      EXPECT_EQ(data, c.data) << name;
    }
  }
  EXPECT_EQ(seen, 6u);

  Text name;
  uint32_t type = 0, size = 0;
  EXPECT_EQ(Os().RegEnumValueA(key, 0, 3, name, type, nullptr, size), kErrorMoreData) << "the name does not fit";
}

TEST_F(RegistryContract, QueryInfoCountsSubkeys) {
  CreateKeys({"abc", "abcdef"});
  uint32_t subKeys = 0, maxSubKey = 0, values = 0, maxValueName = 0, maxValue = 0;
  ASSERT_EQ(Os().RegQueryInfoKeyA(key, subKeys, maxSubKey, values, maxValueName, maxValue), kErrorSuccess);
  EXPECT_EQ(subKeys, 2u);
  EXPECT_EQ(maxSubKey, 6u);
  EXPECT_EQ(values, 0u);
}

TEST_F(RegistryContract, DeleteKeyOnlyWhenItHasNoSubkeys) {
  CreateKeys({"parent\\child"});
  EXPECT_NE(Os().RegDeleteKeyA(key, "parent"), kErrorSuccess);
  EXPECT_EQ(SubkeyNames(key), std::vector<Text>{"parent"});
  EXPECT_EQ(Os().RegDeleteKeyA(key, "parent\\child"), kErrorSuccess);
  EXPECT_EQ(Os().RegDeleteKeyA(key, "PARENT"), kErrorSuccess);
  EXPECT_TRUE(SubkeyNames(key).empty());
  EXPECT_EQ(Os().RegDeleteKeyA(key, "parent"), kErrorFileNotFound);
}

TEST_F(RegistryContract, DeleteValueAndFlush) {
  ASSERT_EQ(SetText(key, "gone", "x"), kErrorSuccess);
  EXPECT_EQ(Os().RegDeleteValueA(key, "GONE"), kErrorSuccess);
  uint32_t type = 0, size = 0;
  EXPECT_EQ(Os().RegQueryValueExA(key, "gone", type, nullptr, size), kErrorFileNotFound);
  EXPECT_EQ(Os().RegDeleteValueA(key, "gone"), kErrorFileNotFound);
  EXPECT_EQ(Os().RegFlushKey(key), kErrorSuccess);
}

TEST_F(RegistryContract, RenameKeepsValuesAndSubkeys) {
  CreateKeys({"old\\inner"});
  RegKey old = 0;
  ASSERT_EQ(Os().RegOpenKeyExA(key, "old", kKeyRead | kKeyWrite, old), kErrorSuccess);
  ASSERT_EQ(SetText(old, "Path", "p"), kErrorSuccess);
  EXPECT_EQ(Os().NtRenameKey(old, u"新名"), 0);
  Os().RegCloseKey(old);
  EXPECT_EQ(SubkeyNames(key), std::vector<Text>{"新名"});
  RegKey renamed = 0;
  ASSERT_EQ(Os().RegOpenKeyA(key, "新名", renamed), kErrorSuccess);
  EXPECT_EQ(SubkeyNames(renamed), std::vector<Text>{"inner"});
  uint32_t type = 0, size = 0;
  EXPECT_EQ(Os().RegQueryValueExA(renamed, "Path", type, nullptr, size), kErrorSuccess);
  Os().RegCloseKey(renamed);
}

TEST_F(RegistryContract, RenameRefusesANameAlreadyTaken) {
  CreateKeys({"one", "two"});
  RegKey one = 0;
  ASSERT_EQ(Os().RegOpenKeyExA(key, "one", kKeyRead | kKeyWrite, one), kErrorSuccess);
  EXPECT_NE(Os().NtRenameKey(one, u"TWO"), 0);
  EXPECT_NE(Os().NtRenameKey(one, u"a\\b"), 0);
  Os().RegCloseKey(one);
  EXPECT_EQ(SubkeyNames(key), (std::vector<Text>{"one", "two"}));
}

TEST_F(RegistryContract, HandlesAllowOnlyWhatTheyWereOpenedFor) {
  CreateKeys({"child"});
  RegKey readOnly = 0, writeOnly = 0;
  ASSERT_EQ(Os().RegOpenKeyExA(Hkcu(), path, kKeyRead, readOnly), kErrorSuccess);
  ASSERT_EQ(Os().RegOpenKeyExA(Hkcu(), path, kKeyWrite, writeOnly), kErrorSuccess);
  EXPECT_EQ(SetText(readOnly, "v", "x"), kErrorAccessDenied);
  Text name;
  EXPECT_EQ(Os().RegEnumKeyA(writeOnly, 0, 256, name), kErrorAccessDenied);
  EXPECT_EQ(Os().RegEnumKeyA(readOnly, 0, 256, name), kErrorSuccess);
  EXPECT_EQ(SetText(writeOnly, "v", "x"), kErrorSuccess);
  Os().RegCloseKey(readOnly);
  Os().RegCloseKey(writeOnly);
}

TEST_F(RegistryContract, DeletingAKeyLeavesItsHandleStale) {
  RegKey doomed = 0;
  ASSERT_EQ(Os().RegCreateKeyA(key, "doomed", doomed), kErrorSuccess);
  EXPECT_EQ(Os().RegDeleteKeyA(doomed, ""), kErrorSuccess) << "an empty sub-key names the key itself";
  EXPECT_TRUE(SubkeyNames(key).empty());
  Text name;
  EXPECT_EQ(Os().RegEnumKeyA(doomed, 0, 256, name), 1018L);  // ERROR_KEY_DELETED
  EXPECT_EQ(Os().RegCloseKey(doomed), kErrorSuccess);
  EXPECT_NE(Os().RegCloseKey(doomed), kErrorSuccess) << "closed twice";
  EXPECT_EQ(Os().RegCloseKey(Hkcu()), kErrorSuccess) << "a root is never really closed";
}

}  // namespace
}  // namespace bm
