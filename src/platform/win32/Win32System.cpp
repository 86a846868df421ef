// Texts, the user and the machine, files and folders, the folder chooser.
#include <windows.h>
#include <shlobj.h>
#include <shlwapi.h>
#include <winternl.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "platform/win32/Win32Internal.h"
#include "platform/win32/Win32Platform.h"

namespace bm {

using win32::FromWide;
using win32::Wide;

// ---- texts ----------------------------------------------------------------

int Win32Platform::GetACP() { return static_cast<int>(::GetACP()); }

WideText Win32Platform::MultiByteToWideChar(int codePage, const Text& text) {
  if (text.empty()) return WideText();
  const int size = static_cast<int>(text.size());
  const int needed = ::MultiByteToWideChar(static_cast<UINT>(codePage), 0, text.data(), size, nullptr, 0);
  if (needed <= 0) return WideText();
  std::wstring wide(static_cast<size_t>(needed), L'\0');
  ::MultiByteToWideChar(static_cast<UINT>(codePage), 0, text.data(), size, &wide[0], needed);
  return WideText(reinterpret_cast<const char16_t*>(wide.data()), wide.size());
}

Text Win32Platform::WideCharToMultiByte(int codePage, const WideText& text) {
  if (text.empty()) return Text();
  const wchar_t* units = Wide(text);
  const int size = static_cast<int>(text.size());
  const int needed =
      ::WideCharToMultiByte(static_cast<UINT>(codePage), 0, units, size, nullptr, 0, nullptr, nullptr);
  if (needed <= 0) return Text();
  Text bytes(static_cast<size_t>(needed), '\0');
  ::WideCharToMultiByte(static_cast<UINT>(codePage), 0, units, size, &bytes[0], needed, nullptr, nullptr);
  return bytes;
}

// ---- the user and the machine ------------------------------------------------

bool Win32Platform::GetUserNameA(Text& name) {
  std::vector<char> buffer(256, '\0');
  DWORD size = static_cast<DWORD>(buffer.size());
  if (!::GetUserNameA(buffer.data(), &size)) {
    // A longer name: Windows says how much room it wants, terminator included.
    if (::GetLastError() != ERROR_INSUFFICIENT_BUFFER || size <= buffer.size()) return false;
    buffer.assign(size, '\0');
    if (!::GetUserNameA(buffer.data(), &size)) return false;
  }
  name.assign(buffer.data(), ::strnlen(buffer.data(), buffer.size()));
  return true;
}

WideText Win32Platform::GetProfileFolderW() {
  wchar_t path[MAX_PATH] = {};
  if (FAILED(::SHGetFolderPathW(nullptr, CSIDL_PROFILE, nullptr, SHGFP_TYPE_CURRENT, path))) return WideText();
  return FromWide(path);
}

LocalDate Win32Platform::GetLocalDate() {
  SYSTEMTIME now = {};
  ::GetLocalTime(&now);
  return {now.wYear, now.wMonth, now.wDay};
}

bool Win32Platform::QueryOsVersion(uint32_t& major, uint32_t& minor, uint32_t& build) {
  // The version in the process environment block is the real one; the
  // documented version calls answer what the manifest claims to support.
  using QueryProcess = LONG(NTAPI*)(HANDLE, ULONG, PVOID, ULONG, PULONG);
  const auto query = win32::BoundExport<QueryProcess>("ntdll.dll", "NtQueryInformationProcess");
  if (!query) return false;
  PROCESS_BASIC_INFORMATION basic = {};
  ULONG returned = 0;
  const LONG status = query(::GetCurrentProcess(), 0 /* ProcessBasicInformation */, &basic,
                            sizeof basic, &returned);
  if (status != 0 || !basic.PebBaseAddress) return false;
  // OSMajorVersion, OSMinorVersion and OSBuildNumber lie further in when the
  // block's pointers are 8 bytes wide: a process reads its own kind of PEB.
#ifdef _WIN64
  constexpr size_t kMajorAt = 0x118, kMinorAt = 0x11C, kBuildAt = 0x120;
#else
  constexpr size_t kMajorAt = 0xA4, kMinorAt = 0xA8, kBuildAt = 0xAC;
#endif
  const auto* peb = reinterpret_cast<const uint8_t*>(basic.PebBaseAddress);
  uint32_t pebMajor = 0, pebMinor = 0;
  uint16_t pebBuild = 0;
  std::memcpy(&pebMajor, peb + kMajorAt, sizeof pebMajor);
  std::memcpy(&pebMinor, peb + kMinorAt, sizeof pebMinor);
  std::memcpy(&pebBuild, peb + kBuildAt, sizeof pebBuild);
  major = pebMajor;
  minor = pebMinor;
  build = pebBuild;
  return true;
}

uint32_t Win32Platform::GetCurrentProcessId() { return ::GetCurrentProcessId(); }
uint32_t Win32Platform::GetTickCount() { return ::GetTickCount(); }
void Win32Platform::Sleep(uint32_t milliseconds) { ::Sleep(milliseconds); }

// ---- files and folders -------------------------------------------------------

namespace {

void Fill(const WIN32_FIND_DATAA& data, FindData& found) {
  found.attributes = data.dwFileAttributes;
  found.name.assign(data.cFileName, ::strnlen(data.cFileName, sizeof data.cFileName));
}

}  // namespace

SearchHandle Win32Platform::FindFirstFileA(const Text& pattern, FindData& found) {
  WIN32_FIND_DATAA data = {};
  HANDLE search = ::FindFirstFileA(pattern.c_str(), &data);
  if (search == INVALID_HANDLE_VALUE) return 0;
  Fill(data, found);
  return win32::FromHandle(search);
}

bool Win32Platform::FindNextFileA(SearchHandle search, FindData& found) {
  if (!search) return false;
  WIN32_FIND_DATAA data = {};
  if (!::FindNextFileA(reinterpret_cast<HANDLE>(search), &data)) return false;
  Fill(data, found);
  return true;
}

void Win32Platform::FindClose(SearchHandle search) {
  if (search) ::FindClose(reinterpret_cast<HANDLE>(search));
}

bool Win32Platform::CopyFileA(const Text& from, const Text& to, bool failIfExists) {
  return ::CopyFileA(from.c_str(), to.c_str(), failIfExists ? TRUE : FALSE) != 0;
}

bool Win32Platform::CreateDirectoryA(const Text& path) { return ::CreateDirectoryA(path.c_str(), nullptr) != 0; }

bool Win32Platform::CreateDirectoryW(const WideText& path) { return ::CreateDirectoryW(Wide(path), nullptr) != 0; }

uint32_t Win32Platform::PathIsDirectoryW(const WideText& path) {
  return static_cast<uint32_t>(::PathIsDirectoryW(Wide(path)));
}

bool Win32Platform::PathIsDirectoryEmptyA(const Text& path) { return ::PathIsDirectoryEmptyA(path.c_str()) != 0; }

uint32_t Win32Platform::GetFileAttributesA(const Text& path) { return ::GetFileAttributesA(path.c_str()); }

bool Win32Platform::SetFileAttributesA(const Text& path, uint32_t attributes) {
  return ::SetFileAttributesA(path.c_str(), attributes) != FALSE;
}

namespace {

// Selects the start folder as soon as the dialog is up.
int CALLBACK SelectStartFolder(HWND dialog, UINT message, LPARAM, LPARAM startFolder) {
  if (message == BFFM_INITIALIZED) ::SendMessageW(dialog, BFFM_SETSELECTIONW, TRUE, startFolder);
  return 0;
}

constexpr size_t kPathUnits = 260;  // the 520-byte buffers of the chooser

}  // namespace

FolderChoice Win32Platform::BrowseForFolderW(WindowHandle owner, const WideText& title, uint32_t flags,
                                             const WideText& startFolder) {
  const HRESULT com = ::CoInitialize(nullptr);
  // An empty start folder is passed as a zeroed path buffer.
  std::vector<wchar_t> start(std::max(kPathUnits, startFolder.size() + 1), L'\0');
  std::copy(startFolder.begin(), startFolder.end(), start.begin());
  wchar_t displayName[kPathUnits] = {};

  BROWSEINFOW browse = {};
  browse.hwndOwner = win32::ToHwnd(owner);
  browse.pidlRoot = nullptr;
  browse.pszDisplayName = displayName;
  browse.lpszTitle = Wide(title);
  browse.ulFlags = flags;
  browse.lpfn = SelectStartFolder;
  browse.lParam = reinterpret_cast<LPARAM>(start.data());

  FolderChoice choice;
  if (PIDLIST_ABSOLUTE item = ::SHBrowseForFolderW(&browse)) {
    wchar_t path[kPathUnits] = {};
    ::SHGetPathFromIDListW(item, path);
    ::CoTaskMemFree(item);
    choice.chosen = true;
    choice.path = FromWide(path);
  }
  if (SUCCEEDED(com)) ::CoUninitialize();
  return choice;
}

}  // namespace bm
