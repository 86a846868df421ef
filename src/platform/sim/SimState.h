// The in-memory machine behind SimPlatform, shared by its source files.
#pragma once

#include <condition_variable>
#include <list>
#include <map>
#include <memory>
#include <mutex>
#include <set>
#include <thread>
#include <vector>

#include "platform/PostedQueue.h"
#include "platform/sim/SimPlatform.h"

namespace bm {
namespace sim {

// ---- texts ----------------------------------------------------------------------
// Conversions through iconv; code page 0 (CP_ACP) is 936. Bytes or code units
// that do not convert become '?', as the Windows conversions substitute them.
WideText ToWide(int codePage, const Text& text);
Text FromWide(int codePage, const WideText& text);
inline WideText Wide(const Text& gbk) { return ToWide(936, gbk); }
inline Text Gbk(const WideText& wide) { return FromWide(936, wide); }
// Upper-case folding on UTF-16 (ASCII, Latin-1, Greek, Cyrillic, full-width
// Latin), the comparison Windows makes for file and registry names.
char16_t FoldUnit(char16_t unit);
WideText Fold(const WideText& text);

// ---- files ----------------------------------------------------------------------
struct Node {
  WideText name;  // as created
  bool folder = false;
  uint32_t attributes = 0;
  Text content;
  // Keyed by the folded name: iteration gives the order Windows lists entries in.
  std::map<WideText, std::unique_ptr<Node>> children;
};

struct Drive {
  Node root;
  bool readOnly = false;
};

// A path split into its drive and its components ("." and ".." resolved,
// repeated separators collapsed).
struct ParsedPath {
  bool valid = false;
  char16_t drive = 0;  // upper case
  std::vector<WideText> parts;
  bool trailingSeparator = false;
};
ParsedPath ParsePath(const WideText& path);
// A path as the process sees it: relative paths and paths from the root of the
// current drive completed from the current folder, as Windows does.
WideText AbsolutePath(const WideText& path, const WideText& currentFolder);
// Folded "X:\A\B", the identity of a path.
WideText PathKey(const ParsedPath& path);
bool ValidName(const WideText& name);
bool WildcardMatch(const WideText& pattern, const WideText& name);

// ---- registry --------------------------------------------------------------------
struct RegValue {
  Text name;
  uint32_t type = 0;
  Bytes data;
};

struct RegNode {
  WideText name;
  RegNode* parent = nullptr;
  bool denied = false;
  bool deleted = false;
  std::map<WideText, std::shared_ptr<RegNode>> children;  // keyed by folded name
  std::vector<RegValue> values;                            // creation order
};

struct RegHandle {
  std::shared_ptr<RegNode> node;
  uint32_t access = 0;
};

// ---- windows and controls -----------------------------------------------------------
struct TopWindow {
  WindowHandle handle = 0;
  uint32_t processId = 0;
  bool visible = false;
  WindowHandle parent = 0;
  Text className;
  Text title;
};

struct ControlState {
  ControlSpec layout;
  int windowId = 0;  // the top-level window it lies in
  WindowHandle handle = 0;
  Text text;
  bool checked = false;
  int selected = -1;
  bool enabled = true;
  std::vector<Text> writes;
};

// A window ShowModalWindow opened; kept until that call returns.
struct ModalWindow {
  WindowSpec form;
  WindowHandle handle = 0;
  int ownerId = 0;
  bool ownerWasEnabled = false;  // enabled again when the window goes
  bool open = true;
  size_t callIndex = 0;  // its record in ModalWindowCalls
};

struct ProcessState {
  SimCommand command;
  size_t released = 0;  // bytes the process has written into the pipe
  size_t readPos = 0;   // bytes the reader has taken
  bool terminated = false;
  size_t startedIndex = 0;  // its record in StartedProcesses
};

// ---- worker threads ------------------------------------------------------------------
// Whether a started thread has ended, for those who wait for it.
struct ThreadRun {
  std::mutex lock;
  std::condition_variable endedChanged;
  bool ended = false;
};

}  // namespace sim

struct SimPlatform::State {
  mutable std::recursive_mutex lock;

  // files
  std::map<char16_t, sim::Drive> drives;
  std::set<WideText> heldOpen;  // PathKey of each held file
  std::set<WideText> heldSharingRead;  // PathKey of each file held open letting others read
  int copiesUntilFailure = 0;  // the copy that makes this 0 fails; 0: none fails
  WideText currentFolder = u"C:\\Tools";  // where the program was started from
  struct Search {
    std::vector<FindDataW> entries;
    size_t next = 0;
  };
  std::map<SearchHandle, Search> searches;
  SearchHandle nextSearch = 0x100;

  // user and clock
  Text userName = "Tester";
  bool userNameFails = false;
  Text profileFolder = "C:\\Users\\Tester";
  LocalDate date{2023, 4, 30};
  uint32_t osMajor = 10, osMinor = 0, osBuild = 19045;
  bool osReadable = true;
  uint32_t tick = 1000000;

  // folder chooser
  std::vector<ChooserAnswer> answers;
  std::vector<ChooserCall> chooserCalls;
  std::function<void()> chooserAction;
  bool inChooserAction = false;

  // registry
  std::map<RegRoot, std::shared_ptr<sim::RegNode>> regRoots;
  std::map<RegKey, sim::RegHandle> regHandles;
  RegKey nextRegKey = 0x1000;
  bool ntRenameKeyAvailable = true;

  // shell, message boxes, windows
  std::vector<RecycledItem> recycleBin;
  std::vector<ShellCall> shellCalls;
  std::vector<ShownMessageBox> messageBoxes;
  bool messageBoxAvailable = true;
  int messageBoxResult = 1;
  std::vector<sim::TopWindow> zOrder;  // front first
  WindowHandle nextWindow = 0x10010;
  uint32_t processId = 4321;
  WindowHandle mainWindow = 0;

  // commands
  std::function<SimCommand(const WideText&, const WideText&)> startHandler;
  std::vector<StartedProcess> started;
  std::map<ProcessHandle, sim::ProcessState> processes;
  ProcessHandle nextProcess = 0x200;
  Text systemFolder = "C:\\Windows\\system32";
  long wow64Result = 0;

  // the program's windows
  EventSink* sink = nullptr;
  bool windowCreated = false;
  WindowSpec window;
  std::map<int, sim::ControlState> controls;
  int pumpCount = 0;

  // the second window, the clipboard, edit colours (SimSecondWindow.cpp)
  std::list<sim::ModalWindow> modals;  // the newest last
  std::vector<ModalWindowCall> modalCalls;
  std::function<void(int)> modalUser;
  std::set<int> disabledWindows;
  std::optional<Text> clipboard;
  std::map<int, EditColors> editColors;  // by control id

  // worker threads and the window's thread (SimThreads.cpp)
  std::thread::id windowThread = std::this_thread::get_id();  // the machine's maker until a window exists
  std::vector<std::thread> threads;  // every started thread not yet joined
  std::map<ThreadHandle, std::shared_ptr<sim::ThreadRun>> threadHandles;
  ThreadHandle nextThread = 0x300;
  bool threadStartFails = false;
  PostedQueue posted;
  std::vector<int> foreignWindowWrites;

  // helpers (called with the lock held)
  sim::Drive* FindDrive(char16_t letter);
  sim::Node* Find(const sim::ParsedPath& path);
  sim::Node* FindParent(const sim::ParsedPath& path);
  sim::Node* Find(const Text& path) { return Find(Parse(sim::Wide(path))); }
  sim::ParsedPath Parse(const WideText& path) const {
    return sim::ParsePath(sim::AbsolutePath(path, currentFolder));
  }
  // Held open by another program in either way: no writing, moving or deleting.
  bool IsHeld(const sim::ParsedPath& path) const {
    const WideText key = sim::PathKey(path);
    return heldOpen.count(key) != 0 || heldSharingRead.count(key) != 0;
  }
  // Adds the file to, or takes it from, one of the sets of held files.
  void Hold(std::set<WideText>& files, const WideText& path, bool held) {
    const sim::ParsedPath parsed = Parse(path);
    if (!parsed.valid) return;
    if (held) {
      files.insert(sim::PathKey(parsed));
    } else {
      files.erase(sim::PathKey(parsed));
    }
  }
  // Held open without any sharing: not even reading.
  bool HeldAgainstReading(const sim::ParsedPath& path) const { return heldOpen.count(sim::PathKey(path)) != 0; }
  bool AnyHeldBelow(const sim::ParsedPath& path) const;
  sim::Node* MakeFoldersTo(const sim::ParsedPath& path, size_t depth, uint32_t attributes);
  bool CreateFolder(const WideText& path);
  sim::ControlState* Control(int id);
  // Writes a control's text on the window's thread, as SetWindowTextA does.
  void WriteControlText(int id, const Text& text);
  bool OnWindowThread() const { return std::this_thread::get_id() == windowThread; }
  // A write into a control from another thread than the window's is noted.
  void NoteWindowWrite(int id);
  // The window's thread writes a control's text: a text posted before is stale.
  void DropPostedText(int id);
  std::shared_ptr<sim::RegNode> RegNodeAt(RegRoot root, const Text& keyPath, bool create);
  std::optional<sim::RegValue> RegValueAt(RegRoot root, const Text& keyPath, const Text& valueName);
  bool ResolveKey(RegKey key, std::shared_ptr<sim::RegNode>& node, uint32_t& access);
  // The key behind a handle when it still exists and the handle carries
  // `needed` access; otherwise the error Windows gives.
  long UsableKey(RegKey key, uint32_t needed, std::shared_ptr<sim::RegNode>& node);
  // Opens or creates `subKey` below `parent`: the common body of the four calls.
  long OpenOrCreate(RegKey parent, const Text& subKey, uint32_t access, bool create, RegKey& opened);
  sim::TopWindow* Window(WindowHandle handle);
  // Whether the program's window `windowId` (the main or a modal one) is open.
  bool WindowOpen(int windowId) const;
  // The user's input reaches the control: its window is not disabled.
  bool TakesInput(const sim::ControlState& control) const { return disabledWindows.count(control.windowId) == 0; }
  // Adds a window of the program with its controls, in front of the others;
  // its top-level window's handle.
  WindowHandle AddWindow(const WindowSpec& window, const std::vector<ControlSpec>& controls, const Text& className);
  // Removes the window's controls (and their colours) and its top-level entry.
  void RemoveWindow(int windowId, WindowHandle handle);

  // ---- files by wide path (SimWideFiles.cpp); the ANSI calls convert and come here
  bool WriteFile(const WideText& path, const Text& content, uint32_t attributes);
  // The entries matching a FindFirstFile pattern; 0 when none matched.
  SearchHandle StartSearch(const WideText& pattern, FindDataW& found);
  bool NextFound(SearchHandle search, FindDataW& found);
  bool CopyFile(const WideText& from, const WideText& to, bool failIfExists);
  uint32_t Attributes(const WideText& path);
  bool SetFileAttributes(const WideText& path, uint32_t attributes);
};

}  // namespace bm
