// Shell file operations, message boxes, the top-level windows of the desktop,
// and console commands with captured output.
#include <windows.h>
#include <shellapi.h>
#include <shlobj.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "platform/win32/Win32Internal.h"
#include "platform/win32/Win32Platform.h"

namespace bm {

using win32::FromHandle;
using win32::FromWide;
using win32::ToHwnd;
using win32::Wide;

// ---- shell ----------------------------------------------------------------

int Win32Platform::SHFileOperationW(uint32_t operation, const WideText& from, const WideText& to, uint16_t flags,
                                    bool& anyAborted) {
  SHFILEOPSTRUCTW record = {};
  record.hwnd = nullptr;
  record.wFunc = operation;
  record.pFrom = Wide(from);
  record.pTo = to.empty() ? nullptr : Wide(to);
  record.fFlags = flags;
  record.fAnyOperationsAborted = FALSE;
  record.hNameMappings = nullptr;
  record.lpszProgressTitle = nullptr;
  const int result = ::SHFileOperationW(&record);
  if (record.hNameMappings) ::SHFreeNameMappings(record.hNameMappings);
  anyAborted = record.fAnyOperationsAborted != FALSE;
  return result;
}

// ---- message boxes and top-level windows ---------------------------------

namespace {

// Some user32s (Wine's among them) export MessageBoxTimeoutA but ignore its
// time-out. A timer on a message-only window of the calling thread ends the box
// a little after the time-out if it is still open then.
constexpr int kMessageBoxTimedOut = 32000;  // what MessageBoxTimeoutA returns on time-out
constexpr UINT kBackstopGraceMs = 200;
constexpr char kBackstopClass[] = "BookmarkBackupTimedBoxBackstop";

struct TimedBoxWatch {
  DWORD thread = 0;
  const Text* title = nullptr;
  HWND box = nullptr;
};

BOOL CALLBACK FindTimedBox(HWND window, LPARAM watchPointer) {
  auto* watch = reinterpret_cast<TimedBoxWatch*>(watchPointer);
  char className[16] = {};
  ::GetClassNameA(window, className, static_cast<int>(sizeof className));
  if (std::strcmp(className, "#32770") != 0 || !::IsWindowVisible(window)) return TRUE;
  const int length = ::GetWindowTextLengthA(window);
  std::vector<char> caption(static_cast<size_t>(std::max(length, 0)) + 1, '\0');
  ::GetWindowTextA(window, caption.data(), length + 1);
  if (Text(caption.data()) != *watch->title) return TRUE;
  watch->box = window;  // the frontmost one of ours
  return FALSE;
}

LRESULT CALLBACK BackstopProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_TIMER) {
    ::KillTimer(window, wParam);
    auto* watch = reinterpret_cast<TimedBoxWatch*>(::GetWindowLongPtrA(window, GWLP_USERDATA));
    if (watch) {
      ::EnumThreadWindows(watch->thread, FindTimedBox, reinterpret_cast<LPARAM>(watch));
      if (watch->box) ::EndDialog(watch->box, kMessageBoxTimedOut);
    }
    return 0;
  }
  return ::DefWindowProcA(window, message, wParam, lParam);
}

HWND StartBackstop(TimedBoxWatch& watch, uint32_t timeoutMs) {
  HINSTANCE instance = ::GetModuleHandleA(nullptr);
  WNDCLASSA windowClass = {};
  if (!::GetClassInfoA(instance, kBackstopClass, &windowClass)) {
    windowClass.lpfnWndProc = BackstopProc;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = kBackstopClass;
    // Two threads showing their first box at once both get here; the one
    // that registers second finds the class there already.
    if (!::RegisterClassA(&windowClass) && ::GetLastError() != ERROR_CLASS_ALREADY_EXISTS) return nullptr;
  }
  HWND backstop = ::CreateWindowExA(0, kBackstopClass, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, instance, nullptr);
  if (!backstop) return nullptr;
  ::SetWindowLongPtrA(backstop, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&watch));
  ::SetTimer(backstop, 1, timeoutMs + kBackstopGraceMs, nullptr);
  return backstop;
}

}  // namespace

int Win32Platform::MessageBoxTimeoutA(WindowHandle owner, const Text& text, const Text& title, uint32_t style,
                                      uint16_t languageId, uint32_t timeoutMs) {
  // Exported by user32 on every Windows since XP but declared in no SDK header.
  using TimedBox = int(WINAPI*)(HWND, LPCSTR, LPCSTR, UINT, WORD, DWORD);
  const auto box = win32::BoundExport<TimedBox>("user32.dll", "MessageBoxTimeoutA");
  if (!box) return 0;
  TimedBoxWatch watch;
  watch.thread = ::GetCurrentThreadId();
  watch.title = &title;
  const bool bounded = timeoutMs != 0 && timeoutMs < INFINITE - kBackstopGraceMs;
  HWND backstop = bounded ? StartBackstop(watch, timeoutMs) : nullptr;
  const int result = box(ToHwnd(owner), text.c_str(), title.c_str(), style, languageId, timeoutMs);
  if (backstop) ::DestroyWindow(backstop);
  return result;
}

WindowHandle Win32Platform::FindWindowExA(WindowHandle after) {
  return FromHandle(::FindWindowExA(nullptr, ToHwnd(after), nullptr, nullptr));
}

bool Win32Platform::IsWindowVisible(WindowHandle window) { return ::IsWindowVisible(ToHwnd(window)) != FALSE; }

uint32_t Win32Platform::GetWindowThreadProcessId(WindowHandle window) {
  DWORD processId = 0;
  ::GetWindowThreadProcessId(ToHwnd(window), &processId);
  return processId;
}

WindowHandle Win32Platform::GetParent(WindowHandle window) { return FromHandle(::GetParent(ToHwnd(window))); }

Text Win32Platform::GetClassNameA(WindowHandle window) {
  char name[261] = {};
  const int length = ::GetClassNameA(ToHwnd(window), name, static_cast<int>(sizeof name));
  return length > 0 ? Text(name, static_cast<size_t>(length)) : Text();
}

WideText Win32Platform::GetWindowTextW(WindowHandle window) {
  const int length = ::GetWindowTextLengthW(ToHwnd(window));
  if (length <= 0) return WideText();
  std::vector<wchar_t> buffer(static_cast<size_t>(length) + 1, L'\0');
  ::GetWindowTextW(ToHwnd(window), buffer.data(), length + 1);
  return FromWide(buffer.data());
}

// ---- console commands ------------------------------------------------------

WideText Win32Platform::GetSystemFolderW() {
  wchar_t path[MAX_PATH] = {};
  if (!::SHGetSpecialFolderPathW(nullptr, path, CSIDL_SYSTEM, FALSE)) return WideText();
  return FromWide(path);
}

long Win32Platform::CallGetSystemWow64DirectoryA() {
  // Missing from kernel32 before XP x64; looked up so the program starts anywhere.
  using Wow64Directory = UINT(WINAPI*)(LPSTR, UINT);
  const auto wow64 = win32::BoundExport<Wow64Directory>("kernel32.dll", "GetSystemWow64DirectoryA");
  if (!wow64) return -1;
  char buffer[255] = {};
  return static_cast<long>(wow64(buffer, static_cast<UINT>(sizeof buffer)));
}

namespace {

// What a started command leaves behind for its reader.
struct CapturedProcess {
  HANDLE process = nullptr;
  HANDLE output = nullptr;  // read end of the pipe the command writes into
};

CapturedProcess* Captured(ProcessHandle handle) { return reinterpret_cast<CapturedProcess*>(handle); }

}  // namespace

ProcessHandle Win32Platform::StartCapturedProcessW(const WideText& program, const WideText& commandLine) {
  SECURITY_ATTRIBUTES inheritable = {};
  inheritable.nLength = sizeof inheritable;
  inheritable.lpSecurityDescriptor = nullptr;
  inheritable.bInheritHandle = TRUE;

  HANDLE readEnd = nullptr, writeEnd = nullptr;
  if (!::CreatePipe(&readEnd, &writeEnd, &inheritable, 0)) return 0;
  // Only the write end belongs in the child; our read end stays ours.
  ::SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);
  // Standard input is the NUL device: a command that waits for input reads end
  // of file at once instead of blocking on a pipe nobody writes into.
  HANDLE input = ::CreateFileW(L"NUL", GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, &inheritable,
                               OPEN_EXISTING, 0, nullptr);

  STARTUPINFOW startup = {};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES | STARTF_USESHOWWINDOW;
  startup.wShowWindow = SW_HIDE;
  startup.hStdInput = input == INVALID_HANDLE_VALUE ? nullptr : input;
  startup.hStdOutput = writeEnd;
  startup.hStdError = writeEnd;

  // CreateProcessW may write into the command line, so it gets a copy with
  // room to spare (the longest command line Windows accepts).
  std::vector<wchar_t> line(std::max<size_t>(32767, commandLine.size() + 1), L'\0');
  std::copy(commandLine.begin(), commandLine.end(), line.begin());

  PROCESS_INFORMATION started = {};
  const BOOL created = ::CreateProcessW(program.empty() ? nullptr : Wide(program), line.data(), nullptr, nullptr,
                                        TRUE, 0, nullptr, nullptr, &startup, &started);
  // The child holds its own copies now; keeping ours would keep the pipe open
  // after the child ends.
  ::CloseHandle(writeEnd);
  if (input != INVALID_HANDLE_VALUE) ::CloseHandle(input);
  if (!created) {
    ::CloseHandle(readEnd);
    return 0;
  }
  ::CloseHandle(started.hThread);
  ::WaitForInputIdle(started.hProcess, 1000);
  return reinterpret_cast<ProcessHandle>(new CapturedProcess{started.hProcess, readEnd});
}

long Win32Platform::PeekCapturedOutput(ProcessHandle process) {
  if (!process) return -1;
  DWORD waiting = 0;
  // Fails once the child's end is closed and nothing is left to read.
  if (!::PeekNamedPipe(Captured(process)->output, nullptr, 0, nullptr, &waiting, nullptr)) return -1;
  return static_cast<long>(waiting);
}

Bytes Win32Platform::ReadCapturedOutput(ProcessHandle process, uint32_t count) {
  if (!process || count == 0) return Bytes();
  Bytes bytes(count);
  DWORD read = 0;
  if (!::ReadFile(Captured(process)->output, bytes.data(), count, &read, nullptr)) read = 0;
  bytes.resize(read);
  return bytes;
}

bool Win32Platform::IsCapturedProcessRunning(ProcessHandle process) {
  if (!process) return false;
  DWORD exitCode = 0;
  return ::GetExitCodeProcess(Captured(process)->process, &exitCode) && exitCode == STILL_ACTIVE;
}

void Win32Platform::TerminateCapturedProcess(ProcessHandle process) {
  if (process) ::TerminateProcess(Captured(process)->process, 1);
}

void Win32Platform::CloseCapturedProcess(ProcessHandle process) {
  if (!process) return;
  CapturedProcess* captured = Captured(process);
  ::CloseHandle(captured->process);
  ::CloseHandle(captured->output);
  delete captured;
}

}  // namespace bm
