#include "util/RegistryObject.h"

#include "app/Paths.h"
#include "util/CommandCapture.h"
#include "util/GbkText.h"

namespace bm {

const char kAppPathsKey[] = "HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\App Paths";

namespace {

// Windows' own buffer size for sub-key and value names.
constexpr uint32_t kNameBufferSize = 256;
// Far beyond any name Windows allows (255 UTF-16 units, at most 510 GBK bytes
// for a sub-key); growing past it means the answers make no sense.
constexpr uint32_t kLargestNameBuffer = 65536;

// Upper-cases the ASCII letters only, stepping over double-byte characters so
// that a trail byte in the letter range stays as it is.
Text UpperCaseGbk(const Text& text) {
  Text upper = text;
  for (size_t i = 0; i < upper.size(); i += GbkCharLength(upper, i)) {
    if (upper[i] >= 'a' && upper[i] <= 'z') upper[i] = static_cast<char>(upper[i] - 'a' + 'A');
  }
  return upper;
}

bool RootByName(const Text& name, RegRoot& root) {
  struct Named {
    const char* name;
    RegRoot root;
  };
  static const Named kRoots[] = {
      {"HKEY_CLASSES_ROOT", RegRoot::ClassesRoot},   {"HKEY_CURRENT_USER", RegRoot::CurrentUser},
      {"HKEY_LOCAL_MACHINE", RegRoot::LocalMachine}, {"HKEY_USERS", RegRoot::Users},
      {"HKEY_CURRENT_CONFIG", RegRoot::CurrentConfig},
  };
  const Text upper = UpperCaseGbk(name);
  for (const Named& candidate : kRoots) {
    if (upper == candidate.name) {
      root = candidate.root;
      return true;
    }
  }
  return false;
}

bool RootByNumber(int number, RegRoot& root) {
  switch (number) {
    case 1: root = RegRoot::ClassesRoot; return true;
    case 2: root = RegRoot::CurrentConfig; return true;
    case 3: root = RegRoot::CurrentUser; return true;
    case 4: root = RegRoot::LocalMachine; return true;
    case 5: root = RegRoot::Users; return true;
    default: return false;
  }
}

// Text up to the first zero byte.
Text UpToZero(const Text& text) {
  const size_t end = text.find('\0');
  return end == Text::npos ? text : text.substr(0, end);
}

Text TextOfBytes(const Bytes& data) { return UpToZero(Text(data.begin(), data.end())); }

Bytes BytesWithZero(const Text& text) {
  Bytes data(text.begin(), text.end());
  data.push_back(0);
  return data;
}

Text TypeDescription(long type) {
  switch (type) {
    case kRegNone: return "REG_NONE - 字节集，值为：";
    case kRegSz: return "REG_SZ - 字符串值，值为：";
    case kRegExpandSz: return "REG_REG_EXPAND_SZ - 可扩充字符串值，值为：";
    case kRegBinary: return "REG_BINARY - 二进制，值为：";
    case kRegDword: return "REG_DWORD - DWORD，值为：";
    case kRegMultiSz: return "REG_MULTI_SZ - 多字符串值，值为：";
    default: return Text();
  }
}

// A name buffer big enough for the longest name the key reports, never below
// Windows' usual 256 bytes.
uint32_t NameBufferFor(uint32_t longestName) {
  return longestName + 1 > kNameBufferSize ? longestName + 1 : kNameBufferSize;
}

}  // namespace

RegKey RegistryObject::OpenKey(Platform& os, const Text& keyPath, bool create) const {
  const size_t backslash = FirstBackslash(keyPath);
  if (backslash == Text::npos) return 0;
  RegRoot root;
  if (!RootByName(keyPath.substr(0, backslash), root)) return 0;
  const Text subKey = keyPath.substr(backslash + 1);
  RegKey opened = 0;
  const long result = create ? os.RegCreateKeyA(os.RegRootKey(root), subKey, opened)
                             : os.RegOpenKeyA(os.RegRootKey(root), subKey, opened);
  return result == kErrorSuccess ? opened : 0;
}

int RegistryObject::EnumerateSubkeys(Platform& os, const Text& keyPath, TextList& names) const {
  names.clear();
  const RegKey key = OpenKey(os, keyPath);
  if (key == 0) return -1;
  // A GBK name may be longer than 255 bytes; size the buffer from the key's
  // own answer and grow it when a name still does not fit, so that no name
  // ends the walk or hides the names after it.
  uint32_t subKeys = 0, longestSubKey = 0, values = 0, longestValueName = 0, longestValue = 0;
  os.RegQueryInfoKeyA(key, subKeys, longestSubKey, values, longestValueName, longestValue);
  uint32_t bufferSize = NameBufferFor(longestSubKey);
  for (uint32_t index = 0;;) {
    Text name;
    const long result = os.RegEnumKeyA(key, index, bufferSize, name);
    if (result == kErrorMoreData && bufferSize < kLargestNameBuffer) {
      bufferSize *= 2;
      continue;
    }
    if (result != kErrorSuccess) break;
    names.push_back(UpToZero(name));
    os.PumpMessages();
    ++index;
  }
  os.RegCloseKey(key);
  return static_cast<int>(names.size());
}

int RegistryObject::EnumerateValues(Platform& os, const Text& keyPath, TextList& names, std::vector<Bytes>& data,
                                    std::vector<uint32_t>& types) const {
  names.clear();
  data.clear();
  types.clear();
  const RegKey key = OpenKey(os, keyPath);
  if (key == 0) return -1;
  uint32_t subKeys = 0, longestSubKey = 0, values = 0, longestValueName = 0, longestValue = 0;
  os.RegQueryInfoKeyA(key, subKeys, longestSubKey, values, longestValueName, longestValue);
  // Value names, like sub-key names, may need more than 256 GBK bytes.
  uint32_t nameBuffer = NameBufferFor(longestValueName);
  for (uint32_t index = 0; index < values; ++index) {
    Text name;
    uint32_t type = 0;
    uint32_t size = 0;
    while (os.RegEnumValueA(key, index, nameBuffer, name, type, nullptr, size) == kErrorMoreData &&
           nameBuffer < kLargestNameBuffer) {
      nameBuffer *= 2;
    }
    // One byte to spare, so that string data always ends in a zero even when
    // it was stored without one; the value itself is handed on as stored.
    Bytes buffer(size + 1, 0);
    uint32_t filled = static_cast<uint32_t>(buffer.size());
    name.clear();
    if (os.RegEnumValueA(key, index, nameBuffer, name, type, buffer.data(), filled) != kErrorSuccess) continue;
    if (filled < buffer.size()) buffer.resize(filled);
    names.push_back(name);
    data.push_back(buffer);
    types.push_back(type);
  }
  os.RegCloseKey(key);
  return static_cast<int>(names.size());
}

Text RegistryObject::DescribeValueType(Platform& os, const Text& keyPath, const Text& valueName) const {
  // Starts at REG_NONE; every name that is not the one asked for leaves -1,
  // which has no description.
  long type = kRegNone;
  const RegKey key = OpenKey(os, keyPath);
  if (key != 0) {
    for (uint32_t index = 0;; ++index) {
      Text name;
      uint32_t found = 0;
      uint32_t size = 0;
      if (os.RegEnumValueA(key, index, kNameBufferSize, name, found, nullptr, size) != kErrorSuccess) break;
      if (name == valueName) {
        type = static_cast<long>(found);
        break;
      }
      type = -1;
    }
    os.RegCloseKey(key);
  }
  const Text prefix = TypeDescription(type);
  return prefix.empty() ? Text() : prefix + std::to_string(type);
}

bool RegistryObject::KeyOrValueExists(Platform& os, const Text& keyPath, const Text& valueName,
                                      bool checkValue) const {
  const RegKey key = OpenKey(os, keyPath);
  if (key == 0) return false;
  bool exists = true;
  if (checkValue) {
    uint8_t buffer[kNameBufferSize] = {};
    uint32_t size = sizeof buffer;
    uint32_t type = 0;
    const long result = os.RegQueryValueExA(key, valueName, type, buffer, size);
    // A value too long for the buffer is there all the same.
    exists = result == kErrorSuccess || result == kErrorMoreData;
  }
  os.RegCloseKey(key);
  return exists;
}

bool RegistryObject::FlushKey(Platform& os, const Text& keyPath) const {
  const RegKey key = OpenKey(os, keyPath);
  if (key == 0) return false;
  const bool flushed = os.RegFlushKey(key) == kErrorSuccess;
  os.RegCloseKey(key);
  return flushed;
}

bool RegistryObject::WriteValue(Platform& os, const Text& keyPath, const Text& valueName, const Bytes& data,
                                uint32_t type) const {
  const RegKey key = OpenKey(os, keyPath, true);
  if (key == 0) return false;
  const bool written = os.RegSetValueExA(key, valueName, type, data.empty() ? nullptr : data.data(),
                                         static_cast<uint32_t>(data.size())) == kErrorSuccess;
  os.RegCloseKey(key);
  return written;
}

Bytes RegistryObject::ReadValue(Platform& os, const Text& keyPath, const Text& valueName, uint32_t& type) const {
  const RegKey key = OpenKey(os, keyPath);
  if (key == 0) return Bytes();
  uint32_t size = 0;
  os.RegQueryValueExA(key, valueName, type, nullptr, size);
  Bytes data(size, 0);
  uint32_t filled = size;
  const long result = os.RegQueryValueExA(key, valueName, type, data.empty() ? nullptr : data.data(), filled);
  os.RegCloseKey(key);
  return result == kErrorSuccess ? data : Bytes();
}

bool RegistryObject::WriteValueUnderRoot(Platform& os, int rootNumber, const Text& subKeyPath,
                                         const Text& valueName, const Bytes& data, uint32_t type) const {
  RegRoot root;
  if (!RootByNumber(rootNumber, root)) return false;
  const uint32_t access = kKeyRead | kKeyWrite;
  RegKey rootKey = 0;
  if (os.RegOpenKeyExA(os.RegRootKey(root), Text(), access, rootKey) != kErrorSuccess) return false;
  RegKey key = 0;
  bool written = false;
  if (os.RegCreateKeyExA(rootKey, subKeyPath, access, key) == kErrorSuccess) {
    written = os.RegSetValueExA(key, valueName, type, data.empty() ? nullptr : data.data(),
                                static_cast<uint32_t>(data.size())) == kErrorSuccess;
    os.RegCloseKey(key);
  }
  os.RegCloseKey(rootKey);
  return written;
}

bool RegistryObject::WriteInteger(Platform& os, const Text& keyPath, const Text& valueName, int32_t value) const {
  const uint32_t bits = static_cast<uint32_t>(value);
  const Bytes data = {static_cast<uint8_t>(bits), static_cast<uint8_t>(bits >> 8), static_cast<uint8_t>(bits >> 16),
                      static_cast<uint8_t>(bits >> 24)};
  return WriteValue(os, keyPath, valueName, data, kRegDword);
}

int32_t RegistryObject::ReadInteger(Platform& os, const Text& keyPath, const Text& valueName) const {
  uint32_t type = kRegDword;
  const Bytes data = ReadValue(os, keyPath, valueName, type);
  uint32_t bits = 0;
  for (size_t i = 0; i < 4 && i < data.size(); ++i) bits |= static_cast<uint32_t>(data[i]) << (8 * i);
  return static_cast<int32_t>(bits);
}

bool RegistryObject::WriteBytes(Platform& os, const Text& keyPath, const Text& valueName, const Bytes& data) const {
  return WriteValue(os, keyPath, valueName, data, kRegBinary);
}

Bytes RegistryObject::ReadBytes(Platform& os, const Text& keyPath, const Text& valueName) const {
  uint32_t type = kRegBinary;
  return ReadValue(os, keyPath, valueName, type);
}

bool RegistryObject::WriteText(Platform& os, const Text& keyPath, const Text& valueName, const Text& text) const {
  return WriteValue(os, keyPath, valueName, BytesWithZero(text), kRegSz);
}

Text RegistryObject::ReadText(Platform& os, const Text& keyPath, const Text& valueName) const {
  uint32_t type = kRegSz;
  return TextOfBytes(ReadValue(os, keyPath, valueName, type));
}

bool RegistryObject::WriteMultiText(Platform& os, const Text& keyPath, const Text& valueName,
                                    const Text& text) const {
  Bytes data;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
      data.push_back(0);
      ++i;
    } else {
      data.push_back(static_cast<uint8_t>(text[i]));
    }
  }
  data.push_back(0);
  data.push_back(0);
  return WriteValue(os, keyPath, valueName, data, kRegMultiSz);
}

Text RegistryObject::ReadMultiText(Platform& os, const Text& keyPath, const Text& valueName) const {
  uint32_t type = kRegMultiSz;
  const Bytes data = ReadValue(os, keyPath, valueName, type);
  Text text;
  for (uint8_t byte : data) {
    if (byte == 0) {
      text += "\r\n";
    } else {
      text.push_back(static_cast<char>(byte));
    }
  }
  return text;
}

bool RegistryObject::WriteExpandText(Platform& os, const Text& keyPath, const Text& valueName,
                                     const Text& text) const {
  return WriteValue(os, keyPath, valueName, BytesWithZero(text), kRegExpandSz);
}

Text RegistryObject::ReadExpandText(Platform& os, const Text& keyPath, const Text& valueName) const {
  uint32_t type = kRegExpandSz;
  return TextOfBytes(ReadValue(os, keyPath, valueName, type));
}

bool RegistryObject::DeleteKeyTree(Platform& os, const Text& keyPath) const {
  if (EndsWithBackslash(keyPath)) return false;
  const size_t last = LastBackslash(keyPath);
  if (last == Text::npos) return false;
  // The parent keeps its backslash, so that a key right below a root opens
  // the root itself.
  const Text parentPath = keyPath.substr(0, last + 1);
  const Text ownName = keyPath.substr(last + 1);
  const RegKey parent = OpenKey(os, parentPath);
  if (parent == 0) return false;
  TextList children;
  EnumerateSubkeys(os, keyPath, children);
  for (const Text& child : children) DeleteKeyTree(os, keyPath + "\\" + child);
  const bool deleted = os.RegDeleteKeyA(parent, ownName) == kErrorSuccess;
  os.RegCloseKey(parent);
  return deleted;
}

bool RegistryObject::DeleteValue(Platform& os, const Text& keyPath, const Text& valueName) const {
  const RegKey key = OpenKey(os, keyPath);
  if (key == 0) return false;
  const bool deleted = os.RegDeleteValueA(key, valueName) == kErrorSuccess;
  os.RegCloseKey(key);
  return deleted;
}

Text RegistryObject::QueryValueByCommand(Platform& os, const Text& keyPath, std::optional<int> type,
                                         const Text& valueName) const {
  return bm::QueryValueByCommand(os, keyPath, type, valueName);
}

bool RegistryObject::RenameKey(Platform& os, const Text& keyPath, const Text& newName) const {
  const RegKey key = OpenKey(os, keyPath);
  if (key == 0) return false;
  const bool renamed = os.NtRenameKey(key, ToWideText(os, newName)) == 0;
  os.RegCloseKey(key);
  return renamed;
}

}  // namespace bm
