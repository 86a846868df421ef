// The registry access object behaves alike on the simulated Windows and on the
// real one: key paths as one text, value data as stored, whole key trees,
// renaming, and sub-key names longer than Windows' usual name buffer.
#include "util/RegistryObject.h"

#include <tuple>

#include "contract/ContractTest.h"

namespace bm {
namespace {

Bytes B(const Text& text) { return Bytes(text.begin(), text.end()); }

class RegistryObjectContract : public ContractTest {
 protected:
  void SetUp() override {
    const Text scratch = Fx().ScratchRegKey();
    ASSERT_FALSE(scratch.empty());
    base = "HKEY_CURRENT_USER\\" + scratch;
  }
  // Creates the key (and its missing parents) through the object.
  void MakeKey(const Text& path) {
    const RegKey key = registry.OpenKey(Os(), path, true);
    ASSERT_NE(key, 0u) << path;
    Os().RegCloseKey(key);
  }
  bool KeyExists(const Text& path) { return registry.KeyOrValueExists(Os(), path, "", false); }

  RegistryObject registry;
  Text base;
};

TEST_F(RegistryObjectContract, RootNamesAreAcceptedInAnyLetterCase) {
  MakeKey(base + "\\Child\\Grand");
  for (const Text rootName : {"hkey_current_user", "Hkey_Current_User", "HKEY_CURRENT_USER"}) {
    SCOPED_TRACE(rootName);
    const Text path = rootName + base.substr(base.find('\\')) + "\\Child";
    TextList names;
    EXPECT_EQ(registry.EnumerateSubkeys(Os(), path, names), 1);
    EXPECT_EQ(names, TextList{"Grand"});
  }
}

TEST_F(RegistryObjectContract, APathWithoutABackslashOpensNothing) {
  TextList names = {"left over"};
  EXPECT_EQ(registry.EnumerateSubkeys(Os(), "HKEY_CURRENT_USER", names), -1);
  EXPECT_TRUE(names.empty());
  EXPECT_EQ(registry.OpenKey(Os(), "HKEY_CURRENT_USER"), 0u);
  uint32_t type = 0;
  EXPECT_TRUE(registry.ReadValue(Os(), "HKEY_CURRENT_USER", "", type).empty());
}

TEST_F(RegistryObjectContract, ARootWithAnEmptySubKeyOpensTheRoot) {
  TextList names;
  EXPECT_GE(registry.EnumerateSubkeys(Os(), "HKEY_CURRENT_USER\\", names), 1);
  bool software = false;
  for (const Text& name : names) software = software || name == "Software";
  EXPECT_TRUE(software);
}

TEST_F(RegistryObjectContract, StringValuesKeepTheirTerminatingZero) {
  ASSERT_TRUE(registry.WriteText(Os(), base, "Path", "D:\\浏览器\\Application"));
  uint32_t type = kRegBinary;
  const Bytes data = registry.ReadValue(Os(), base, "Path", type);
  EXPECT_EQ(type, kRegSz);
  EXPECT_EQ(data, B(Text("D:\\浏览器\\Application") + Text(1, '\0')));
  EXPECT_EQ(registry.ReadText(Os(), base, "Path"), "D:\\浏览器\\Application");
}

TEST_F(RegistryObjectContract, ReadIntegerOnShortDataTakesTheMissingBytesAsZero) {
  ASSERT_TRUE(registry.WriteBytes(Os(), base, "two", {0x34, 0x12}));
  ASSERT_TRUE(registry.WriteBytes(Os(), base, "one", {0x7F}));
  ASSERT_TRUE(registry.WriteInteger(Os(), base, "four", -2));
  EXPECT_EQ(registry.ReadInteger(Os(), base, "two"), 0x1234);
  EXPECT_EQ(registry.ReadInteger(Os(), base, "one"), 0x7F);
  EXPECT_EQ(registry.ReadInteger(Os(), base, "four"), -2);
  EXPECT_EQ(registry.ReadInteger(Os(), base, "missing"), 0);
}

TEST_F(RegistryObjectContract, MultiTextRoundTrip) {
  ASSERT_TRUE(registry.WriteMultiText(Os(), base, "list", "a\r\nb"));
  EXPECT_EQ(registry.ReadBytes(Os(), base, "list"), B(Text("a\0b\0\0", 5)));
  EXPECT_EQ(registry.ReadMultiText(Os(), base, "list"), "a\r\nb\r\n\r\n");
}

TEST_F(RegistryObjectContract, DeleteKeyTreeRemovesTheWholeTreeDeepestFirst) {
  for (const Text sub : {"\\Tree\\a\\a1\\a2", "\\Tree\\a\\a3", "\\Tree\\b", "\\Treehouse"}) MakeKey(base + sub);
  ASSERT_TRUE(registry.WriteText(Os(), base + "\\Tree\\a\\a1", "v", "x"));

  EXPECT_FALSE(registry.DeleteKeyTree(Os(), base + "\\Tree\\"));
  EXPECT_TRUE(KeyExists(base + "\\Tree\\a\\a1\\a2"));

  EXPECT_TRUE(registry.DeleteKeyTree(Os(), base + "\\Tree"));
  EXPECT_FALSE(KeyExists(base + "\\Tree"));
  EXPECT_TRUE(KeyExists(base + "\\Treehouse"));
  EXPECT_FALSE(registry.DeleteKeyTree(Os(), base + "\\Tree"));
}

TEST_F(RegistryObjectContract, RenameKeyKeepsItsValuesAndSubKeys) {
  MakeKey(base + "\\Old\\Child");
  ASSERT_TRUE(registry.WriteText(Os(), base + "\\Old", "v", "x"));
  EXPECT_TRUE(registry.RenameKey(Os(), base + "\\Old", "新名"));
  EXPECT_FALSE(KeyExists(base + "\\Old"));
  EXPECT_EQ(registry.ReadText(Os(), base + "\\新名", "v"), "x");
  EXPECT_TRUE(KeyExists(base + "\\新名\\Child"));
}

TEST_F(RegistryObjectContract, SubKeyNamesLongerThan255BytesAreListedWithTheOthers) {
  // 200 double-byte characters: 400 GBK bytes, within Windows' 255-character limit.
  Text longName;
  for (int i = 0; i < 200; ++i) longName += "书";
  for (const Text& name : {Text("a"), longName, Text("z")}) MakeKey(base + "\\List\\" + name);
  TextList names;
  EXPECT_EQ(registry.EnumerateSubkeys(Os(), base + "\\List", names), 3);
  EXPECT_EQ(names, (TextList{"a", "z", longName}));
}

TEST_F(RegistryObjectContract, ValuesAreListedWithTheirDataAsStoredWhateverTheLengthOfTheirNames) {
  Text longName;
  for (int i = 0; i < 200; ++i) longName += "值";
  ASSERT_TRUE(registry.WriteText(Os(), base, "s", "x"));
  ASSERT_TRUE(registry.WriteInteger(Os(), base, "n", 5));
  ASSERT_TRUE(registry.WriteText(Os(), base, longName, "y"));
  TextList names;
  std::vector<Bytes> data;
  std::vector<uint32_t> types;
  ASSERT_EQ(registry.EnumerateValues(Os(), base, names, data, types), 3);
  ASSERT_EQ(data.size(), 3u);
  ASSERT_EQ(types.size(), 3u);
  // Windows lists values in the order they were made, Wine by name: the
  // order is not part of the contract, the pairing is.
  using Value = std::tuple<Text, Bytes, uint32_t>;
  std::vector<Value> listed;
  for (size_t i = 0; i < names.size(); ++i) listed.emplace_back(names[i], data[i], types[i]);
  std::sort(listed.begin(), listed.end());
  const std::vector<Value> expected = {
      {"n", {5, 0, 0, 0}, kRegDword}, {"s", B(Text("x\0", 2)), kRegSz}, {longName, B(Text("y\0", 2)), kRegSz}};
  EXPECT_EQ(listed, expected);
}

}  // namespace
}  // namespace bm
