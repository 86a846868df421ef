// The program's only way into the registry. A key path is one text: a root
// name ("HKEY_CURRENT_USER", in any letter case), one backslash, then the
// sub-key path as Windows takes it (it may be empty: the root itself).
//
// The object holds no data and keeps no key open between calls: every
// operation but OpenKey opens the key it needs, does its one job and closes
// the key before it returns. Failures come back only as results: 0 from
// OpenKey, -1 from the enumerations, empty data from the reads, false from the
// writes and deletes. Texts are GBK and every registry call is an ANSI one.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "platform/Platform.h"

namespace bm {

class RegistryObject {
 public:
  // Needs no set-up; copies are independent objects (there is nothing to share).
  RegistryObject() = default;
  RegistryObject(const RegistryObject&) = default;
  RegistryObject& operator=(const RegistryObject&) = default;
  // Nothing to release.
  ~RegistryObject() = default;

  // Opens the key, or creates it when `create` is set. 0 when the root name is
  // none of the five or Windows refuses; the caller closes any other handle.
  RegKey OpenKey(Platform& os, const Text& keyPath, bool create = false) const;
  // The names of the key's direct sub-keys in enumeration order, however long
  // they are; window messages are pumped after each name. -1 when the key
  // cannot be opened (the list is then empty).
  int EnumerateSubkeys(Platform& os, const Text& keyPath, TextList& names) const;
  // The key's values side by side: name, data as stored, type. -1 when the key
  // cannot be opened.
  int EnumerateValues(Platform& os, const Text& keyPath, TextList& names, std::vector<Bytes>& data,
                      std::vector<uint32_t>& types) const;
  // "<type prefix><type number>" for the named value. Empty for a name that is
  // not among the values or a type without a description; a key whose value
  // walk fails at once (no values, or not opened) gives the REG_NONE text.
  Text DescribeValueType(Platform& os, const Text& keyPath, const Text& valueName) const;
  // checkValue false: whether the key opens; true: whether the named value
  // exists (whatever the size of its data).
  bool KeyOrValueExists(Platform& os, const Text& keyPath, const Text& valueName, bool checkValue) const;
  bool FlushKey(Platform& os, const Text& keyPath) const;
  // Creates the key when missing.
  bool WriteValue(Platform& os, const Text& keyPath, const Text& valueName, const Bytes& data,
                  uint32_t type) const;
  // The value's data whole (a string keeps its terminating zero); `type`
  // receives the stored type. Empty on any failure.
  Bytes ReadValue(Platform& os, const Text& keyPath, const Text& valueName, uint32_t& type) const;
  // Root numbers: 1 HKEY_CLASSES_ROOT, 2 HKEY_CURRENT_CONFIG, 3 HKEY_CURRENT_USER,
  // 4 HKEY_LOCAL_MACHINE, 5 HKEY_USERS; any other gives false.
  bool WriteValueUnderRoot(Platform& os, int rootNumber, const Text& subKeyPath, const Text& valueName,
                           const Bytes& data, uint32_t type = kRegSz) const;
  bool WriteInteger(Platform& os, const Text& keyPath, const Text& valueName, int32_t value) const;
  // The first four bytes, little-endian; missing bytes count as zero.
  int32_t ReadInteger(Platform& os, const Text& keyPath, const Text& valueName) const;
  bool WriteBytes(Platform& os, const Text& keyPath, const Text& valueName, const Bytes& data) const;
  Bytes ReadBytes(Platform& os, const Text& keyPath, const Text& valueName) const;
  bool WriteText(Platform& os, const Text& keyPath, const Text& valueName, const Text& text) const;
  // Up to the first zero byte; the stored type is not checked.
  Text ReadText(Platform& os, const Text& keyPath, const Text& valueName) const;
  // One list item per CR LF separated line.
  bool WriteMultiText(Platform& os, const Text& keyPath, const Text& valueName, const Text& text) const;
  // Every zero byte of the data becomes CR LF: the list a, b reads "a\r\nb\r\n\r\n".
  Text ReadMultiText(Platform& os, const Text& keyPath, const Text& valueName) const;
  bool WriteExpandText(Platform& os, const Text& keyPath, const Text& valueName, const Text& text) const;
  // Nothing is expanded.
  Text ReadExpandText(Platform& os, const Text& keyPath, const Text& valueName) const;
  // The key and everything below it, deepest first. False for a path ending in
  // a backslash (nothing is touched) and when the key itself is not deleted.
  bool DeleteKeyTree(Platform& os, const Text& keyPath) const;
  bool DeleteValue(Platform& os, const Text& keyPath, const Text& valueName) const;
  // The value's data as the console command REG QUERY prints it.
  Text QueryValueByCommand(Platform& os, const Text& keyPath, std::optional<int> type,
                           const Text& valueName) const;
  // Gives the key a new name under the same parent.
  bool RenameKey(Platform& os, const Text& keyPath, const Text& newName) const;
};

// The per-user App Paths key, where the 360 browsers and Maxthon 7 register
// their program files.
extern const char kAppPathsKey[];

}  // namespace bm
