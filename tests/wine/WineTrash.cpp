#include "wine/WineTrash.h"

#include <windows.h>

namespace bm::wine {

std::string UnixPath(const std::wstring& dosPath) {
  using ToUnix = char*(CDECL*)(LPCWSTR);
  const auto toUnix = reinterpret_cast<ToUnix>(
      reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleA("kernel32.dll"), "wine_get_unix_file_name")));
  if (!toUnix) return std::string();
  char* unix = toUnix(dosPath.c_str());
  if (!unix) return std::string();
  std::string path(unix);
  ::HeapFree(::GetProcessHeap(), 0, unix);
  return path;
}

// The trash folder as a DOS path; empty when not under Wine.
std::wstring TrashFolder() {
  if (!::GetProcAddress(::GetModuleHandleA("ntdll.dll"), "wine_get_version")) return std::wstring();
  wchar_t home[MAX_PATH] = {};
  const DWORD length = ::GetEnvironmentVariableW(L"WINEHOMEDIR", home, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return std::wstring();
  std::wstring folder(home, length);
  if (folder.compare(0, 4, L"\\??\\") == 0) folder.erase(0, 4);
  return folder + L"\\.local\\share\\Trash";
}

std::string PercentDecoded(const std::string& text) {
  std::string decoded;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '%' && i + 2 < text.size()) {
      decoded.push_back(static_cast<char>(std::stoi(text.substr(i + 1, 2), nullptr, 16)));
      i += 2;
    } else {
      decoded.push_back(text[i]);
    }
  }
  return decoded;
}


std::vector<TrashEntry> TrashEntries(const std::wstring& trash) {
  std::vector<TrashEntry> entries;
  WIN32_FIND_DATAW data;
  HANDLE search = ::FindFirstFileW((trash + L"\\info\\*.trashinfo").c_str(), &data);
  if (search == INVALID_HANDLE_VALUE) return entries;
  do {
    HANDLE file = ::CreateFileW((trash + L"\\info\\" + data.cFileName).c_str(), GENERIC_READ, FILE_SHARE_READ,
                                nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) continue;
    char buffer[8192];
    DWORD read = 0;
    std::string content;
    if (::ReadFile(file, buffer, sizeof buffer, &read, nullptr)) content.assign(buffer, read);
    ::CloseHandle(file);
    const size_t start = content.find("Path=");
    if (start == std::string::npos) continue;
    const size_t end = content.find('\n', start);
    entries.push_back({data.cFileName, PercentDecoded(content.substr(start + 5, end - start - 5))});
  } while (::FindNextFileW(search, &data));
  ::FindClose(search);
  return entries;
}

std::wstring TrashEntry::ItemPath(const std::wstring& trash) const {
  return trash + L"\\files\\" + infoName.substr(0, infoName.size() - std::wstring(L".trashinfo").size());
}

std::wstring TrashedItem(const std::wstring& originalPath) {
  const std::wstring trash = TrashFolder();
  const std::string unixPath = UnixPath(originalPath);
  if (trash.empty() || unixPath.empty()) return std::wstring();
  std::wstring found;
  FILETIME newest{};
  for (const TrashEntry& entry : TrashEntries(trash)) {
    if (entry.originalPath != unixPath) continue;
    WIN32_FILE_ATTRIBUTE_DATA data{};
    const std::wstring info = trash + L"\\info\\" + entry.infoName;
    if (!::GetFileAttributesExW(info.c_str(), GetFileExInfoStandard, &data)) continue;
    if (found.empty() || ::CompareFileTime(&data.ftLastWriteTime, &newest) > 0) {
      found = entry.ItemPath(trash);
      newest = data.ftLastWriteTime;
    }
  }
  return found;
}

void EmptyTrashBelow(const std::wstring& folder, void (*removeTree)(const std::wstring&)) {
  const std::wstring trash = TrashFolder();
  std::string prefix = UnixPath(folder);
  while (!prefix.empty() && prefix.back() == '/') prefix.pop_back();
  if (trash.empty() || prefix.empty()) return;
  prefix += "/";
  for (const TrashEntry& entry : TrashEntries(trash)) {
    if (entry.originalPath.compare(0, prefix.size(), prefix) != 0) continue;
    const std::wstring itemPath = entry.ItemPath(trash);
    ::SetFileAttributesW(itemPath.c_str(), FILE_ATTRIBUTE_NORMAL);
    if (!::DeleteFileW(itemPath.c_str())) removeTree(itemPath);
    ::DeleteFileW((trash + L"\\info\\" + entry.infoName).c_str());
  }
}

}  // namespace bm::wine
