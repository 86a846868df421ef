// The one door from the program to Windows.
//
// Every Windows call the program makes goes through `Platform`. Two classes
// implement it: the Win32 layer (src/platform/win32, the only code that
// includes <windows.h>) forwards each call to the real API, and the simulated
// Windows (src/platform/sim) answers from an in-memory machine so that the
// program's logic runs and is tested on any host.
//
// The calls keep the shape and the results of the Windows functions they stand
// for (the same names, GBK byte strings where Windows takes ANSI strings, UTF-16
// where it takes wide ones, Windows error codes from the registry calls), so the
// code above the seam reads like the Win32 program it is. A handful of calls
// bundle a few API calls that only ever occur together (the folder chooser with
// its callback, starting a hidden process with its output pipe); their comments
// say what they stand for.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace bm {

// A text is a GBK byte string; std::string keeps the terminating zero for us.
using Text = std::string;
// Wide text: UTF-16LE code units, used only at the wide Windows calls.
using WideText = std::u16string;
// An ordered list of texts (the routines speak of positions from 1; the
// vector's index is position - 1).
using TextList = std::vector<Text>;
using Bytes = std::vector<uint8_t>;

// Opaque handles; 0 always means "none" or "failed".
using WindowHandle = uintptr_t;
using SearchHandle = uintptr_t;
using RegKey = uintptr_t;
using ProcessHandle = uintptr_t;

// File attribute bits, as Windows numbers them.
constexpr uint32_t kAttrReadOnly = 0x01;
constexpr uint32_t kAttrHidden = 0x02;
constexpr uint32_t kAttrSystem = 0x04;
constexpr uint32_t kAttrDirectory = 0x10;
constexpr uint32_t kAttrArchive = 0x20;
constexpr uint32_t kAttrNormal = 0x80;

// Windows error codes the code above the seam looks at.
constexpr long kErrorSuccess = 0;
constexpr long kErrorFileNotFound = 2;
constexpr long kErrorAccessDenied = 5;
constexpr long kErrorMoreData = 234;
constexpr long kErrorNoMoreItems = 259;

// Registry value types.
constexpr uint32_t kRegNone = 0;
constexpr uint32_t kRegSz = 1;
constexpr uint32_t kRegExpandSz = 2;
constexpr uint32_t kRegBinary = 3;
constexpr uint32_t kRegDword = 4;
constexpr uint32_t kRegMultiSz = 7;

// Registry access masks.
constexpr uint32_t kKeyRead = 0x20019;
constexpr uint32_t kKeyWrite = 0x20006;

// Shell file operations and their flags.
constexpr uint32_t kFoMove = 1;
constexpr uint32_t kFoCopy = 2;
constexpr uint32_t kFoDelete = 3;
constexpr uint32_t kFoRename = 4;
constexpr uint16_t kFofSilent = 0x0004;
constexpr uint16_t kFofNoConfirmation = 0x0010;
constexpr uint16_t kFofAllowUndo = 0x0040;
constexpr uint16_t kFofNoErrorUi = 0x0400;

// Folder chooser flags (BROWSEINFO.ulFlags).
constexpr uint32_t kBifEditBox = 0x0010;
constexpr uint32_t kBifNewDialogStyle = 0x0040;
constexpr uint32_t kBifBrowseIncludeFiles = 0x4000;

// Message box styles.
constexpr uint32_t kMbOk = 0x00;
constexpr uint32_t kMbIconInformation = 0x40;

struct FindData {
  uint32_t attributes = 0;
  Text name;  // bare name, as the directory search reports it
};

struct LocalDate {
  int year = 0;
  int month = 0;
  int day = 0;
};

// What the folder chooser answered. `chosen` is false for Cancel; a chosen
// item outside the file system (a virtual folder) has an empty path.
struct FolderChoice {
  bool chosen = false;
  WideText path;
};

enum class RegRoot { ClassesRoot, CurrentUser, LocalMachine, Users, CurrentConfig };

// ---- wide file calls: names of any script, moves, the lock probe ----------------
// A favourite's name may hold characters that GBK cannot write (emoji, Korean,
// accented Greek); inside a folder tree names travel as UTF-16.
struct FindDataW {
  uint32_t attributes = 0;
  WideText name;  // bare name, as the directory search reports it
};

constexpr uint32_t kInvalidFileAttributes = 0xFFFFFFFF;  // INVALID_FILE_ATTRIBUTES
constexpr long kErrorPathNotFound = 3;
constexpr long kErrorWriteProtect = 19;
constexpr long kErrorSharingViolation = 32;
constexpr long kErrorLockViolation = 33;
// MoveFileExW flags.
constexpr uint32_t kMoveFileReplaceExisting = 0x1;
constexpr uint32_t kMoveFileCopyAllowed = 0x2;

// ---- user interface -------------------------------------------------------

enum class ControlKind { Button, Label, ComboBox, RadioButton, GroupBox, Edit };
enum class ControlEvent { Clicked, SelectionChanged, DoubleClicked };

// Sizes are pixels at 96 DPI; the Win32 layer scales them to the display.
struct FontSpec {
  Text face;        // GBK face name; empty: the window's default font
  int height = 0;   // character height in pixels
  int weight = 400;
};

struct ControlSpec {
  int id = 0;  // unique across all windows of the process
  ControlKind kind = ControlKind::Button;
  Text caption;
  int x = 0, y = 0, width = 0, height = 0;  // relative to the parent's client area
  int parentId = 0;                         // 0: the window itself
  FontSpec font;
  TextList items;  // combo box items
};

// A control's layout from its place in its form; combo box items are added after.
inline ControlSpec ControlLayout(int id, ControlKind kind, Text caption = Text(), int x = 0, int y = 0, int width = 0,
                                 int height = 0, int parentId = 0, FontSpec font = {}) {
  ControlSpec layout;
  layout.id = id;
  layout.kind = kind;
  layout.caption = std::move(caption);
  layout.x = x;
  layout.y = y;
  layout.width = width;
  layout.height = height;
  layout.parentId = parentId;
  layout.font = std::move(font);
  return layout;
}

struct WindowSpec {
  int id = 0;
  Text title;
  int x = 0, y = 0, width = 0, height = 0;  // outer size at 96 DPI
};

// Receives what happens in the windows; called on the thread that owns them.
class EventSink {
 public:
  virtual ~EventSink() = default;
  // The window and all its controls exist and the window is shown.
  virtual void OnWindowCreated(int windowId) = 0;
  virtual void OnControlEvent(int controlId, ControlEvent event) = 0;
};

// ---- worker threads ---------------------------------------------------------

// A started thread; 0 means "none" or "failed".
using ThreadHandle = uintptr_t;
// A wait without a time limit (INFINITE).
constexpr uint32_t kInfinite = 0xFFFFFFFF;

class Platform {
 public:
  // An implementation first waits for the threads started through StartThread
  // that still run: no worker outlives the platform it calls.
  virtual ~Platform() = default;

  // ---- texts --------------------------------------------------------------
  virtual int GetACP() = 0;
  // MultiByteToWideChar / WideCharToMultiByte; no terminators on either side.
  virtual WideText MultiByteToWideChar(int codePage, const Text& text) = 0;
  virtual Text WideCharToMultiByte(int codePage, const WideText& text) = 0;

  // ---- the user and the machine --------------------------------------------
  // GetUserNameA, asked again with a larger buffer when the first is too small.
  virtual bool GetUserNameA(Text& name) = 0;
  // The current user's profile folder as Windows reports it; empty on failure.
  virtual WideText GetProfileFolderW() = 0;
  virtual LocalDate GetLocalDate() = 0;
  // Windows version from the process environment block (NtQueryInformationProcess).
  virtual bool QueryOsVersion(uint32_t& major, uint32_t& minor, uint32_t& build) = 0;
  virtual uint32_t GetCurrentProcessId() = 0;
  virtual uint32_t GetTickCount() = 0;
  virtual void Sleep(uint32_t milliseconds) = 0;

  // ---- files and folders ---------------------------------------------------
  // FindFirstFileA: 0 when nothing matched; the caller closes a non-zero handle.
  virtual SearchHandle FindFirstFileA(const Text& pattern, FindData& found) = 0;
  virtual bool FindNextFileA(SearchHandle search, FindData& found) = 0;
  virtual void FindClose(SearchHandle search) = 0;
  virtual bool CopyFileA(const Text& from, const Text& to, bool failIfExists) = 0;
  virtual bool CreateDirectoryA(const Text& path) = 0;
  virtual bool CreateDirectoryW(const WideText& path) = 0;
  // 0x10 for an existing folder, otherwise 0.
  virtual uint32_t PathIsDirectoryW(const WideText& path) = 0;
  virtual bool PathIsDirectoryEmptyA(const Text& path) = 0;
  // 0xFFFFFFFF when the path does not exist.
  virtual uint32_t GetFileAttributesA(const Text& path) = 0;
  virtual bool SetFileAttributesA(const Text& path, uint32_t attributes) = 0;
  // SHBrowseForFolderW whose callback selects `startFolder` at initialisation,
  // then SHGetPathFromIDListW and CoTaskMemFree. Modal; the calling thread keeps
  // dispatching window messages while it is open.
  virtual FolderChoice BrowseForFolderW(WindowHandle owner, const WideText& title, uint32_t flags,
                                        const WideText& startFolder) = 0;

  // ---- registry (advapi32 ANSI calls; results are Windows error codes) -----
  virtual RegKey RegRootKey(RegRoot root) = 0;
  virtual long RegOpenKeyA(RegKey parent, const Text& subKey, RegKey& opened) = 0;
  virtual long RegCreateKeyA(RegKey parent, const Text& subKey, RegKey& opened) = 0;
  virtual long RegOpenKeyExA(RegKey parent, const Text& subKey, uint32_t access, RegKey& opened) = 0;
  // No class, REG_OPTION_NON_VOLATILE, no security attributes.
  virtual long RegCreateKeyExA(RegKey parent, const Text& subKey, uint32_t access, RegKey& opened) = 0;
  virtual long RegCloseKey(RegKey key) = 0;
  // RegEnumKeyA with a name buffer of `bufferSize` bytes: kErrorMoreData when the
  // name and its zero do not fit, kErrorNoMoreItems past the last sub-key.
  virtual long RegEnumKeyA(RegKey key, uint32_t index, uint32_t bufferSize, Text& name) = 0;
  // Name lengths in characters (UTF-16 units) and data sizes as Windows
  // reports them, without terminating zeros.
  virtual long RegQueryInfoKeyA(RegKey key, uint32_t& subKeys, uint32_t& maxSubKeyLength, uint32_t& values,
                                uint32_t& maxValueNameLength, uint32_t& maxValueLength) = 0;
  // RegEnumValueA. `data` may be null to learn `dataSize`; on entry `dataSize` is
  // the buffer's size, on return the value's size.
  virtual long RegEnumValueA(RegKey key, uint32_t index, uint32_t nameBufferSize, Text& name, uint32_t& type,
                             uint8_t* data, uint32_t& dataSize) = 0;
  // RegQueryValueExA, with the same `data` / `dataSize` rules (kErrorMoreData
  // when the buffer is too small).
  virtual long RegQueryValueExA(RegKey key, const Text& valueName, uint32_t& type, uint8_t* data,
                                uint32_t& dataSize) = 0;
  virtual long RegSetValueExA(RegKey key, const Text& valueName, uint32_t type, const uint8_t* data,
                              uint32_t size) = 0;
  virtual long RegDeleteKeyA(RegKey parent, const Text& subKey) = 0;
  virtual long RegDeleteValueA(RegKey key, const Text& valueName) = 0;
  virtual long RegFlushKey(RegKey key) = 0;
  // ntdll's NtRenameKey, bound at run time; an NTSTATUS (0 is success).
  virtual long NtRenameKey(RegKey key, const WideText& newName) = 0;

  // ---- shell ----------------------------------------------------------------
  // SHFileOperationW with no owner window. `from` and `to` are path lists: each
  // path followed by a zero code unit, the list closed by one more (an empty
  // `to` passes null). Name mappings are released inside. Returns the call's
  // result; `anyAborted` is the record's fAnyOperationsAborted.
  virtual int SHFileOperationW(uint32_t operation, const WideText& from, const WideText& to, uint16_t flags,
                               bool& anyAborted) = 0;

  // ---- message boxes and top-level windows ---------------------------------
  // user32's MessageBoxTimeoutA, bound by name at run time; 0 when it failed.
  virtual int MessageBoxTimeoutA(WindowHandle owner, const Text& text, const Text& title, uint32_t style,
                                 uint16_t languageId, uint32_t timeoutMs) = 0;
  // FindWindowExA(no parent, after, no class, no title): the next top-level window in Z order.
  virtual WindowHandle FindWindowExA(WindowHandle after) = 0;
  virtual bool IsWindowVisible(WindowHandle window) = 0;
  // The id of the process that owns the window.
  virtual uint32_t GetWindowThreadProcessId(WindowHandle window) = 0;
  virtual WindowHandle GetParent(WindowHandle window) = 0;
  virtual Text GetClassNameA(WindowHandle window) = 0;
  virtual WideText GetWindowTextW(WindowHandle window) = 0;

  // ---- console commands ------------------------------------------------------
  // SHGetSpecialFolderPathW(CSIDL_SYSTEM), not creating it.
  virtual WideText GetSystemFolderW() = 0;
  // kernel32's GetSystemWow64DirectoryA looked up by name and called with a
  // 255-character buffer: -1 when the export is missing, else its return value.
  virtual long CallGetSystemWow64DirectoryA() = 0;
  // CreatePipe (inheritable) + CreateProcessW(program, commandLine) hidden, with
  // standard output and error on the pipe's write end and an empty standard
  // input; the write end is closed in the caller, then WaitForInputIdle (1 s).
  // 0 when the pipe or the process could not be created.
  virtual ProcessHandle StartCapturedProcessW(const WideText& program, const WideText& commandLine) = 0;
  // PeekNamedPipe: bytes waiting; -1 when the pipe is broken and drained.
  virtual long PeekCapturedOutput(ProcessHandle process) = 0;
  virtual Bytes ReadCapturedOutput(ProcessHandle process, uint32_t count) = 0;
  // GetExitCodeProcess reports STILL_ACTIVE.
  virtual bool IsCapturedProcessRunning(ProcessHandle process) = 0;
  virtual void TerminateCapturedProcess(ProcessHandle process) = 0;
  // Closes the process handle and the pipe's read end.
  virtual void CloseCapturedProcess(ProcessHandle process) = 0;

  // ---- windows and controls of the program -----------------------------------
  virtual void SetEventSink(EventSink* sink) = 0;
  // Creates the top-level window with its controls, shows it, then reports
  // OnWindowCreated. False when the window could not be created.
  virtual bool CreateMainWindow(const WindowSpec& window, const std::vector<ControlSpec>& controls) = 0;
  // GetMessage / TranslateMessage / DispatchMessage until the main window is closed; the exit code.
  virtual int RunMessageLoop() = 0;
  // PeekMessageA with removal, TranslateMessage, DispatchMessageA until the queue is empty.
  virtual void PumpMessages() = 0;
  virtual WindowHandle ControlWindow(int id) = 0;
  virtual bool IsButtonChecked(int id) = 0;
  virtual int ComboSelectedIndex(int id) = 0;  // -1: none
  virtual int ComboItemCount(int id) = 0;
  virtual Text ComboItemText(int id, int index) = 0;  // empty outside 0..count-1
  virtual void ComboSelect(int id, int index) = 0;
  // SetWindowTextA / GetWindowTextA on the control.
  virtual void SetControlText(int id, const Text& text) = 0;
  virtual Text GetControlText(int id) = 0;

  // ---- wide file calls ---------------------------------------------------------
  // FindFirstFileW / FindNextFileW; the handle is closed with FindClose.
  virtual SearchHandle FindFirstFileW(const WideText& pattern, FindDataW& found) = 0;
  virtual bool FindNextFileW(SearchHandle search, FindDataW& found) = 0;
  virtual bool CopyFileW(const WideText& from, const WideText& to, bool failIfExists) = 0;
  // kInvalidFileAttributes when the path does not exist.
  virtual uint32_t GetFileAttributesW(const WideText& path) = 0;
  virtual bool SetFileAttributesW(const WideText& path, uint32_t attributes) = 0;
  // kMoveFile* flags.
  virtual bool MoveFileExW(const WideText& from, const WideText& to, uint32_t flags) = 0;
  virtual bool DeleteFileW(const WideText& path) = 0;
  // CreateFileW(path, GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE |
  // FILE_SHARE_DELETE, no security, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL) and
  // CloseHandle at once: kErrorSuccess when it opened, else GetLastError's code.
  // Sharing everything, the open fails with a sharing violation only when
  // another handle refuses writers, as a running browser does with its lock file.
  virtual long OpenForWriteAndCloseW(const WideText& path) = 0;

  // ---- worker threads and the window's thread ----------------------------------
  // Only the window's thread (the one that created the main window) writes into
  // the windows. A worker reaches them through the two posting calls, which
  // never wait for the window's thread: that thread may itself be waiting for
  // the worker.
  //
  // CreateThread with the default stack size, running `body`; 0 when the thread
  // could not be started. The caller closes the handle with CloseThread.
  virtual ThreadHandle StartThread(std::function<void()> body) = 0;
  // True once the thread has ended; false when it still runs after `timeoutMs`
  // (kInfinite: no limit) or the handle is none. The waiting thread keeps
  // answering what other threads send to its windows (a worker reading a
  // control, a worker's message box owned by the main window) but runs nothing
  // posted: no handler runs inside the wait.
  virtual bool WaitForThread(ThreadHandle thread, uint32_t timeoutMs) = 0;
  // CloseHandle: the thread itself runs on.
  virtual void CloseThread(ThreadHandle thread) = 0;
  // Sets a control's text from any thread. On the window's thread it is written
  // at once; from another one the window's thread writes it when it next handles
  // its messages (PumpMessages, RunMessageLoop). A newer text of the control
  // replaces one still waiting (unless work posted in between is to see it), and
  // a write of the window's thread replaces every text waiting for the control.
  virtual void PostControlText(int controlId, const Text& text) = 0;
  // Runs `work` on the window's thread when it next handles its messages, after
  // everything posted before it. False when there is no main window to run it.
  virtual bool PostToWindowThread(std::function<void()> work) = 0;
  // EnableWindow, on the window's thread: a disabled control takes no clicks.
  virtual void EnableControl(int controlId, bool enabled) = 0;
  // IsWindowEnabled; false for a control that does not exist.
  virtual bool IsControlEnabled(int controlId) = 0;

  // ---- the second window, the clipboard, edit colours -------------------------
  // A second top-level window, owned by the program's window `ownerWindowId`
  // (a WindowSpec id): made with its controls and laid out as the main window
  // is, shown, reported by OnWindowCreated(window.id); the owner is disabled
  // while it is open. The calling thread handles its window messages (the
  // window's events go to the sink; what other threads posted is delivered)
  // until the window is closed, by the user or by CloseWindow; then the owner
  // is enabled and activated again and the call returns true. False, with nothing shown, when the owner is not open or the
  // window's id or a control id is taken.
  virtual bool ShowModalWindow(const WindowSpec& window, const std::vector<ControlSpec>& controls,
                               int ownerWindowId) = 0;
  // DestroyWindow on one of the program's windows, by its WindowSpec id, as the
  // user closing it would: a modal window's wait ends (its owner is enabled
  // before it goes), the main window's message loop ends. Its controls' ids
  // name nothing afterwards.
  virtual void CloseWindow(int windowId) = 0;
  // Puts plain text on the clipboard in place of what it held: the text as
  // CF_TEXT and, converted from GBK, as CF_UNICODETEXT. False when the
  // clipboard could not be opened or filled.
  virtual bool SetClipboardText(const Text& text) = 0;
  // The clipboard's plain text as GBK (its CF_UNICODETEXT converted, else its
  // CF_TEXT); empty when it holds none.
  virtual Text GetClipboardText() = 0;
  // shlwapi's PathRemoveBlanksA: the text without its leading and trailing spaces.
  virtual Text PathRemoveBlanksA(const Text& path) = 0;
  // The text colour and background (Rgb below) that the edit box `controlId`
  // is drawn in (its parent answers WM_CTLCOLOREDIT with them); redrawn at
  // once. They stay until the control goes; other controls are left alone.
  virtual void SetEditColors(int controlId, uint32_t textRgb, uint32_t backgroundRgb) = 0;
};

// A colour as Windows' RGB macro packs it: 0x00BBGGRR.
constexpr uint32_t Rgb(uint8_t red, uint8_t green, uint8_t blue) {
  return static_cast<uint32_t>(red) | (static_cast<uint32_t>(green) << 8) | (static_cast<uint32_t>(blue) << 16);
}

}  // namespace bm
