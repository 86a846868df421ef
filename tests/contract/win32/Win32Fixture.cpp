// The contract cases run against the real Win32 layer. Files and keys are laid
// out and inspected with the wide Win32 calls directly, never through the
// layer under test.
#ifndef _WIN32_WINNT
#define _WIN32_WINNT 0x0601
#endif
#define WIN32_LEAN_AND_MEAN
#define NOMINMAX
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "contract/ContractFixture.h"
#include "platform/win32/Win32Platform.h"
#include "wine/WineTrash.h"

namespace bm {
namespace {

HWND ToHwnd(WindowHandle handle) { return reinterpret_cast<HWND>(handle); }

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

// A case's windows leave a quit in this thread's queue when they go (the main
// window posts it); the next case's modal wait would end on it at once.
struct QueueDrain {
  ~QueueDrain() {
    MSG message;
    while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    }
  }
};

// A global block holding `size` bytes of `data`, for the clipboard.
HGLOBAL GlobalCopy(const void* data, size_t size) {
  HGLOBAL block = ::GlobalAlloc(GMEM_MOVEABLE, size);
  if (!block) return nullptr;
  if (void* target = ::GlobalLock(block)) {
    ::CopyMemory(target, data, size);
    ::GlobalUnlock(block);
    return block;
  }
  ::GlobalFree(block);
  return nullptr;
}

class Win32Fixture : public ContractFixture {
 public:
  ~Win32Fixture() override {
    if (userTimer_) ::KillTimer(nullptr, userTimer_);
    if (acting_ == this) acting_ = nullptr;
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

  // A thread timer fires inside the modal wait's message loop: the user acts
  // there, as a person would while the window waits.
  void WhileModalWindowOpen(int windowId, std::function<void()> user) override {
    userWindow_ = windowId;
    user_ = std::move(user);
    acting_ = this;
    if (!userTimer_) userTimer_ = ::SetTimer(nullptr, 0, 20, &Win32Fixture::UserTimer);
  }

  void Click(int controlId) override {
    if (HWND button = ToHwnd(os_.ControlWindow(controlId))) ::SendMessageW(button, BM_CLICK, 0, 0);
  }

  void DoubleClick(int controlId) override {
    HWND control = ToHwnd(os_.ControlWindow(controlId));
    if (!control) return;
    const LPARAM point = MAKELPARAM(4, 4);
    ::SendMessageW(control, WM_LBUTTONDOWN, MK_LBUTTON, point);
    ::SendMessageW(control, WM_LBUTTONUP, 0, point);
    ::SendMessageW(control, WM_LBUTTONDBLCLK, MK_LBUTTON, point);
    ::SendMessageW(control, WM_LBUTTONUP, 0, point);
  }

  bool WindowEnabled(int windowId) override {
    HWND window = ToHwnd(os_.WindowHandleOf(windowId));
    return window && ::IsWindowEnabled(window);
  }

  // Asks the box's parent for its colours as the box does before it paints.
  std::optional<EditPaint> EditPaintOf(int controlId) override {
    HWND edit = ToHwnd(os_.ControlWindow(controlId));
    if (!edit) return std::nullopt;
    HDC dc = ::GetDC(edit);
    if (!dc) return std::nullopt;
    const int saved = ::SaveDC(dc);
    const auto brush = reinterpret_cast<HBRUSH>(
        ::SendMessageW(::GetParent(edit), WM_CTLCOLOREDIT, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(edit)));
    EditPaint paint;
    paint.text = ::GetTextColor(dc);
    paint.behindText = ::GetBkColor(dc);
    LOGBRUSH described = {};
    const bool known = brush && ::GetObjectW(brush, sizeof described, &described) == sizeof described;
    paint.background = described.lbColor;
    ::RestoreDC(dc, saved);
    ::ReleaseDC(edit, dc);
    if (!known) return std::nullopt;
    return paint;
  }

  std::optional<WideText> ClipboardUnicode() override {
    if (!::OpenClipboard(nullptr)) return std::nullopt;
    std::optional<WideText> text;
    if (HANDLE data = ::GetClipboardData(CF_UNICODETEXT)) {
      if (const auto* units = static_cast<const wchar_t*>(::GlobalLock(data))) {
        text = WideText(reinterpret_cast<const char16_t*>(units));
        ::GlobalUnlock(data);
      }
    }
    ::CloseClipboard();
    return text;
  }

  bool PutUnicodeOnClipboard(const WideText& text) override {
    if (!::OpenClipboard(nullptr)) return false;
    bool put = ::EmptyClipboard() != 0;
    HGLOBAL block = put ? GlobalCopy(text.c_str(), (text.size() + 1) * sizeof(char16_t)) : nullptr;
    put = block && ::SetClipboardData(CF_UNICODETEXT, block);
    if (block && !put) ::GlobalFree(block);
    ::CloseClipboard();
    return put;
  }

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

  static void CALLBACK UserTimer(HWND, UINT, UINT_PTR, DWORD) {
    Win32Fixture* self = acting_;
    if (!self || !self->user_) return;
    // The user may wait for a nested window in turn: what is needed here is taken first.
    const int windowId = self->userWindow_;
    HWND window = ToHwnd(self->os_.WindowHandleOf(windowId));
    if (!window) return;  // not shown yet
    ::KillTimer(nullptr, self->userTimer_);
    self->userTimer_ = 0;
    const std::function<void()> user = std::move(self->user_);
    self->user_ = nullptr;
    user();
    if (self->os_.WindowHandleOf(windowId)) ::PostMessageW(window, WM_SYSCOMMAND, SC_CLOSE, 0);
  }

  static inline Win32Fixture* acting_ = nullptr;  // the fixture whose user waits for a modal window
  QueueDrain drain_;  // before os_, so that it drains after os_'s windows are gone
  Win32Platform os_;
  int userWindow_ = 0;
  std::function<void()> user_;
  UINT_PTR userTimer_ = 0;
  std::wstring folder_;
  std::wstring key_;
  std::vector<HANDLE> held_;
};

}  // namespace

std::unique_ptr<ContractFixture> MakeContractFixture() { return std::make_unique<Win32Fixture>(); }

}  // namespace bm
