// The registry: advapi32's ANSI calls as they are, and ntdll's NtRenameKey.
#include <windows.h>
#include <winternl.h>

#include <cstring>
#include <vector>

#include "platform/win32/Win32Internal.h"
#include "platform/win32/Win32Platform.h"

namespace bm {

using win32::FromHandle;
using win32::ToHkey;

namespace {

// Stores a newly opened key into the caller's handle only when the call worked.
// The call is made before this runs: the key is read after it has been filled.
long Opened(LONG result, HKEY key, RegKey& opened) {
  opened = result == ERROR_SUCCESS ? FromHandle(key) : 0;
  return result;
}

// The bytes of a name buffer up to its terminating zero.
Text NameIn(const std::vector<char>& buffer) { return Text(buffer.data(), ::strnlen(buffer.data(), buffer.size())); }

// Registry name buffers are never handed to Windows with room for nothing.
std::vector<char> NameBuffer(uint32_t size) { return std::vector<char>(size ? size : 1, '\0'); }

}  // namespace

RegKey Win32Platform::RegRootKey(RegRoot root) {
  switch (root) {
    case RegRoot::ClassesRoot: return FromHandle(HKEY_CLASSES_ROOT);
    case RegRoot::CurrentUser: return FromHandle(HKEY_CURRENT_USER);
    case RegRoot::LocalMachine: return FromHandle(HKEY_LOCAL_MACHINE);
    case RegRoot::Users: return FromHandle(HKEY_USERS);
    case RegRoot::CurrentConfig: return FromHandle(HKEY_CURRENT_CONFIG);
  }
  return 0;
}

long Win32Platform::RegOpenKeyA(RegKey parent, const Text& subKey, RegKey& opened) {
  HKEY key = nullptr;
  const LONG result = ::RegOpenKeyA(ToHkey(parent), subKey.c_str(), &key);
  return Opened(result, key, opened);
}

long Win32Platform::RegCreateKeyA(RegKey parent, const Text& subKey, RegKey& opened) {
  HKEY key = nullptr;
  const LONG result = ::RegCreateKeyA(ToHkey(parent), subKey.c_str(), &key);
  return Opened(result, key, opened);
}

long Win32Platform::RegOpenKeyExA(RegKey parent, const Text& subKey, uint32_t access, RegKey& opened) {
  HKEY key = nullptr;
  const LONG result = ::RegOpenKeyExA(ToHkey(parent), subKey.c_str(), 0, access, &key);
  return Opened(result, key, opened);
}

long Win32Platform::RegCreateKeyExA(RegKey parent, const Text& subKey, uint32_t access, RegKey& opened) {
  HKEY key = nullptr;
  const LONG result = ::RegCreateKeyExA(ToHkey(parent), subKey.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                                        access, nullptr, &key, nullptr);
  return Opened(result, key, opened);
}

long Win32Platform::RegCloseKey(RegKey key) { return ::RegCloseKey(ToHkey(key)); }

long Win32Platform::RegEnumKeyA(RegKey key, uint32_t index, uint32_t bufferSize, Text& name) {
  std::vector<char> buffer = NameBuffer(bufferSize);
  const LONG result = ::RegEnumKeyA(ToHkey(key), index, buffer.data(), bufferSize);
  name = result == ERROR_SUCCESS ? NameIn(buffer) : Text();
  return result;
}

long Win32Platform::RegQueryInfoKeyA(RegKey key, uint32_t& subKeys, uint32_t& maxSubKeyLength, uint32_t& values,
                                     uint32_t& maxValueNameLength, uint32_t& maxValueLength) {
  DWORD keys = 0, keyLength = 0, count = 0, nameLength = 0, dataLength = 0;
  const LONG result = ::RegQueryInfoKeyA(ToHkey(key), nullptr, nullptr, nullptr, &keys, &keyLength, nullptr, &count,
                                         &nameLength, &dataLength, nullptr, nullptr);
  subKeys = keys;
  maxSubKeyLength = keyLength;
  values = count;
  maxValueNameLength = nameLength;
  maxValueLength = dataLength;
  return result;
}

long Win32Platform::RegEnumValueA(RegKey key, uint32_t index, uint32_t nameBufferSize, Text& name, uint32_t& type,
                                  uint8_t* data, uint32_t& dataSize) {
  std::vector<char> buffer = NameBuffer(nameBufferSize);
  DWORD nameSize = nameBufferSize;
  DWORD valueType = 0;
  DWORD size = dataSize;
  const LONG result =
      ::RegEnumValueA(ToHkey(key), index, buffer.data(), &nameSize, nullptr, &valueType, data, &size);
  name = result == ERROR_SUCCESS ? NameIn(buffer) : Text();
  type = valueType;
  dataSize = size;
  return result;
}

long Win32Platform::RegQueryValueExA(RegKey key, const Text& valueName, uint32_t& type, uint8_t* data,
                                     uint32_t& dataSize) {
  DWORD valueType = 0;
  DWORD size = dataSize;
  const LONG result = ::RegQueryValueExA(ToHkey(key), valueName.c_str(), nullptr, &valueType, data, &size);
  type = valueType;
  dataSize = size;
  return result;
}

long Win32Platform::RegSetValueExA(RegKey key, const Text& valueName, uint32_t type, const uint8_t* data,
                                   uint32_t size) {
  return ::RegSetValueExA(ToHkey(key), valueName.c_str(), 0, type, data, size);
}

long Win32Platform::RegDeleteKeyA(RegKey parent, const Text& subKey) {
  return ::RegDeleteKeyA(ToHkey(parent), subKey.c_str());
}

long Win32Platform::RegDeleteValueA(RegKey key, const Text& valueName) {
  return ::RegDeleteValueA(ToHkey(key), valueName.c_str());
}

long Win32Platform::RegFlushKey(RegKey key) { return ::RegFlushKey(ToHkey(key)); }

long Win32Platform::NtRenameKey(RegKey key, const WideText& newName) {
  // Neither export is in the SDK's import libraries for every Windows version,
  // so both are found in ntdll when they are needed.
  using RenameKey = LONG(NTAPI*)(HANDLE, PUNICODE_STRING);
  using InitString = VOID(NTAPI*)(PUNICODE_STRING, PCWSTR);
  constexpr LONG kProcedureNotFound = static_cast<LONG>(0xC000007A);
  const auto rename = win32::BoundExport<RenameKey>("ntdll.dll", "NtRenameKey");
  const auto init = win32::BoundExport<InitString>("ntdll.dll", "RtlInitUnicodeString");
  if (!rename || !init) return kProcedureNotFound;
  UNICODE_STRING name = {};
  init(&name, win32::Wide(newName));
  return rename(reinterpret_cast<HANDLE>(key), &name);
}

}  // namespace bm
