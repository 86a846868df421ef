// The wide file calls: searches, copies, attributes, moves, deletes and the
// lock probe, for names of any script.
#include <windows.h>

#include "platform/win32/Win32Internal.h"
#include "platform/win32/Win32Platform.h"

namespace bm {

using win32::FromWide;
using win32::Wide;

namespace {

void Fill(const WIN32_FIND_DATAW& data, FindDataW& found) {
  found.attributes = data.dwFileAttributes;
  found.name = FromWide(data.cFileName);
}

}  // namespace

SearchHandle Win32Platform::FindFirstFileW(const WideText& pattern, FindDataW& found) {
  WIN32_FIND_DATAW data = {};
  HANDLE search = ::FindFirstFileW(Wide(pattern), &data);
  if (search == INVALID_HANDLE_VALUE) return 0;
  Fill(data, found);
  return win32::FromHandle(search);
}

bool Win32Platform::FindNextFileW(SearchHandle search, FindDataW& found) {
  if (!search) return false;
  WIN32_FIND_DATAW data = {};
  if (!::FindNextFileW(reinterpret_cast<HANDLE>(search), &data)) return false;
  Fill(data, found);
  return true;
}

bool Win32Platform::CopyFileW(const WideText& from, const WideText& to, bool failIfExists) {
  return ::CopyFileW(Wide(from), Wide(to), failIfExists ? TRUE : FALSE) != FALSE;
}

uint32_t Win32Platform::GetFileAttributesW(const WideText& path) { return ::GetFileAttributesW(Wide(path)); }

bool Win32Platform::SetFileAttributesW(const WideText& path, uint32_t attributes) {
  return ::SetFileAttributesW(Wide(path), attributes) != FALSE;
}

bool Win32Platform::MoveFileExW(const WideText& from, const WideText& to, uint32_t flags) {
  return ::MoveFileExW(Wide(from), Wide(to), flags) != FALSE;
}

bool Win32Platform::DeleteFileW(const WideText& path) { return ::DeleteFileW(Wide(path)) != FALSE; }

long Win32Platform::OpenForWriteAndCloseW(const WideText& path) {
  HANDLE file = ::CreateFileW(Wide(path), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return static_cast<long>(::GetLastError());
  ::CloseHandle(file);
  return kErrorSuccess;
}

}  // namespace bm
