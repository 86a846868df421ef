#include "e2e/Driver.h"

#include "wine/WineTrash.h"

#include <commctrl.h>
#include <shlobj.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <utility>

// The control ids of the form, which are the program's Win32 control ids.
#include "../../src/app/Controls.h"

namespace bm::e2e {

namespace {

constexpr UINT kCodePage = 936;
constexpr DWORD kStartTimeoutMs = 30000;  // the first start in a new prefix is slow
constexpr DWORD kSendTimeoutMs = 5000;

// Names of the controls for failure messages, as the form names them.
#define BM_CONTROL(name) {bm::name, #name}
const std::pair<int, const char*> kControlNames[] = {
    BM_CONTROL(超级按钮_一键备份书签), BM_CONTROL(标签_文字),          BM_CONTROL(超级按钮_一键恢复书签),
    BM_CONTROL(标签1),                 BM_CONTROL(组合框_盘符),        BM_CONTROL(单选框_备份),
    BM_CONTROL(单选框_恢复),           BM_CONTROL(分组框1),            BM_CONTROL(超级按钮_谷歌浏览器),
    BM_CONTROL(超级按钮_IE浏览器),     BM_CONTROL(超级按钮_搜狗浏览器), BM_CONTROL(超级按钮_极速浏览器),
    BM_CONTROL(超级按钮_猎豹浏览器),   BM_CONTROL(超级按钮_Edge浏览器), BM_CONTROL(超级按钮_360极速浏览器),
    BM_CONTROL(超级按钮_360安全浏览器), BM_CONTROL(超级按钮_360极速浏览器X), BM_CONTROL(超级按钮9),
    BM_CONTROL(超级按钮_火狐浏览器),   BM_CONTROL(超级按钮_遨游浏览器), BM_CONTROL(超级按钮_QQ浏览器),
    BM_CONTROL(超级按钮_双核浏览器大), BM_CONTROL(超级按钮_双核浏览器小), BM_CONTROL(编辑框_火狐变量目录),
    BM_CONTROL(按钮_载入火狐目录),
};
#undef BM_CONTROL

std::string ControlName(int id) {
  for (const auto& [controlId, name] : kControlNames) {
    if (controlId == id) return name;
  }
  return "control " + std::to_string(id);
}

// A text for a failure message: printable ASCII and GBK kept, other bytes as \xNN.
std::string Shown(const std::string& bytes, size_t limit = 200) {
  std::string out = "\"";
  for (size_t i = 0; i < bytes.size() && i < limit; ++i) {
    unsigned char c = static_cast<unsigned char>(bytes[i]);
    if (c >= 0x20 || c == '\r' || c == '\n') {
      if (c == '\r') {
        out += "\\r";
      } else if (c == '\n') {
        out += "\\n";
      } else {
        out += static_cast<char>(c);
      }
    } else {
      char hex[8];
      std::snprintf(hex, sizeof hex, "\\x%02X", c);
      out += hex;
    }
  }
  if (bytes.size() > limit) out += "...";
  return out + "\"";
}

bool EndsWithSeparator(const std::wstring& path) { return !path.empty() && path.back() == L'\\'; }

std::wstring Join(const std::wstring& folder, const std::wstring& name) {
  return EndsWithSeparator(folder) ? folder + name : folder + L"\\" + name;
}

bool IsDots(const wchar_t* name) { return wcscmp(name, L".") == 0 || wcscmp(name, L"..") == 0; }

void RemoveTreeW(const std::wstring& path) {
  DWORD attributes = GetFileAttributesW(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return;
  SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL | (attributes & FILE_ATTRIBUTE_DIRECTORY));
  if (attributes & FILE_ATTRIBUTE_REPARSE_POINT) {
    // A link: removed itself, never what it leads to.
    if (attributes & FILE_ATTRIBUTE_DIRECTORY) {
      RemoveDirectoryW(path.c_str());
    } else {
      DeleteFileW(path.c_str());
    }
    return;
  }
  if (!(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
    DeleteFileW(path.c_str());
    return;
  }
  WIN32_FIND_DATAW found;
  HANDLE search = FindFirstFileW(Join(path, L"*").c_str(), &found);
  if (search != INVALID_HANDLE_VALUE) {
    do {
      if (!IsDots(found.cFileName)) RemoveTreeW(Join(path, found.cFileName));
    } while (FindNextFileW(search, &found));
    FindClose(search);
  }
  RemoveDirectoryW(path.c_str());
}

void ListTreeW(const std::wstring& folder, const std::wstring& relative, std::vector<std::string>& out) {
  WIN32_FIND_DATAW found;
  HANDLE search = FindFirstFileW(Join(folder, L"*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return;
  do {
    if (IsDots(found.cFileName)) continue;
    std::wstring name = relative.empty() ? std::wstring(found.cFileName) : relative + L"\\" + found.cFileName;
    ULONGLONG size = (static_cast<ULONGLONG>(found.nFileSizeHigh) << 32) | found.nFileSizeLow;
    ULONGLONG written =
        (static_cast<ULONGLONG>(found.ftLastWriteTime.dwHighDateTime) << 32) | found.ftLastWriteTime.dwLowDateTime;
    bool isFolder = (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    bool isLink = (found.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
    out.push_back(Gbk(name) + (isFolder ? "\\" : "|" + std::to_string(size) + "|" + std::to_string(written)));
    if (isFolder && !isLink) ListTreeW(Join(folder, found.cFileName), name, out);
  } while (FindNextFileW(search, &found));
  FindClose(search);
}

// Wide messages throughout: Wine hands a Unicode control's text to another
// process's ANSI CB_GETLBTEXT unconverted.
bool SendTimeout(HWND window, UINT message, WPARAM wParam, LPARAM lParam, DWORD_PTR& result) {
  return SendMessageTimeoutW(window, message, wParam, lParam, SMTO_NORMAL | SMTO_ABORTIFHUNG, kSendTimeoutMs,
                             &result) != 0;
}

std::string ClassOf(HWND window) {
  char name[64] = {};
  GetClassNameA(window, name, sizeof name);
  return name;
}

struct ChildSearch {
  int id;
  HWND found;
};

BOOL CALLBACK MatchChildId(HWND child, LPARAM param) {
  auto* search = reinterpret_cast<ChildSearch*>(param);
  if (GetDlgCtrlID(child) != search->id) return TRUE;
  search->found = child;
  return FALSE;
}

HWND FindChildById(HWND parent, int id) {
  ChildSearch search{id, nullptr};
  EnumChildWindows(parent, MatchChildId, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

struct WindowSearch {
  DWORD processId;
  std::vector<HWND> windows;
};

BOOL CALLBACK CollectProcessWindow(HWND window, LPARAM param) {
  auto* search = reinterpret_cast<WindowSearch*>(param);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  if (owner == search->processId && IsWindowVisible(window)) search->windows.push_back(window);
  return TRUE;
}

// The visible top-level windows of a process, in Z order.
std::vector<HWND> ProcessWindows(DWORD processId) {
  WindowSearch search{processId, {}};
  EnumWindows(CollectProcessWindow, reinterpret_cast<LPARAM>(&search));
  return search.windows;
}

}  // namespace

// ---- texts, paths and the date ------------------------------------------------

std::wstring Wide(const std::string& gbk) {
  if (gbk.empty()) return {};
  int length = MultiByteToWideChar(kCodePage, 0, gbk.data(), static_cast<int>(gbk.size()), nullptr, 0);
  std::wstring wide(length, L'\0');
  MultiByteToWideChar(kCodePage, 0, gbk.data(), static_cast<int>(gbk.size()), wide.data(), length);
  return wide;
}

std::string Gbk(const std::wstring& wide) {
  if (wide.empty()) return {};
  int length =
      WideCharToMultiByte(kCodePage, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0, nullptr, nullptr);
  std::string gbk(length, '\0');
  WideCharToMultiByte(kCodePage, 0, wide.data(), static_cast<int>(wide.size()), gbk.data(), length, nullptr, nullptr);
  return gbk;
}

std::string ProfileFolder() {
  wchar_t path[MAX_PATH] = {};
  if (FAILED(SHGetFolderPathW(nullptr, CSIDL_PROFILE, nullptr, 0, path))) return {};
  return Gbk(path);
}

std::string TodayText() {
  SYSTEMTIME now;
  GetLocalTime(&now);
  char text[64];
  std::snprintf(text, sizeof text, "%d年%d月%d日", now.wYear, now.wMonth, now.wDay);
  return text;
}

std::string BackupRootOn(const std::string& drive) { return drive + "浏览器书签备份" + TodayText(); }

std::string Expand(const std::string& path) {
  if (path.rfind("~\\", 0) == 0) return ProfileFolder() + path.substr(1);
  return path;
}

std::string Env(const char* name) {
  const char* value = std::getenv(name);
  return value ? value : "";
}

// ---- files ---------------------------------------------------------------------

bool PathExists(const std::string& path) { return GetFileAttributesW(Wide(path).c_str()) != INVALID_FILE_ATTRIBUTES; }

bool IsFolder(const std::string& path) {
  DWORD attributes = GetFileAttributesW(Wide(path).c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

namespace {

// Creates every missing folder of a wide path; returns the outermost one it made.
std::wstring MakeFoldersW(const std::wstring& wide, bool* allMade) {
  std::wstring outermost;
  *allMade = true;
  size_t start = wide.size() > 2 && wide[1] == L':' ? 3 : 0;
  for (size_t i = start; i <= wide.size(); ++i) {
    if (i < wide.size() && wide[i] != L'\\') continue;
    std::wstring prefix = wide.substr(0, i);
    if (prefix.empty() || EndsWithSeparator(prefix)) continue;
    if (GetFileAttributesW(prefix.c_str()) != INVALID_FILE_ATTRIBUTES) continue;
    if (CreateDirectoryW(prefix.c_str(), nullptr)) {
      if (outermost.empty()) outermost = prefix;
    } else {
      *allMade = false;
    }
  }
  return outermost;
}

}  // namespace

std::string MakeFolders(const std::string& path, bool* ok) {
  // Walked on the wide form: a GBK trail byte may be a backslash.
  bool allMade = true;
  const std::wstring outermost = MakeFoldersW(Wide(path), &allMade);
  if (ok) *ok = allMade && IsFolder(path);
  return Gbk(outermost);
}

bool WriteFileBytesW(const std::wstring& wide, const Bytes& content) {
  size_t slash = wide.find_last_of(L'\\');
  bool made = true;
  if (slash != std::wstring::npos) MakeFoldersW(wide.substr(0, slash), &made);
  SetFileAttributesW(wide.c_str(), FILE_ATTRIBUTE_NORMAL);
  HANDLE file = CreateFileW(wide.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  BOOL ok = WriteFile(file, content.data(), static_cast<DWORD>(content.size()), &written, nullptr);
  CloseHandle(file);
  return ok && written == content.size();
}

bool WriteFileBytes(const std::string& path, const Bytes& content) { return WriteFileBytesW(Wide(path), content); }

std::optional<Bytes> ReadFileBytesW(const std::wstring& path) {
  HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                            nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return std::nullopt;
  Bytes content;
  char buffer[4096];
  DWORD read = 0;
  while (ReadFile(file, buffer, sizeof buffer, &read, nullptr) && read > 0) content.append(buffer, read);
  CloseHandle(file);
  return content;
}

std::optional<Bytes> ReadFileBytes(const std::string& path) { return ReadFileBytesW(Wide(path)); }

std::string ClipboardText() {
  std::string text;
  for (int tries = 0; tries < 20 && !OpenClipboard(nullptr); ++tries) Sleep(50);
  if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
    if (const wchar_t* wide = static_cast<const wchar_t*>(GlobalLock(data))) {
      text = Gbk(wide);
      GlobalUnlock(data);
    }
  }
  CloseClipboard();
  return text;
}

std::optional<Bytes> RecycledFile(const std::string& originalPath) {
  const std::wstring item = wine::TrashedItem(Wide(originalPath));
  if (item.empty()) return std::nullopt;
  return ReadFileBytesW(item);
}

void RemoveTree(const std::string& path) { RemoveTreeW(Wide(path)); }

std::vector<std::string> ListTree(const std::string& folder) {
  std::vector<std::string> out;
  ListTreeW(Wide(folder), L"", out);
  std::sort(out.begin(), out.end());
  return out;
}

testing::AssertionResult FileHolds(const std::string& path, const Bytes& expected) {
  std::optional<Bytes> actual = ReadFileBytes(path);
  if (!actual) {
    return testing::AssertionFailure() << "file " << Shown(path) << " is missing (expected " << expected.size()
                                       << " bytes " << Shown(expected, 60) << ")";
  }
  if (*actual != expected) {
    return testing::AssertionFailure() << "file " << Shown(path) << " holds " << actual->size() << " bytes "
                                       << Shown(*actual, 60) << ", expected " << expected.size() << " bytes "
                                       << Shown(expected, 60);
  }
  return testing::AssertionSuccess();
}

HeldFile::HeldFile(const std::string& path, bool shareRead) {
  handle_ = CreateFileW(Wide(path).c_str(), GENERIC_READ | GENERIC_WRITE, shareRead ? FILE_SHARE_READ : 0, nullptr,
                        OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
}

HeldFile::~HeldFile() {
  if (handle_ != INVALID_HANDLE_VALUE) CloseHandle(handle_);
}

// ---- the per-user App Paths key --------------------------------------------------

namespace {
const wchar_t kAppPathsKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\";
}

bool SetAppPath(const std::string& exeName, const std::string& pathValue) {
  HKEY key = nullptr;
  std::wstring keyPath = kAppPathsKey + Wide(exeName);
  if (RegCreateKeyExW(HKEY_CURRENT_USER, keyPath.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr) !=
      ERROR_SUCCESS) {
    return false;
  }
  std::wstring value = Wide(pathValue);
  LONG result = RegSetValueExW(key, L"Path", 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                               static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
  RegCloseKey(key);
  return result == ERROR_SUCCESS;
}

void RemoveAppPath(const std::string& exeName) {
  RegDeleteKeyW(HKEY_CURRENT_USER, (kAppPathsKey + Wide(exeName)).c_str());
}

// ---- screenshots -----------------------------------------------------------------

bool SaveScreenBmp(const std::string& path) {
  int width = GetSystemMetrics(SM_CXSCREEN);
  int height = GetSystemMetrics(SM_CYSCREEN);
  if (width <= 0 || height <= 0) return false;
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = height;  // bottom-up, as a BMP file stores it
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 24;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  bool ok = false;
  if (bitmap && bits) {
    HGDIOBJ previous = SelectObject(memory, bitmap);
    ok = BitBlt(memory, 0, 0, width, height, screen, 0, 0, SRCCOPY) != 0;
    SelectObject(memory, previous);
    GdiFlush();
  }
  if (ok) {
    DWORD rowBytes = ((width * 3) + 3) & ~3u;
    DWORD imageBytes = rowBytes * height;
    BITMAPFILEHEADER header{};
    header.bfType = 0x4D42;  // "BM"
    header.bfOffBits = sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER);
    header.bfSize = header.bfOffBits + imageBytes;
    info.bmiHeader.biSizeImage = imageBytes;
    Bytes file(reinterpret_cast<const char*>(&header), sizeof header);
    file.append(reinterpret_cast<const char*>(&info.bmiHeader), sizeof info.bmiHeader);
    file.append(static_cast<const char*>(bits), imageBytes);
    ok = WriteFileBytes(path, file);
  }
  if (bitmap) DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  return ok;
}

// ---- the program -------------------------------------------------------------------

App::~App() { Close(); }

bool App::Running() const {
  return process_.hProcess && WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT;
}

HWND App::FindMainWindow() const {
  for (HWND window : ProcessWindows(process_.dwProcessId)) {
    if (GetWindow(window, GW_OWNER) == nullptr && FindChildById(window, bm::标签_文字)) return window;
  }
  return nullptr;
}

testing::AssertionResult App::Start() {
  Close();
  std::string exe = Env("BM_EXE");
  if (exe.empty()) return testing::AssertionFailure() << "BM_EXE does not name the program to start";
  std::wstring exeWide = Wide(exe);
  std::wstring commandLine = L"\"" + exeWide + L"\"";
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  if (!CreateProcessW(exeWide.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                      &process_)) {
    return testing::AssertionFailure() << "could not start " << Shown(exe) << " (error " << GetLastError() << ")";
  }
  WaitForInputIdle(process_.hProcess, kStartTimeoutMs);
  for (DWORD waited = 0; waited < kStartTimeoutMs; waited += kPollMs) {
    main_ = FindMainWindow();
    if (main_) return Settle();
    if (!Running()) return testing::AssertionFailure() << "the program ended before its main window appeared";
    Sleep(kPollMs);
  }
  return testing::AssertionFailure() << "no visible main window (with " << ControlName(bm::标签_文字)
                                     << ") appeared within " << kStartTimeoutMs / 1000 << " s";
}

void App::Close() {
  if (process_.hProcess) {
    if (main_ && IsWindow(main_)) PostMessageW(main_, WM_CLOSE, 0, 0);
    if (WaitForSingleObject(process_.hProcess, kTimeoutMs) != WAIT_OBJECT_0) {
      TerminateProcess(process_.hProcess, 1);
      WaitForSingleObject(process_.hProcess, kTimeoutMs);
    }
    CloseHandle(process_.hProcess);
    CloseHandle(process_.hThread);
  }
  process_ = PROCESS_INFORMATION{};
  main_ = nullptr;
}

HWND App::Control(int id) const {
  if (!main_) return nullptr;
  if (HWND control = FindChildById(main_, id)) return control;
  // The program's other windows, such as FirefoxFolderWindow.
  for (HWND window : ProcessWindows(process_.dwProcessId)) {
    if (window == main_) continue;
    if (HWND control = FindChildById(window, id)) return control;
  }
  return nullptr;
}

testing::AssertionResult App::SetText(int id, const std::string& text) {
  HWND control = Control(id);
  if (!control) return testing::AssertionFailure() << "no " << ControlName(id);
  const std::wstring wide = Wide(text);
  DWORD_PTR result = 0;
  if (!SendTimeout(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(wide.c_str()), result) || !result) {
    return testing::AssertionFailure() << ControlName(id) << " did not take the text";
  }
  return testing::AssertionSuccess();
}

testing::AssertionResult App::DoubleClick(int id) {
  HWND control = Control(id);
  if (!control) return testing::AssertionFailure() << "no " << ControlName(id);
  PostMessageW(control, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(4, 4));
  PostMessageW(control, WM_LBUTTONUP, 0, MAKELPARAM(4, 4));
  PostMessageW(control, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(4, 4));
  PostMessageW(control, WM_LBUTTONUP, 0, MAKELPARAM(4, 4));
  return testing::AssertionSuccess();
}

std::string App::Text(int id) const {
  HWND control = Control(id);
  if (!control) return "<no " + ControlName(id) + ">";
  DWORD_PTR length = 0;
  if (!SendTimeout(control, WM_GETTEXTLENGTH, 0, 0, length)) return "<no answer from " + ControlName(id) + ">";
  std::wstring text(length + 1, L'\0');
  DWORD_PTR copied = 0;
  SendTimeout(control, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()), copied);
  text.resize(std::min<size_t>(copied, length));
  return Gbk(text);
}

bool App::IsChecked(int id) const {
  HWND control = Control(id);
  DWORD_PTR state = 0;
  return control && SendTimeout(control, BM_GETCHECK, 0, 0, state) && state == BST_CHECKED;
}

testing::AssertionResult App::Click(int id) {
  HWND control = Control(id);
  if (!control) return testing::AssertionFailure() << "no " << ControlName(id) << " in the main window";
  if (!IsWindowEnabled(control)) return testing::AssertionFailure() << ControlName(id) << " is disabled";
  PostMessageW(control, BM_CLICK, 0, 0);
  return testing::AssertionSuccess();
}

testing::AssertionResult App::Check(int id) {
  testing::AssertionResult clicked = Click(id);
  if (!clicked) return clicked;
  for (DWORD waited = 0; waited < kTimeoutMs; waited += kPollMs) {
    if (IsChecked(id)) return testing::AssertionSuccess();
    Sleep(kPollMs);
  }
  return testing::AssertionFailure() << ControlName(id) << " did not become checked";
}

testing::AssertionResult App::PickItem(int comboId, int index) {
  HWND combo = Control(comboId);
  if (!combo) return testing::AssertionFailure() << "no " << ControlName(comboId);
  DWORD_PTR result = 0;
  if (!SendTimeout(combo, CB_SETCURSEL, index, 0, result) || static_cast<LONG_PTR>(result) != index) {
    return testing::AssertionFailure() << ControlName(comboId) << " has no item " << index;
  }
  PostMessageW(GetParent(combo), WM_COMMAND, MAKEWPARAM(comboId, CBN_SELCHANGE), reinterpret_cast<LPARAM>(combo));
  return Settle();
}

testing::AssertionResult App::PickDrive(const std::string& drive) {
  HWND combo = Control(bm::组合框_盘符);
  if (!combo) return testing::AssertionFailure() << "no " << ControlName(bm::组合框_盘符);
  DWORD_PTR count = 0;
  SendTimeout(combo, CB_GETCOUNT, 0, 0, count);
  std::string items;
  for (DWORD_PTR i = 0; i < count; ++i) {
    DWORD_PTR length = 0;
    SendTimeout(combo, CB_GETLBTEXTLEN, i, 0, length);
    std::wstring wide(length + 1, L'\0');
    DWORD_PTR copied = 0;
    SendTimeout(combo, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(wide.data()), copied);
    wide.resize(std::min<size_t>(copied, length));
    std::string item = Gbk(wide);
    if (item == drive) return PickItem(bm::组合框_盘符, static_cast<int>(i));
    items += Shown(item) + " ";
  }
  return testing::AssertionFailure() << ControlName(bm::组合框_盘符) << " has no item " << Shown(drive)
                                     << "; its items: " << items;
}

testing::AssertionResult App::WaitForText(int id, const std::string& expected, DWORD timeoutMs) {
  std::string seen;
  for (DWORD waited = 0;; waited += kPollMs) {
    seen = Text(id);
    if (seen == expected) return testing::AssertionSuccess();
    if (waited >= timeoutMs || !Running()) break;
    Sleep(kPollMs);
  }
  return testing::AssertionFailure() << ControlName(id) << ": expected " << Shown(expected) << ", but it shows "
                                     << Shown(seen) << (Running() ? "" : " (the program has ended)") << " after "
                                     << timeoutMs / 1000 << " s";
}

testing::AssertionResult App::Settle() {
  // A sent message would overtake the posted clicks, so the marker is posted
  // too: the group box's pushed state, which nothing in the program reads and
  // which shows once every message posted before it has been handled.
  HWND marker = Control(bm::分组框1);
  DWORD_PTR state = 0;
  if (!marker || !PostMessageW(marker, BM_SETSTATE, TRUE, 0)) {
    return testing::AssertionFailure() << "cannot post to " << ControlName(bm::分组框1);
  }
  for (DWORD waited = 0; waited < kTimeoutMs; waited += kPollMs) {
    if (SendTimeout(marker, BM_GETSTATE, 0, 0, state) && (state & BST_PUSHED)) {
      SendTimeout(marker, BM_SETSTATE, FALSE, 0, state);
      return testing::AssertionSuccess();
    }
    if (!Running()) break;
    Sleep(kPollMs);
  }
  return testing::AssertionFailure() << "the program's window thread did not get through its posted messages";
}

bool App::IsEnabled(int id) const {
  HWND control = Control(id);
  return control && IsWindowEnabled(control);
}

testing::AssertionResult App::WaitForEnabled(int id, bool enabled, DWORD timeoutMs) const {
  for (DWORD waited = 0; waited <= timeoutMs; waited += kPollMs) {
    if (IsEnabled(id) == enabled) return testing::AssertionSuccess();
    Sleep(kPollMs);
  }
  return testing::AssertionFailure() << "control " << id << " is still " << (enabled ? "disabled" : "enabled")
                                     << " after " << timeoutMs << " ms";
}

HWND App::WaitForBox(const std::string& title, DWORD timeoutMs) const {
  return WaitForWindow(title, timeoutMs, "#32770");
}

HWND App::WaitForWindow(const std::string& title, DWORD timeoutMs, const std::string& className) const {
  for (DWORD waited = 0; waited <= timeoutMs; waited += kPollMs) {
    for (HWND window : ProcessWindows(process_.dwProcessId)) {
      if (window == main_ || !IsWindowVisible(window)) continue;
      if (!className.empty() && ClassOf(window) != className) continue;
      wchar_t text[256] = {};
      GetWindowTextW(window, text, 256);
      if (Gbk(text) == title) return window;
    }
    if (!Running()) break;
    Sleep(kPollMs);
  }
  return nullptr;
}

testing::AssertionResult App::WaitUntilGone(HWND window, DWORD timeoutMs) const {
  for (DWORD waited = 0; waited <= timeoutMs; waited += kPollMs) {
    if (!IsWindow(window) || !IsWindowVisible(window)) return testing::AssertionSuccess();
    Sleep(kPollMs);
  }
  return testing::AssertionFailure() << "the window is still there after " << timeoutMs << " ms";
}

HWND App::WaitForChooser(DWORD timeoutMs) const {
  for (DWORD waited = 0; waited <= timeoutMs; waited += kPollMs) {
    for (HWND window : ProcessWindows(process_.dwProcessId)) {
      if (window != main_ && ClassOf(window) == "#32770") return window;
    }
    if (!Running()) break;
    Sleep(kPollMs);
  }
  return nullptr;
}

std::string App::ChooserSelection(HWND chooser) const {
  HWND tree = FindWindowExW(chooser, nullptr, L"SysTreeView32", nullptr);
  DWORD_PTR item = 0;
  if (!tree || !SendTimeout(tree, TVM_GETNEXTITEM, TVGN_CARET, 0, item) || item == 0) return {};
  // TVM_GETITEMW fills memory of the tree's own process: the item record and
  // its text buffer are lent there and read back. The record is laid out as
  // this driver's build lays it out, so the driver is always built for the
  // same bitness as the program it drives.
  constexpr size_t kTextUnits = 260;
  const size_t size = sizeof(TVITEMW) + kTextUnits * sizeof(wchar_t);
  char* remote = static_cast<char*>(VirtualAllocEx(process_.hProcess, nullptr, size, MEM_COMMIT, PAGE_READWRITE));
  if (!remote) return {};
  TVITEMW query{};
  query.mask = TVIF_TEXT;
  query.hItem = reinterpret_cast<HTREEITEM>(item);
  query.pszText = reinterpret_cast<LPWSTR>(remote + sizeof(TVITEMW));
  query.cchTextMax = kTextUnits;
  std::wstring text(kTextUnits, L'\0');
  DWORD_PTR answered = 0;
  if (WriteProcessMemory(process_.hProcess, remote, &query, sizeof query, nullptr) &&
      SendTimeout(tree, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(remote), answered) && answered) {
    ReadProcessMemory(process_.hProcess, remote + sizeof(TVITEMW), text.data(), kTextUnits * sizeof(wchar_t),
                      nullptr);
  }
  VirtualFreeEx(process_.hProcess, remote, 0, MEM_RELEASE);
  text.resize(wcsnlen(text.c_str(), kTextUnits));
  return Gbk(text);
}

testing::AssertionResult App::AnswerChooser(bool ok, const std::string& expectSelected, DWORD timeoutMs) {
  HWND chooser = WaitForChooser(timeoutMs);
  if (!chooser) return testing::AssertionFailure() << "no folder chooser opened";
  if (ok && !expectSelected.empty()) {
    std::string selected;
    for (DWORD waited = 0;; waited += kPollMs) {
      selected = ChooserSelection(chooser);
      if (selected.find(expectSelected) != std::string::npos) break;
      if (waited >= timeoutMs) {
        return testing::AssertionFailure() << "the folder chooser selects " << Shown(selected) << ", not a folder named with "
                                           << Shown(expectSelected);
      }
      Sleep(kPollMs);
    }
  }
  int buttonId = ok ? IDOK : IDCANCEL;
  HWND button = GetDlgItem(chooser, buttonId);
  if (button) {
    PostMessageW(button, BM_CLICK, 0, 0);
  } else {
    PostMessageW(chooser, WM_COMMAND, MAKEWPARAM(buttonId, BN_CLICKED), 0);
  }
  for (DWORD waited = 0; waited < timeoutMs; waited += kPollMs) {
    if (!IsWindow(chooser) || !IsWindowVisible(chooser)) return testing::AssertionSuccess();
    Sleep(kPollMs);
  }
  return testing::AssertionFailure() << "the folder chooser did not close after " << (ok ? "OK" : "Cancel");
}

// ---- the base of every scenario ------------------------------------------------------

namespace {

// Scenarios own the mapped drives whole: whatever lies on them afterwards was
// made by the scenario or by the program during it.
void ClearDrive(const std::wstring& root) {
  if (GetFileAttributesW(root.c_str()) == INVALID_FILE_ATTRIBUTES) return;
  WIN32_FIND_DATAW found;
  HANDLE search = FindFirstFileW((root + L"*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return;
  do {
    if (!IsDots(found.cFileName)) RemoveTreeW(root + found.cFileName);
  } while (FindNextFileW(search, &found));
  FindClose(search);
}

std::string ScreenshotName() {
  const testing::TestInfo* test = testing::UnitTest::GetInstance()->current_test_info();
  std::string name = std::string(test->test_suite_name()) + "." + test->name();
  std::replace(name.begin(), name.end(), '/', '_');
  std::string folder = Env("BM_E2E_OUT");
  return (folder.empty() ? "" : folder + "\\") + name + ".bmp";
}

}  // namespace

void Scenario::SetUp() {
  // The scenarios empty D: and E: after each run: they run only where the
  // harness made those drives for them, never on a machine's real drives.
  ASSERT_EQ(Env("BM_SCRATCH_DRIVES"), "1")
      << "D: and E: are not marked as scratch drives (BM_SCRATCH_DRIVES=1); run the scenarios through scripts/test.sh";
  ASSERT_FALSE(ProfileFolder().empty()) << "the profile folder cannot be read";
}

void Scenario::TearDown() {
  if (HasFailure()) {
    std::string shot = ScreenshotName();
    if (SaveScreenBmp(shot)) std::printf("screenshot of the failed scenario: %s\n", shot.c_str());
  }
  app.Close();
  for (auto it = made_.rbegin(); it != made_.rend(); ++it) RemoveTree(*it);
  for (const std::string& exe : appPaths_) RemoveAppPath(exe);
  // TearDown runs after a failed SetUp too: the check is repeated here.
  if (Env("BM_SCRATCH_DRIVES") == "1") {
    ClearDrive(L"D:\\");
    ClearDrive(L"E:\\");
    // What the program sent to the bin from the scenario's places goes too.
    for (const wchar_t* root : {L"D:\\", L"E:\\"}) wine::EmptyTrashBelow(root, RemoveTreeW);
    wine::EmptyTrashBelow(Wide(ProfileFolder()), RemoveTreeW);
  }
}

void Scenario::Track(const std::string& path) { made_.push_back(path); }

void Scenario::Put(const std::string& path, const Bytes& content) {
  std::string full = Expand(path);
  std::wstring wide = Wide(full);
  size_t slash = wide.find_last_of(L'\\');
  if (slash != std::wstring::npos) {
    std::string made = MakeFolders(Gbk(wide.substr(0, slash)));
    if (!made.empty()) Track(made);
  }
  if (!PathExists(full)) Track(full);
  ASSERT_TRUE(WriteFileBytes(full, content)) << "could not write the fixture file " << Shown(full);
}

void Scenario::PutFolder(const std::string& path) {
  bool ok = false;
  std::string made = MakeFolders(Expand(path), &ok);
  if (!made.empty()) Track(made);
  ASSERT_TRUE(ok) << "could not make the fixture folder " << Shown(Expand(path));
}

void Scenario::PutAppPath(const std::string& exeName, const std::string& pathValue) {
  appPaths_.push_back(exeName);
  ASSERT_TRUE(SetAppPath(exeName, pathValue)) << "could not write the App Paths entry " << exeName;
}

}  // namespace bm::e2e
