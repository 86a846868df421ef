// The simulated Windows: an in-memory machine behind the platform seam, for
// fast tests of the program's logic on any host.
//
// It keeps drives with case-insensitive folders and files (names stored as
// UTF-16, ANSI calls converted with code page 936 as on Chinese Windows), a
// registry, a Recycle Bin, the program's windows and controls, message boxes
// and console commands, and offers knobs a test can turn: a file held open by
// a running browser, a copy that fails partway, a read-only or missing drive,
// what the folder chooser answers, today's date, what a command prints.
// Directory searches and sub-key listings come in the order Windows gives
// them: sorted by name, ignoring case.
#pragma once

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <vector>

#include "platform/Platform.h"

namespace bm {

// What the folder chooser answers when it is next opened.
struct ChooserAnswer {
  enum Kind { Folder, Cancel, Virtual } kind = Cancel;
  Text folder;  // for Folder: the chosen path (GBK)
  static ChooserAnswer Pick(const Text& folder) { return {Folder, folder}; }
  static ChooserAnswer Cancelled() { return {Cancel, Text()}; }
  static ChooserAnswer VirtualItem() { return {Virtual, Text()}; }
};

// One opening of the folder chooser, as the program asked for it.
struct ChooserCall {
  WindowHandle owner = 0;
  Text title;        // GBK
  uint32_t flags = 0;
  Text startFolder;  // GBK
  std::map<int, Text> textsWhileOpen;  // every control's text while the chooser was open

  // The text the control with this id had while the chooser was open.
  Text TextWhileOpen(int controlId) const {
    const auto it = textsWhileOpen.find(controlId);
    return it == textsWhileOpen.end() ? Text() : it->second;
  }
};

struct RecycledItem {
  Text originalPath;  // GBK, as it was before it went to the bin
  WideText originalWidePath;  // the same, whole for names GBK cannot write
  bool folder = false;
  Text content;       // a file's bytes
  uint32_t attributes = 0;
};

struct ShellCall {
  uint32_t operation = 0;
  WideText from;  // the path list, zero-separated
  WideText to;
  uint16_t flags = 0;
};

struct ShownMessageBox {
  WindowHandle owner = 0;
  Text text;
  Text title;
  uint32_t style = 0;
  uint16_t languageId = 0;
  uint32_t timeoutMs = 0;
};

// How a started console command behaves.
struct SimCommand {
  Text output;                 // everything it prints (stdout and stderr together)
  size_t chunkSize = 4096;     // bytes that become readable per read
  bool neverEnds = false;      // keeps running (e.g. waits for input) until terminated
  bool fails = false;          // the process cannot be started
};

// One showing of a modal window, as the program asked for it.
struct ModalWindowCall {
  WindowSpec window;
  std::vector<ControlSpec> controls;
  int ownerWindowId = 0;
  bool ownerDisabled = false;  // the owner took no input while the user had the window
};

// The colours the program gave an edit box (Rgb values).
struct EditColors {
  uint32_t text = 0;
  uint32_t background = 0;
  bool operator==(const EditColors& other) const { return text == other.text && background == other.background; }
};

struct StartedProcess {
  WideText program;
  WideText commandLine;
  bool terminated = false;
};

class SimPlatform : public Platform {
 public:
  // A machine with drives C: and D: (empty, writable), user "Tester" with the
  // profile folder C:\Users\Tester, today 2023-04-30, Windows 10.0.
  SimPlatform();
  ~SimPlatform() override;
  // A machine can be swapped for a fresh one (once its threads have ended); a
  // moved-from machine is unusable. Both wait for the machine's threads first.
  SimPlatform(SimPlatform&&) noexcept;
  SimPlatform& operator=(SimPlatform&&) noexcept;

  // ---- knobs: files ---------------------------------------------------------------
  // The knobs lay out the machine as a test wants it: they pass over a drive's
  // read-only flag and over files held open.
  void AddDrive(char letter);
  void RemoveDrive(char letter);  // the drive and all on it are gone
  void SetDriveReadOnly(char letter, bool readOnly);
  // The process's current folder (default C:\Tools): relative paths and paths
  // from the root of the current drive ("\x") are completed from it.
  void SetCurrentFolder(const Text& folder);
  // Creates the file (and its missing parent folders) with these bytes.
  bool WriteFile(const Text& path, const Text& content, uint32_t attributes = kAttrArchive);
  // Creates the folder and its missing parents.
  bool MakeFolders(const Text& path, uint32_t attributes = kAttrDirectory);
  // Sets a file's or folder's attributes (a folder keeps its directory bit).
  bool SetAttributes(const Text& path, uint32_t attributes);
  std::optional<Text> ReadFile(const Text& path) const;
  bool IsFile(const Text& path) const;
  bool IsFolder(const Text& path) const;
  uint32_t AttributesOf(const Text& path) const;  // 0xFFFFFFFF when missing
  // A file held open without sharing by another program: copies from or onto it
  // fail with a sharing violation, and it cannot be deleted.
  void HoldOpen(const Text& path, bool held = true);
  // Every folder and file on every drive, one line each ("D:\a\" for a folder,
  // "D:\a\b.txt=<bytes>" for a file), sorted: a test compares two dumps to
  // see that nothing was touched.
  Text DumpFiles() const;

  // ---- knobs: the user, the clock ---------------------------------------------------
  void SetUserName(const Text& name);            // GetUserNameA's answer
  void SetUserNameFails(bool fails);
  void SetProfileFolder(const Text& folder);     // empty: Windows does not report one
  void SetDate(int year, int month, int day);
  void SetOsVersion(uint32_t major, uint32_t minor, uint32_t build, bool readable = true);
  // GetTickCount's clock: Sleep advances it, and so does every PumpMessages (1 ms).
  void AdvanceClock(uint32_t milliseconds);

  // ---- knobs: the folder chooser --------------------------------------------------------
  // Answers are used in order; with none queued the chooser is cancelled.
  void QueueChooserAnswer(const ChooserAnswer& answer);
  std::vector<ChooserCall> ChooserCalls() const;
  // Runs at each opening while the chooser is open (e.g. a nested button
  // press); not again for a chooser that the action itself opens.
  void OnChooserOpen(std::function<void()> action);

  // ---- knobs: the registry -----------------------------------------------------------------
  // keyPath is below the root, e.g. "Software\Microsoft\Windows\CurrentVersion\App Paths\360se6.exe".
  bool CreateRegKey(RegRoot root, const Text& keyPath);
  bool SetRegValue(RegRoot root, const Text& keyPath, const Text& valueName, uint32_t type, const Bytes& data);
  bool SetRegText(RegRoot root, const Text& keyPath, const Text& valueName, const Text& text);  // REG_SZ with its zero
  // The key exists but cannot be opened (access denied).
  void DenyRegKey(RegRoot root, const Text& keyPath, bool denied = true);
  bool RegKeyExists(RegRoot root, const Text& keyPath) const;
  std::optional<Bytes> RegValueData(RegRoot root, const Text& keyPath, const Text& valueName) const;
  std::optional<uint32_t> RegValueType(RegRoot root, const Text& keyPath, const Text& valueName) const;
  std::vector<Text> RegSubkeyNames(RegRoot root, const Text& keyPath) const;
  int OpenRegKeyCount() const;  // handles not yet closed
  // NtRenameKey is missing from ntdll.
  void SetNtRenameKeyAvailable(bool available);

  // ---- knobs: shell, message boxes, windows -------------------------------------------------
  std::vector<RecycledItem> RecycleBin() const;
  std::vector<ShellCall> ShellCalls() const;
  std::vector<ShownMessageBox> MessageBoxes() const;
  void SetMessageBoxTimeoutAvailable(bool available);
  void SetMessageBoxResult(int result);  // what the box returns (default 1, IDOK)
  // A top-level window of some process, in front of (or behind) the others in Z order.
  WindowHandle AddTopLevelWindow(uint32_t processId, bool visible, WindowHandle parent, const Text& className,
                                 const Text& title, bool inFront = true);
  void SetWindowVisible(WindowHandle window, bool visible);
  uint32_t ProcessId() const;  // our own process
  WindowHandle MainWindowHandle() const;  // 0 before CreateMainWindow

  // ---- knobs: console commands ------------------------------------------------------------------
  // Decides what each started command does, from its program and command line.
  void OnStartProcess(std::function<SimCommand(const WideText& program, const WideText& commandLine)> handler);
  std::vector<StartedProcess> StartedProcesses() const;
  void SetSystemFolder(const Text& folder);  // default C:\Windows\system32
  void SetWow64DirectoryResult(long result);  // -1: export missing (default 0: 32-bit Windows)

  // ---- knobs: the program's windows --------------------------------------------------------------
  bool MainWindowCreated() const;
  const ControlSpec* FindControl(int id) const;
  WindowSpec MainWindow() const;
  // The user clicks a control: a radio button becomes checked (clearing the
  // others of its parent), then the Clicked event goes to the sink. A disabled
  // control takes no click.
  void Click(int id);
  // The user picks a combo item: selection, then SelectionChanged to the sink.
  void PickComboItem(int id, int index);
  // Every text written into a control, in order (SetControlText, and the posted
  // texts the window's thread wrote).
  std::vector<Text> TextWrites(int id) const;
  int PumpCount() const;

  // ---- knobs: wide file names, locks, failing copies ----------------------------------------
  // WriteFile, ReadFile and IsFile for paths whose names GBK cannot write.
  bool WriteFileW(const WideText& path, const Text& content, uint32_t attributes = kAttrArchive);
  std::optional<Text> ReadFileW(const WideText& path) const;
  bool IsFileW(const WideText& path) const;
  // A file another program holds open letting others only read it, as a
  // running Chromium browser holds its lock file: reading and copying from it
  // work; opening it for writing, copying onto, moving or deleting it fail
  // with a sharing violation.
  void HoldOpenSharingRead(const Text& path, bool held = true);
  // The n-th copy from now (CopyFileA or CopyFileW, counting from 1) fails
  // partway, as on a full disk: Windows removes what it had written, so a
  // target that existed is gone as well. 0 disarms it.
  void FailCopy(int nth);
  // ---- knobs: worker threads ----------------------------------------------------------------------
  // The knobs and the seam calls may be used from several threads at once. The
  // window's thread is the one that created the main window (before that, the
  // one that made the machine); posted texts and work wait for it to pump.
  //
  // Waits until every started thread, and any thread they started, has ended.
  void JoinThreads();
  // StartThread fails (returns 0) without running the body.
  void SetThreadStartFails(bool fails);
  // The controls written into (SetControlText, EnableControl, ComboSelect) from
  // another thread than the window's, in order: on Windows such a write waits
  // for the window's thread.
  std::vector<int> WindowWritesFromOtherThreads() const;

  // ---- knobs: the second window, the clipboard, edit colours ---------------------------------------
  // Runs while a modal window is open, after its OnWindowCreated, as the user
  // at that window: typing (SetControlText), Click, DoubleClick, the close box
  // (CloseWindow). When it returns with the window still open, the user
  // closes it. Without it every modal window is closed at once. It runs for
  // nested modal windows too, each with its own id.
  void OnModalWindowOpen(std::function<void(int windowId)> user);
  std::vector<ModalWindowCall> ModalWindowCalls() const;
  bool WindowOpen(int windowId) const;
  // Open and not disabled: its controls take the user's clicks.
  bool WindowEnabled(int windowId) const;
  WindowHandle WindowHandleOf(int windowId) const;  // 0 when not open
  // The user double-clicks a control: DoubleClicked goes to the sink for an
  // edit box or a label whose window takes input; other kinds ignore it.
  void DoubleClick(int id);
  // The clipboard's text as the program put it there (CF_TEXT); nullopt
  // while nothing was put.
  std::optional<Text> ClipboardText() const;
  std::optional<EditColors> EditColorsOf(int id) const;

  // ---- Platform -----------------------------------------------------------------------------------
  int GetACP() override;
  WideText MultiByteToWideChar(int codePage, const Text& text) override;
  Text WideCharToMultiByte(int codePage, const WideText& text) override;
  bool GetUserNameA(Text& name) override;
  WideText GetProfileFolderW() override;
  LocalDate GetLocalDate() override;
  bool QueryOsVersion(uint32_t& major, uint32_t& minor, uint32_t& build) override;
  uint32_t GetCurrentProcessId() override;
  uint32_t GetTickCount() override;
  void Sleep(uint32_t milliseconds) override;
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
  int SHFileOperationW(uint32_t operation, const WideText& from, const WideText& to, uint16_t flags,
                       bool& anyAborted) override;
  int MessageBoxTimeoutA(WindowHandle owner, const Text& text, const Text& title, uint32_t style,
                         uint16_t languageId, uint32_t timeoutMs) override;
  WindowHandle FindWindowExA(WindowHandle after) override;
  bool IsWindowVisible(WindowHandle window) override;
  uint32_t GetWindowThreadProcessId(WindowHandle window) override;
  WindowHandle GetParent(WindowHandle window) override;
  Text GetClassNameA(WindowHandle window) override;
  WideText GetWindowTextW(WindowHandle window) override;
  WideText GetSystemFolderW() override;
  long CallGetSystemWow64DirectoryA() override;
  ProcessHandle StartCapturedProcessW(const WideText& program, const WideText& commandLine) override;
  long PeekCapturedOutput(ProcessHandle process) override;
  Bytes ReadCapturedOutput(ProcessHandle process, uint32_t count) override;
  bool IsCapturedProcessRunning(ProcessHandle process) override;
  void TerminateCapturedProcess(ProcessHandle process) override;
  void CloseCapturedProcess(ProcessHandle process) override;
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
  SearchHandle FindFirstFileW(const WideText& pattern, FindDataW& found) override;
  bool FindNextFileW(SearchHandle search, FindDataW& found) override;
  bool CopyFileW(const WideText& from, const WideText& to, bool failIfExists) override;
  uint32_t GetFileAttributesW(const WideText& path) override;
  bool SetFileAttributesW(const WideText& path, uint32_t attributes) override;
  bool MoveFileExW(const WideText& from, const WideText& to, uint32_t flags) override;
  bool DeleteFileW(const WideText& path) override;
  long OpenForWriteAndCloseW(const WideText& path) override;
  ThreadHandle StartThread(std::function<void()> body) override;
  bool WaitForThread(ThreadHandle thread, uint32_t timeoutMs) override;
  void CloseThread(ThreadHandle thread) override;
  void PostControlText(int controlId, const Text& text) override;
  bool PostToWindowThread(std::function<void()> work) override;
  void EnableControl(int controlId, bool enabled) override;
  bool IsControlEnabled(int controlId) override;

  bool ShowModalWindow(const WindowSpec& window, const std::vector<ControlSpec>& controls,
                       int ownerWindowId) override;
  void CloseWindow(int windowId) override;
  bool SetClipboardText(const Text& text) override;
  Text GetClipboardText() override;
  Text PathRemoveBlanksA(const Text& path) override;
  void SetEditColors(int controlId, uint32_t textRgb, uint32_t backgroundRgb) override;

 private:
  // The window's thread writes the texts and runs the work posted to it.
  void DeliverPosted();

  struct State;
  std::unique_ptr<State> state_;
};

}  // namespace bm
