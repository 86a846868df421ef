// The real Windows behind the platform seam: every call forwards to the Win32
// API it is named after. The program's windows are built here from the
// control tables the program hands over, scaled to the display's DPI.
//
// This header stays free of <windows.h> so that code above the seam can create
// the layer without seeing the API; handles cross the seam as uintptr_t.
#pragma once

#include <functional>
#include <list>
#include <map>
#include <mutex>
#include <vector>

#include "platform/Platform.h"
#include "platform/PostedQueue.h"

namespace bm {

class Win32Platform : public Platform {
 public:
  Win32Platform();
  ~Win32Platform() override;
  Win32Platform(const Win32Platform&) = delete;
  Win32Platform& operator=(const Win32Platform&) = delete;

  // ---- texts --------------------------------------------------------------
  int GetACP() override;
  WideText MultiByteToWideChar(int codePage, const Text& text) override;
  Text WideCharToMultiByte(int codePage, const WideText& text) override;

  // ---- the user and the machine --------------------------------------------
  bool GetUserNameA(Text& name) override;
  WideText GetProfileFolderW() override;
  LocalDate GetLocalDate() override;
  bool QueryOsVersion(uint32_t& major, uint32_t& minor, uint32_t& build) override;
  uint32_t GetCurrentProcessId() override;
  uint32_t GetTickCount() override;
  void Sleep(uint32_t milliseconds) override;

  // ---- files and folders ---------------------------------------------------
  SearchHandle FindFirstFileA(const Text& pattern, FindData& found) override;
  bool FindNextFileA(SearchHandle search, FindData& found) override;
  void FindClose(SearchHandle search) override;
  bool CopyFileA(const Text& from, const Text& to, bool failIfExists) override;
  bool CreateDirectoryA(const Text& path) override;
  bool CreateDirectoryW(const WideText& path) override;
  uint32_t PathIsDirectoryW(const WideText& path) override;
  bool PathIsDirectoryEmptyA(const Text& path) override;
  uint32_t GetFileAttributesA(const Text& path) override;
  bool SetFileAttributesA(const Text& path, uint32_t attributes) override;
  FolderChoice BrowseForFolderW(WindowHandle owner, const WideText& title, uint32_t flags,
                                const WideText& startFolder) override;

  // ---- registry ------------------------------------------------------------
  RegKey RegRootKey(RegRoot root) override;
  long RegOpenKeyA(RegKey parent, const Text& subKey, RegKey& opened) override;
  long RegCreateKeyA(RegKey parent, const Text& subKey, RegKey& opened) override;
  long RegOpenKeyExA(RegKey parent, const Text& subKey, uint32_t access, RegKey& opened) override;
  long RegCreateKeyExA(RegKey parent, const Text& subKey, uint32_t access, RegKey& opened) override;
  long RegCloseKey(RegKey key) override;
  long RegEnumKeyA(RegKey key, uint32_t index, uint32_t bufferSize, Text& name) override;
  long RegQueryInfoKeyA(RegKey key, uint32_t& subKeys, uint32_t& maxSubKeyLength, uint32_t& values,
                        uint32_t& maxValueNameLength, uint32_t& maxValueLength) override;
  long RegEnumValueA(RegKey key, uint32_t index, uint32_t nameBufferSize, Text& name, uint32_t& type,
                     uint8_t* data, uint32_t& dataSize) override;
  long RegQueryValueExA(RegKey key, const Text& valueName, uint32_t& type, uint8_t* data,
                        uint32_t& dataSize) override;
  long RegSetValueExA(RegKey key, const Text& valueName, uint32_t type, const uint8_t* data,
                      uint32_t size) override;
  long RegDeleteKeyA(RegKey parent, const Text& subKey) override;
  long RegDeleteValueA(RegKey key, const Text& valueName) override;
  long RegFlushKey(RegKey key) override;
  long NtRenameKey(RegKey key, const WideText& newName) override;

  // ---- shell ----------------------------------------------------------------
  int SHFileOperationW(uint32_t operation, const WideText& from, const WideText& to, uint16_t flags,
                       bool& anyAborted) override;

  // ---- message boxes and top-level windows ---------------------------------
  int MessageBoxTimeoutA(WindowHandle owner, const Text& text, const Text& title, uint32_t style,
                         uint16_t languageId, uint32_t timeoutMs) override;
  WindowHandle FindWindowExA(WindowHandle after) override;
  bool IsWindowVisible(WindowHandle window) override;
  uint32_t GetWindowThreadProcessId(WindowHandle window) override;
  WindowHandle GetParent(WindowHandle window) override;
  Text GetClassNameA(WindowHandle window) override;
  WideText GetWindowTextW(WindowHandle window) override;

  // ---- console commands ------------------------------------------------------
  WideText GetSystemFolderW() override;
  long CallGetSystemWow64DirectoryA() override;
  ProcessHandle StartCapturedProcessW(const WideText& program, const WideText& commandLine) override;
  long PeekCapturedOutput(ProcessHandle process) override;
  Bytes ReadCapturedOutput(ProcessHandle process, uint32_t count) override;
  bool IsCapturedProcessRunning(ProcessHandle process) override;
  void TerminateCapturedProcess(ProcessHandle process) override;
  void CloseCapturedProcess(ProcessHandle process) override;

  // ---- windows and controls of the program -----------------------------------
  void SetEventSink(EventSink* sink) override;
  bool CreateMainWindow(const WindowSpec& window, const std::vector<ControlSpec>& controls) override;
  int RunMessageLoop() override;
  void PumpMessages() override;
  WindowHandle ControlWindow(int id) override;
  bool IsButtonChecked(int id) override;
  int ComboSelectedIndex(int id) override;
  int ComboItemCount(int id) override;
  Text ComboItemText(int id, int index) override;
  void ComboSelect(int id, int index) override;
  void SetControlText(int id, const Text& text) override;
  Text GetControlText(int id) override;

  // ---- wide file calls (Win32WideFiles.cpp) ------------------------------------
  SearchHandle FindFirstFileW(const WideText& pattern, FindDataW& found) override;
  bool FindNextFileW(SearchHandle search, FindDataW& found) override;
  bool CopyFileW(const WideText& from, const WideText& to, bool failIfExists) override;
  uint32_t GetFileAttributesW(const WideText& path) override;
  bool SetFileAttributesW(const WideText& path, uint32_t attributes) override;
  bool MoveFileExW(const WideText& from, const WideText& to, uint32_t flags) override;
  bool DeleteFileW(const WideText& path) override;
  long OpenForWriteAndCloseW(const WideText& path) override;
  // ---- worker threads and the window's thread (Win32Threads.cpp) --------------
  ThreadHandle StartThread(std::function<void()> body) override;
  bool WaitForThread(ThreadHandle thread, uint32_t timeoutMs) override;
  void CloseThread(ThreadHandle thread) override;
  void PostControlText(int controlId, const Text& text) override;
  bool PostToWindowThread(std::function<void()> work) override;
  void EnableControl(int controlId, bool enabled) override;
  bool IsControlEnabled(int controlId) override;

  // ---- the second window, the clipboard, edit colours ------------------------------
  bool ShowModalWindow(const WindowSpec& window, const std::vector<ControlSpec>& controls,
                       int ownerWindowId) override;
  void CloseWindow(int windowId) override;
  bool SetClipboardText(const Text& text) override;
  Text GetClipboardText() override;
  Text PathRemoveBlanksA(const Text& path) override;
  void SetEditColors(int controlId, uint32_t textRgb, uint32_t backgroundRgb) override;

  // The main window's handle; 0 before CreateMainWindow (and after it closed).
  WindowHandle MainWindowHandle() const { return main_.window; }
  // The handle of the program's window `windowId` (the main window or an open
  // modal one); 0 when it is not open.
  WindowHandle WindowHandleOf(int windowId) const;
  // The DPI the main window is laid out for (96 before it exists).
  int LayoutDpi() const { return main_.dpi; }

  // Called by the window procedures, which live in the .cpp files and reach
  // the object through the window's user data.
  struct WindowEvents;
  friend struct WindowEvents;
  struct ModalWindowEvents;
  friend struct ModalWindowEvents;

 private:
  struct Control {
    ControlSpec layout;
    uintptr_t window = 0;  // HWND
    int windowId = 0;      // the top-level window it lies in
  };
  struct CachedFont {
    FontSpec layout;
    uintptr_t font = 0;  // HFONT
  };
  // One top-level window of the program: what it is made from, and the DPI
  // and fonts it is laid out with.
  struct TopLevel {
    WindowSpec form;
    uint32_t style = 0;
    uint32_t exStyle = 0;
    uintptr_t window = 0;  // HWND; 0 once it is destroyed
    uintptr_t owner = 0;   // HWND of a modal window's owner
    bool ownerWasEnabled = false;  // the owner is enabled again when the modal window goes
    int dpi = 96;
    std::vector<CachedFont> fonts;
  };
  struct EditColors {
    uint32_t text = 0;
    uint32_t background = 0;
    uintptr_t brush = 0;  // HBRUSH
  };

  // Creates the window of `window.form` (registered class `className`, owned
  // by `owner`) at the system DPI with the controls registered for it, then
  // lays it out for the DPI of its monitor. Not shown yet.
  bool CreateTopLevel(TopLevel& window, const char* className, uintptr_t owner);
  // Registers the controls of window `windowId`, before its creation.
  void AddControls(int windowId, const std::vector<ControlSpec>& controls);
  // Whether no control of an open window has any of these ids, nor do two of them share one.
  bool ControlIdsFree(const std::vector<ControlSpec>& controls) const;
  // Forgets the controls of window `windowId` and their colours (the window is gone).
  void ForgetControls(int windowId);
  // Places the window's outer top-left corner at (left, top), sizes it and
  // every control for `dpi` and gives them fonts made for it.
  void LayOut(TopLevel& window, int dpi, int left, int top);
  uintptr_t FontFor(TopLevel& window, const FontSpec& font, int dpi);  // HFONT, cached per layout
  static void ReleaseFonts(std::vector<CachedFont>& fonts);
  // The messages every top-level window of the program answers alike: control
  // notifications, a DPI change, edit colours. True when `message` was one.
  bool CommonMessage(TopLevel& window, unsigned message, uintptr_t wParam, intptr_t lParam, intptr_t& result);
  // The open window `windowId`, or the one with this HWND; null when none.
  TopLevel* OpenWindow(int windowId);
  TopLevel* OpenWindowOf(uintptr_t hwnd);
  // The HWND of the open window shown last (the main window, or the modal one in front of it).
  uintptr_t NewestWindow() const;
  uintptr_t Hwnd(int id) const;
  // Hands a control's event to the sink, if there is one.
  void Report(int controlId, ControlEvent event);
  // A WM_COMMAND notification of a control, in the terms of its kind.
  void Notified(int controlId, int code);

  EventSink* sink_ = nullptr;
  TopLevel main_;
  std::list<TopLevel> modals_;  // open modal windows, the newest last
  std::vector<Control> controls_;         // of every window
  std::map<int, size_t> controlIndex_;    // control id -> position in controls_
  std::map<int, EditColors> editColors_;  // by control id

  // ---- worker threads and the window's thread (Win32Threads.cpp) --------------
  struct ThreadMail {
    std::mutex lock;
    uintptr_t window = 0;         // HWND of the main window while it exists
    uint32_t windowThread = 0;    // the id of its thread
    PostedQueue posted;
    bool notified = false;        // a message telling of `posted` is on its way
    std::vector<uintptr_t> started;  // our own HANDLEs of the threads started
  };
  // The main window came or went: posting works while it exists.
  void MailWindow(uintptr_t window);
  // Queues for the window's thread what `post` adds and tells that thread;
  // false without a window.
  bool Enqueue(const std::function<void(PostedQueue&)>& post);
  // The window's thread handles the message telling of posted items.
  void DeliverPosted();
  // The window's thread writes a control's text: a text posted before is stale.
  void DropPostedText(int controlId);
  void WriteControlText(int controlId, const Text& text);
  bool OnWindowThread();
  void WaitForStartedThreads();

  ThreadMail mail_;
};

}  // namespace bm
