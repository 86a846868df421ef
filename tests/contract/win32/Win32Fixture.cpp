// The contract cases run against the real Win32 layer. Files and keys are laid
// out and inspected with the wide Win32 calls directly, never through the
// layer under test.
#ifndef _WIN32_WINNT
#define _WIN32_WINNT 0x0601
#endif
#define WIN32_LEAN_AND_MEAN
#define NOMINMAX
#include <windows.h>

#include <string>
#include <vector>

#include "contract/ContractFixture.h"
#include "platform/win32/Win32Platform.h"
#include "wine/WineTrash.h"

namespace bm {
namespace {

std::wstring ToW(const Text& text) {
  if (text.empty()) return std::wstring();
  const int units = ::MultiByteToWideChar(936, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  std::wstring wide(static_cast<size_t>(units), L'\0');
  ::MultiByteToWideChar(936, 0, text.data(), static_cast<int>(text.size()), &wide[0], units);
  return wide;
}

std::wstring ToW(const WideText& wide) { return std::wstring(wide.begin(), wide.end()); }

Text FromW(const std::wstring& wide) {
  if (wide.empty()) return Text();
  const int bytes =
      ::WideCharToMultiByte(936, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0, nullptr, nullptr);
  Text text(static_cast<size_t>(bytes), '\0');
  ::WideCharToMultiByte(936, 0, wide.data(), static_cast<int>(wide.size()), &text[0], bytes, nullptr, nullptr);
  return text;
}

// Removes a folder and everything in it, read-only files included.
void RemoveTree(const std::wstring& folder) {
  WIN32_FIND_DATAW data;
  HANDLE search = ::FindFirstFileW((folder + L"\\*").c_str(), &data);
  if (search != INVALID_HANDLE_VALUE) {
    do {
      const std::wstring name = data.cFileName;
      if (name == L"." || name == L"..") continue;
      const std::wstring path = folder + L"\\" + name;
      ::SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
      if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        RemoveTree(path);
      } else {
        ::DeleteFileW(path.c_str());
      }
    } while (::FindNextFileW(search, &data));
    ::FindClose(search);
  }
  ::SetFileAttributesW(folder.c_str(), FILE_ATTRIBUTE_NORMAL);
  ::RemoveDirectoryW(folder.c_str());
}

void RemoveKeyTree(HKEY parent, const std::wstring& path) {
  HKEY key = nullptr;
  if (::RegOpenKeyExW(parent, path.c_str(), 0, KEY_READ | KEY_WRITE, &key) != ERROR_SUCCESS) return;
  std::vector<std::wstring> names;
  wchar_t name[512];
  for (DWORD i = 0;; ++i) {
    DWORD size = 512;
    if (::RegEnumKeyExW(key, i, name, &size, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
    names.push_back(name);
  }
  ::RegCloseKey(key);
  for (const std::wstring& child : names) RemoveKeyTree(parent, path + L"\\" + child);
  ::RegDeleteKeyW(parent, path.c_str());
}

class Win32Fixture : public ContractFixture {
 public:
  ~Win32Fixture() override {
    ReleaseHeld();
    if (!folder_.empty()) {
      EmptyTrashOf(folder_);
      RemoveTree(folder_);
    }
    if (!key_.empty()) RemoveKeyTree(HKEY_CURRENT_USER, key_);
  }

  Platform& Os() override { return os_; }

  Text ScratchFolder() override {
    if (folder_.empty()) {
      wchar_t temp[MAX_PATH + 1] = {};
      const DWORD length = ::GetTempPathW(MAX_PATH, temp);
      if (length == 0) return Text();
      std::wstring base(temp, length);
      if (!base.empty() && base.back() == L'\\') base.pop_back();
      const std::wstring candidate =
          base + L"\\bm-contract-" + std::to_wstring(::GetCurrentProcessId());
      RemoveTree(candidate);  // left over by a run that was killed
      if (!::CreateDirectoryW(candidate.c_str(), nullptr)) return Text();
      folder_ = candidate;
    }
    return FromW(folder_);
  }

  Text MissingDriveFolder() override {
    const DWORD drives = ::GetLogicalDrives();
    for (char letter = 'Q'; letter <= 'Y'; ++letter) {
      if (!(drives & (1u << (letter - 'A')))) return Text(1, letter) + ":\\missing";
    }
    return "Q:\\missing";
  }

  bool WriteFile(const Text& path, const Text& content) override { return WriteAt(ToW(path), content); }

  std::optional<Text> ReadFile(const Text& path) override { return ReadAt(ToW(path)); }

  bool MakeFolder(const Text& path) override { return ::CreateDirectoryW(ToW(path).c_str(), nullptr) != 0; }

  bool SetAttributes(const Text& path, uint32_t attributes) override {
    return ::SetFileAttributesW(ToW(path).c_str(), attributes == 0 ? FILE_ATTRIBUTE_NORMAL : attributes) != 0;
  }

  bool HoldOpen(const Text& path) override { return Hold(path, GENERIC_READ | GENERIC_WRITE, 0); }

  void ReleaseHeld() override {
    for (HANDLE file : held_) ::CloseHandle(file);
    held_.clear();
  }

  Text ScratchRegKey() override {
    if (key_.empty()) {
      const std::wstring candidate = L"Software\\BookmarkBackupContract-" +
                                     std::to_wstring(::GetCurrentProcessId());
      RemoveKeyTree(HKEY_CURRENT_USER, candidate);
      HKEY key = nullptr;
      if (::RegCreateKeyExW(HKEY_CURRENT_USER, candidate.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                            KEY_READ | KEY_WRITE, nullptr, &key, nullptr) != ERROR_SUCCESS)
        return Text();
      ::RegCloseKey(key);
      key_ = candidate;
    }
    return FromW(key_);
  }

  std::optional<bool> InRecycleBin(const Text& originalPath) override { return InRecycleBinAt(ToW(originalPath)); }

  std::optional<WindowHandle> MessageBoxOwner(const Text& title, uint32_t waitMs) override {
    const std::wstring wanted = ToW(title);
    const DWORD start = ::GetTickCount();
    do {
      if (HWND box = ::FindWindowW(L"#32770", wanted.c_str())) {
        return reinterpret_cast<WindowHandle>(::GetWindow(box, GW_OWNER));
      }
      // A box owned by one of this thread's windows needs this thread to answer it.
      os_.PumpMessages();
      ::Sleep(20);
    } while (::GetTickCount() - start < waitMs);
    return std::nullopt;
  }

  bool WriteFileW(const WideText& path, const Text& content) override { return WriteAt(ToW(path), content); }

  std::optional<Text> ReadFileW(const WideText& path) override { return ReadAt(ToW(path)); }

  bool HoldOpenSharingRead(const Text& path) override { return Hold(path, GENERIC_READ, FILE_SHARE_READ); }

  std::optional<bool> InRecycleBinW(const WideText& originalPath) override { return InRecycleBinAt(ToW(originalPath)); }

 private:
  static bool WriteAt(const std::wstring& path, const Text& content) {
    HANDLE file = ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    const BOOL ok = content.empty() ||
                    ::WriteFile(file, content.data(), static_cast<DWORD>(content.size()), &written, nullptr);
    ::CloseHandle(file);
    return ok && written == content.size();
  }

  static std::optional<Text> ReadAt(const std::wstring& path) {
    HANDLE file = ::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return std::nullopt;
    Text content;
    char buffer[4096];
    DWORD read = 0;
    while (::ReadFile(file, buffer, sizeof buffer, &read, nullptr) && read > 0) content.append(buffer, read);
    ::CloseHandle(file);
    return content;
  }

  // Another handle on the file, as a running program keeps one, until ReleaseHeld.
  bool Hold(const Text& path, DWORD access, DWORD sharing) {
    HANDLE file = ::CreateFileW(ToW(path).c_str(), access, sharing, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    held_.push_back(file);
    return true;
  }

  static std::optional<bool> InRecycleBinAt(const std::wstring& originalPath) {
    if (wine::TrashFolder().empty() || wine::UnixPath(originalPath).empty()) return std::nullopt;
    return !wine::TrashedItem(originalPath).empty();
  }

  // What the cases sent to the bin from the scratch folder goes again.
  static void EmptyTrashOf(const std::wstring& folder) { wine::EmptyTrashBelow(folder, RemoveTree); }

  Win32Platform os_;
  std::wstring folder_;
  std::wstring key_;
  std::vector<HANDLE> held_;
};

}  // namespace

std::unique_ptr<ContractFixture> MakeContractFixture() { return std::make_unique<Win32Fixture>(); }

}  // namespace bm
