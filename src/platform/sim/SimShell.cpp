// The simulated shell file operations with their Recycle Bin, message boxes,
// the top-level windows in Z order, and console commands with a pipe.
#include <algorithm>

#include "platform/sim/SimState.h"

namespace bm {

using sim::Node;
using sim::ParsedPath;
using sim::Wide;
using sim::Gbk;
using Lock = std::lock_guard<std::recursive_mutex>;

namespace {

constexpr int kErrorInvalidParameter = 87;
constexpr int kErrorAlreadyExists = 183;

std::vector<WideText> SplitPathList(const WideText& list) {
  std::vector<WideText> paths;
  size_t start = 0;
  while (start < list.size()) {
    const size_t end = list.find(u'\0', start);
    const size_t stop = end == WideText::npos ? list.size() : end;
    if (stop == start) break;  // the closing zero
    paths.push_back(list.substr(start, stop - start));
    start = stop + 1;
  }
  return paths;
}

std::unique_ptr<Node> DeepCopy(const Node& node) {
  auto copy = std::make_unique<Node>();
  copy->name = node.name;
  copy->folder = node.folder;
  copy->attributes = node.attributes;
  copy->content = node.content;
  for (const auto& child : node.children) copy->children.emplace(child.first, DeepCopy(*child.second));
  return copy;
}

WideText ShownPath(const ParsedPath& path) {
  WideText wide;
  wide.push_back(path.drive);
  wide += u":";
  for (const WideText& part : path.parts) wide += u"\\" + part;
  return wide;
}

}  // namespace

// ---- knobs -------------------------------------------------------------------------------------

// The lists are handed out as copies: another thread may be adding to them.
std::vector<RecycledItem> SimPlatform::RecycleBin() const {
  Lock lock(state_->lock);
  return state_->recycleBin;
}

std::vector<ShellCall> SimPlatform::ShellCalls() const {
  Lock lock(state_->lock);
  return state_->shellCalls;
}

std::vector<ShownMessageBox> SimPlatform::MessageBoxes() const {
  Lock lock(state_->lock);
  return state_->messageBoxes;
}

void SimPlatform::SetMessageBoxTimeoutAvailable(bool available) {
  Lock lock(state_->lock);
  state_->messageBoxAvailable = available;
}

void SimPlatform::SetMessageBoxResult(int result) {
  Lock lock(state_->lock);
  state_->messageBoxResult = result;
}

WindowHandle SimPlatform::AddTopLevelWindow(uint32_t processId, bool visible, WindowHandle parent,
                                            const Text& className, const Text& title, bool inFront) {
  Lock lock(state_->lock);
  sim::TopWindow window;
  window.handle = state_->nextWindow;
  state_->nextWindow += 4;
  window.processId = processId;
  window.visible = visible;
  window.parent = parent;
  window.className = className;
  window.title = title;
  if (inFront) {
    state_->zOrder.insert(state_->zOrder.begin(), window);
  } else {
    state_->zOrder.push_back(window);
  }
  return window.handle;
}

void SimPlatform::SetWindowVisible(WindowHandle window, bool visible) {
  Lock lock(state_->lock);
  if (sim::TopWindow* found = state_->Window(window)) found->visible = visible;
}

uint32_t SimPlatform::ProcessId() const {
  Lock lock(state_->lock);
  return state_->processId;
}

WindowHandle SimPlatform::MainWindowHandle() const {
  Lock lock(state_->lock);
  return state_->mainWindow;
}

void SimPlatform::OnStartProcess(std::function<SimCommand(const WideText&, const WideText&)> handler) {
  Lock lock(state_->lock);
  if (handler) {
    state_->startHandler = std::move(handler);
  } else {
    state_->startHandler = [](const WideText&, const WideText&) { return SimCommand(); };
  }
}

std::vector<StartedProcess> SimPlatform::StartedProcesses() const {
  Lock lock(state_->lock);
  return state_->started;
}

void SimPlatform::SetSystemFolder(const Text& folder) {
  Lock lock(state_->lock);
  state_->systemFolder = folder;
}

void SimPlatform::SetWow64DirectoryResult(long result) {
  Lock lock(state_->lock);
  state_->wow64Result = result;
}

sim::TopWindow* SimPlatform::State::Window(WindowHandle handle) {
  for (sim::TopWindow& window : zOrder) {
    if (window.handle == handle) return &window;
  }
  return nullptr;
}

// ---- Platform: shell -------------------------------------------------------------------------------

int SimPlatform::SHFileOperationW(uint32_t operation, const WideText& from, const WideText& to, uint16_t flags,
                                  bool& anyAborted) {
  Lock lock(state_->lock);
  anyAborted = false;
  state_->shellCalls.push_back({operation, from, to, flags});
  const std::vector<WideText> sources = SplitPathList(from);
  const std::vector<WideText> targets = SplitPathList(to);
  if (sources.empty()) return kErrorInvalidParameter;

  // Expand a wildcard in the last name of each source into the entries it matches.
  std::vector<ParsedPath> items;
  for (const WideText& source : sources) {
    ParsedPath parsed = state_->Parse(source);
    if (!parsed.valid || parsed.parts.empty()) return kErrorInvalidParameter;
    const WideText last = parsed.parts.back();
    if (last.find_first_of(u"*?") == WideText::npos) {
      if (!state_->Find(parsed)) return kErrorFileNotFound;
      items.push_back(parsed);
      continue;
    }
    const Node* folder = state_->FindParent(parsed);
    if (!folder) return kErrorFileNotFound;
    for (const auto& entry : folder->children) {
      if (!sim::WildcardMatch(last, entry.second->name)) continue;
      ParsedPath item = parsed;
      item.parts.back() = entry.second->name;
      items.push_back(item);
    }
  }

  for (size_t index = 0; index < items.size(); ++index) {
    const ParsedPath& item = items[index];
    sim::Drive* drive = state_->FindDrive(item.drive);
    Node* parent = state_->FindParent(item);
    if (!drive || !parent) return kErrorFileNotFound;
    const WideText key = sim::Fold(item.parts.back());
    auto found = parent->children.find(key);
    if (found == parent->children.end()) return kErrorFileNotFound;
    const bool removes = operation == kFoDelete || operation == kFoMove || operation == kFoRename;
    if (removes && drive->readOnly) return kErrorWriteProtect;
    if (removes && state_->AnyHeldBelow(item)) return kErrorSharingViolation;

    if (operation == kFoDelete) {
      if (flags & kFofAllowUndo) {
        RecycledItem recycled;
        recycled.originalWidePath = ShownPath(item);
        recycled.originalPath = Gbk(recycled.originalWidePath);
        recycled.folder = found->second->folder;
        recycled.content = found->second->content;
        recycled.attributes = found->second->attributes;
        state_->recycleBin.push_back(recycled);
      }
      parent->children.erase(found);
      continue;
    }

    if (targets.empty()) return kErrorInvalidParameter;
    // Several targets pair up with the sources; one target serves them all.
    ParsedPath target = state_->Parse(targets.size() == items.size() ? targets[index] : targets[0]);
    if (!target.valid) return kErrorInvalidParameter;
    if (operation == kFoRename) {
      if (target.parts.empty() || !sim::ValidName(target.parts.back())) return kErrorInvalidParameter;
      const WideText newKey = sim::Fold(target.parts.back());
      if (newKey != key && parent->children.count(newKey)) return kErrorAlreadyExists;
      std::unique_ptr<Node> node = std::move(found->second);
      parent->children.erase(found);
      node->name = target.parts.back();
      parent->children[newKey] = std::move(node);
      continue;
    }
    // Copy or move: into an existing folder under the same name, else to the named path.
    if (Node* existing = state_->Find(target); existing && existing->folder) {
      target.parts.push_back(item.parts.back());
    }
    sim::Drive* targetDrive = state_->FindDrive(target.drive);
    if (!targetDrive || targetDrive->readOnly || target.parts.empty()) return kErrorWriteProtect;
    if (state_->AnyHeldBelow(target)) return kErrorSharingViolation;
    Node* targetParent = state_->MakeFoldersTo(target, target.parts.size() - 1, kAttrDirectory);
    if (!targetParent) return kErrorInvalidParameter;
    std::unique_ptr<Node> copy = DeepCopy(*found->second);
    copy->name = target.parts.back();
    const WideText targetKey = sim::Fold(copy->name);
    auto& slot = targetParent->children[targetKey];
    if (slot && slot.get() == found->second.get()) continue;  // onto itself
    slot = std::move(copy);
    if (operation == kFoMove) parent->children.erase(key);
  }
  return 0;
}

// ---- Platform: message boxes and top-level windows -----------------------------------------------------

int SimPlatform::MessageBoxTimeoutA(WindowHandle owner, const Text& text, const Text& title, uint32_t style,
                                    uint16_t languageId, uint32_t timeoutMs) {
  Lock lock(state_->lock);
  if (!state_->messageBoxAvailable) return 0;
  state_->messageBoxes.push_back({owner, text, title, style, languageId, timeoutMs});
  return state_->messageBoxResult;
}

WindowHandle SimPlatform::FindWindowExA(WindowHandle after) {
  Lock lock(state_->lock);
  std::vector<sim::TopWindow>& z = state_->zOrder;
  if (after == 0) return z.empty() ? 0 : z.front().handle;
  auto it = std::find_if(z.begin(), z.end(), [after](const sim::TopWindow& w) { return w.handle == after; });
  if (it == z.end() || ++it == z.end()) return 0;
  return it->handle;
}

bool SimPlatform::IsWindowVisible(WindowHandle window) {
  Lock lock(state_->lock);
  const sim::TopWindow* found = state_->Window(window);
  return found && found->visible;
}

uint32_t SimPlatform::GetWindowThreadProcessId(WindowHandle window) {
  Lock lock(state_->lock);
  const sim::TopWindow* found = state_->Window(window);
  return found ? found->processId : 0;
}

WindowHandle SimPlatform::GetParent(WindowHandle window) {
  Lock lock(state_->lock);
  const sim::TopWindow* found = state_->Window(window);
  return found ? found->parent : 0;
}

Text SimPlatform::GetClassNameA(WindowHandle window) {
  Lock lock(state_->lock);
  const sim::TopWindow* found = state_->Window(window);
  return found ? found->className : Text();
}

WideText SimPlatform::GetWindowTextW(WindowHandle window) {
  Lock lock(state_->lock);
  const sim::TopWindow* found = state_->Window(window);
  return found ? Wide(found->title) : WideText();
}

// ---- Platform: console commands ---------------------------------------------------------------------------

WideText SimPlatform::GetSystemFolderW() {
  Lock lock(state_->lock);
  return Wide(state_->systemFolder);
}

long SimPlatform::CallGetSystemWow64DirectoryA() {
  Lock lock(state_->lock);
  return state_->wow64Result;
}

ProcessHandle SimPlatform::StartCapturedProcessW(const WideText& program, const WideText& commandLine) {
  std::function<SimCommand(const WideText&, const WideText&)> handler;
  {
    Lock lock(state_->lock);
    state_->started.push_back({program, commandLine, false});
    handler = state_->startHandler;
  }
  const SimCommand command = handler ? handler(program, commandLine) : SimCommand();
  Lock lock(state_->lock);
  if (command.fails) return 0;
  sim::ProcessState process;
  process.command = command;
  process.startedIndex = state_->started.size() - 1;
  if (process.command.chunkSize == 0) process.command.chunkSize = 1;
  // By the time WaitForInputIdle returns the first piece is in the pipe.
  process.released = std::min(command.output.size(), process.command.chunkSize);
  const ProcessHandle handle = state_->nextProcess;
  state_->nextProcess += 4;
  state_->processes[handle] = process;
  return handle;
}

namespace {

bool Running(const sim::ProcessState& p) {
  return !p.terminated && (p.command.neverEnds || p.released < p.command.output.size());
}

}  // namespace

long SimPlatform::PeekCapturedOutput(ProcessHandle process) {
  Lock lock(state_->lock);
  auto it = state_->processes.find(process);
  if (it == state_->processes.end()) return -1;
  sim::ProcessState& p = it->second;
  // A drained pipe lets a still running process write its next piece.
  if (p.readPos == p.released && Running(p)) {
    p.released = std::min(p.command.output.size(), p.released + p.command.chunkSize);
  }
  const size_t waiting = p.released - p.readPos;
  if (waiting > 0) return static_cast<long>(waiting);
  return Running(p) ? 0 : -1;
}

Bytes SimPlatform::ReadCapturedOutput(ProcessHandle process, uint32_t count) {
  Lock lock(state_->lock);
  auto it = state_->processes.find(process);
  if (it == state_->processes.end()) return Bytes();
  sim::ProcessState& p = it->second;
  const size_t take = std::min<size_t>(count, p.released - p.readPos);
  Bytes bytes(p.command.output.begin() + p.readPos, p.command.output.begin() + p.readPos + take);
  p.readPos += take;
  return bytes;
}

bool SimPlatform::IsCapturedProcessRunning(ProcessHandle process) {
  Lock lock(state_->lock);
  auto it = state_->processes.find(process);
  return it != state_->processes.end() && Running(it->second);
}

void SimPlatform::TerminateCapturedProcess(ProcessHandle process) {
  Lock lock(state_->lock);
  auto it = state_->processes.find(process);
  if (it == state_->processes.end()) return;
  it->second.terminated = true;
  // Whatever it had not written yet is lost with it.
  it->second.command.output.resize(it->second.released);
  if (it->second.startedIndex < state_->started.size()) state_->started[it->second.startedIndex].terminated = true;
}

void SimPlatform::CloseCapturedProcess(ProcessHandle process) {
  Lock lock(state_->lock);
  state_->processes.erase(process);
}

}  // namespace bm
