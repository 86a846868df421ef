// The simulated Windows: texts, the user and the clock, files and folders, the
// folder chooser and the program's windows. The registry, the shell, message
// boxes, top-level windows and commands live in the other sources here.
#include "platform/sim/SimPlatform.h"

#include "platform/sim/SimState.h"

namespace bm {

using sim::Drive;
using sim::Node;
using sim::ParsedPath;
using sim::Wide;
using sim::Gbk;

using Lock = std::lock_guard<std::recursive_mutex>;

// ---- state helpers -------------------------------------------------------------------

Drive* SimPlatform::State::FindDrive(char16_t letter) {
  auto it = drives.find(letter);
  return it == drives.end() ? nullptr : &it->second;
}

Node* SimPlatform::State::Find(const ParsedPath& path) {
  if (!path.valid) return nullptr;
  Drive* drive = FindDrive(path.drive);
  if (!drive) return nullptr;
  Node* node = &drive->root;
  for (const WideText& part : path.parts) {
    if (!node->folder) return nullptr;
    auto it = node->children.find(sim::Fold(part));
    if (it == node->children.end()) return nullptr;
    node = it->second.get();
  }
  // "D:\a.txt\" names no file: a trailing separator asks for a folder.
  if (path.trailingSeparator && !node->folder) return nullptr;
  return node;
}

Node* SimPlatform::State::FindParent(const ParsedPath& path) {
  if (!path.valid || path.parts.empty()) return nullptr;
  ParsedPath parent = path;
  parent.parts.pop_back();
  parent.trailingSeparator = false;
  Node* node = Find(parent);
  return node && node->folder ? node : nullptr;
}

bool SimPlatform::State::AnyHeldBelow(const ParsedPath& path) const {
  const WideText key = sim::PathKey(path);
  for (const std::set<WideText>* held : {&heldOpen, &heldSharingRead}) {
    for (const WideText& file : *held) {
      if (file == key || (file.size() > key.size() && file.compare(0, key.size(), key) == 0 && file[key.size()] == u'\\'))
        return true;
    }
  }
  return false;
}

Node* SimPlatform::State::MakeFoldersTo(const ParsedPath& path, size_t depth, uint32_t attributes) {
  if (!path.valid) return nullptr;
  Drive* drive = FindDrive(path.drive);
  if (!drive) return nullptr;
  Node* node = &drive->root;
  for (size_t i = 0; i < depth; ++i) {
    if (!node->folder) return nullptr;
    const WideText key = sim::Fold(path.parts[i]);
    auto it = node->children.find(key);
    if (it == node->children.end()) {
      if (!sim::ValidName(path.parts[i])) return nullptr;
      auto child = std::make_unique<Node>();
      child->name = path.parts[i];
      child->folder = true;
      child->attributes = (i + 1 == depth ? attributes : 0) | kAttrDirectory;
      it = node->children.emplace(key, std::move(child)).first;
    }
    node = it->second.get();
  }
  return node->folder ? node : nullptr;
}

bool SimPlatform::State::CreateFolder(const WideText& widePath) {
  const ParsedPath path = Parse(widePath);
  if (!path.valid || path.parts.empty()) return false;
  Drive* drive = FindDrive(path.drive);
  if (!drive || drive->readOnly) return false;
  Node* parent = FindParent(path);
  if (!parent) return false;
  const WideText& name = path.parts.back();
  if (!sim::ValidName(name) || parent->children.count(sim::Fold(name))) return false;
  auto child = std::make_unique<Node>();
  child->name = name;
  child->folder = true;
  child->attributes = kAttrDirectory;
  parent->children.emplace(sim::Fold(name), std::move(child));
  return true;
}

sim::ControlState* SimPlatform::State::Control(int id) {
  auto it = controls.find(id);
  return it == controls.end() ? nullptr : &it->second;
}

void SimPlatform::State::WriteControlText(int id, const Text& text) {
  sim::ControlState* control = Control(id);
  if (!control) return;
  control->text = text;
  control->writes.push_back(text);
}

// ---- construction ----------------------------------------------------------------------

SimPlatform::SimPlatform() : state_(std::make_unique<State>()) {
  AddDrive('C');
  AddDrive('D');
  for (RegRoot root : {RegRoot::ClassesRoot, RegRoot::CurrentUser, RegRoot::LocalMachine, RegRoot::Users,
                       RegRoot::CurrentConfig}) {
    auto node = std::make_shared<sim::RegNode>();
    state_->regRoots[root] = node;
  }
  state_->startHandler = [](const WideText&, const WideText&) { return SimCommand(); };
}

SimPlatform::SimPlatform(SimPlatform&&) noexcept = default;

// ---- knobs: files ------------------------------------------------------------------------

void SimPlatform::AddDrive(char letter) {
  Lock lock(state_->lock);
  const char16_t key = sim::FoldUnit(static_cast<char16_t>(letter));
  Drive& drive = state_->drives[key];
  drive.root.folder = true;
  drive.root.attributes = kAttrDirectory;
}

void SimPlatform::RemoveDrive(char letter) {
  Lock lock(state_->lock);
  state_->drives.erase(sim::FoldUnit(static_cast<char16_t>(letter)));
}

void SimPlatform::SetCurrentFolder(const Text& folder) {
  Lock lock(state_->lock);
  state_->currentFolder = Wide(folder);
}

void SimPlatform::SetDriveReadOnly(char letter, bool readOnly) {
  Lock lock(state_->lock);
  if (Drive* drive = state_->FindDrive(sim::FoldUnit(static_cast<char16_t>(letter)))) drive->readOnly = readOnly;
}

bool SimPlatform::WriteFile(const Text& path, const Text& content, uint32_t attributes) {
  Lock lock(state_->lock);
  return state_->WriteFile(Wide(path), content, attributes);
}

bool SimPlatform::MakeFolders(const Text& path, uint32_t attributes) {
  Lock lock(state_->lock);
  const ParsedPath parsed = state_->Parse(Wide(path));
  return state_->MakeFoldersTo(parsed, parsed.parts.size(), attributes) != nullptr;
}

bool SimPlatform::SetAttributes(const Text& path, uint32_t attributes) {
  Lock lock(state_->lock);
  Node* node = state_->Find(path);
  if (!node) return false;
  node->attributes = node->folder ? (attributes | kAttrDirectory) : (attributes & ~kAttrDirectory);
  return true;
}

std::optional<Text> SimPlatform::ReadFile(const Text& path) const {
  Lock lock(state_->lock);
  const Node* node = state_->Find(path);
  if (!node || node->folder) return std::nullopt;
  return node->content;
}

bool SimPlatform::IsFile(const Text& path) const {
  Lock lock(state_->lock);
  const Node* node = state_->Find(path);
  return node && !node->folder;
}

bool SimPlatform::IsFolder(const Text& path) const {
  Lock lock(state_->lock);
  const Node* node = state_->Find(path);
  return node && node->folder;
}

uint32_t SimPlatform::AttributesOf(const Text& path) const {
  Lock lock(state_->lock);
  return state_->Attributes(Wide(path));
}

void SimPlatform::HoldOpen(const Text& path, bool held) {
  Lock lock(state_->lock);
  state_->Hold(state_->heldOpen, Wide(path), held);
}

namespace {

void DumpNode(const Node& node, const Text& path, Text& out) {
  for (const auto& entry : node.children) {
    const Node& child = *entry.second;
    const Text childPath = path + "\\" + Gbk(child.name);
    if (child.folder) {
      out += childPath + "\\\n";
      DumpNode(child, childPath, out);
    } else {
      out += childPath + "=" + child.content + "\n";
    }
  }
}

}  // namespace

Text SimPlatform::DumpFiles() const {
  Lock lock(state_->lock);
  Text out;
  for (const auto& drive : state_->drives) {
    const Text letter(1, static_cast<char>(drive.first));
    DumpNode(drive.second.root, letter + ":", out);
  }
  return out;
}

// ---- knobs: the user, the clock ------------------------------------------------------------

void SimPlatform::SetUserName(const Text& name) {
  Lock lock(state_->lock);
  state_->userName = name;
}

void SimPlatform::SetUserNameFails(bool fails) {
  Lock lock(state_->lock);
  state_->userNameFails = fails;
}

void SimPlatform::SetProfileFolder(const Text& folder) {
  Lock lock(state_->lock);
  state_->profileFolder = folder;
}

void SimPlatform::SetDate(int year, int month, int day) {
  Lock lock(state_->lock);
  state_->date = {year, month, day};
}

void SimPlatform::SetOsVersion(uint32_t major, uint32_t minor, uint32_t build, bool readable) {
  Lock lock(state_->lock);
  state_->osMajor = major;
  state_->osMinor = minor;
  state_->osBuild = build;
  state_->osReadable = readable;
}

void SimPlatform::AdvanceClock(uint32_t milliseconds) {
  Lock lock(state_->lock);
  state_->tick += milliseconds;
}

// ---- knobs: the folder chooser ----------------------------------------------------------------

void SimPlatform::QueueChooserAnswer(const ChooserAnswer& answer) {
  Lock lock(state_->lock);
  state_->answers.push_back(answer);
}

std::vector<ChooserCall> SimPlatform::ChooserCalls() const {
  Lock lock(state_->lock);
  return state_->chooserCalls;
}

void SimPlatform::OnChooserOpen(std::function<void()> action) {
  Lock lock(state_->lock);
  state_->chooserAction = std::move(action);
}

// ---- knobs: the program's windows ----------------------------------------------------------------

bool SimPlatform::MainWindowCreated() const {
  Lock lock(state_->lock);
  return state_->windowCreated;
}

const ControlSpec* SimPlatform::FindControl(int id) const {
  Lock lock(state_->lock);
  const sim::ControlState* control = state_->Control(id);
  return control ? &control->layout : nullptr;
}

WindowSpec SimPlatform::MainWindow() const {
  Lock lock(state_->lock);
  return state_->window;
}

void SimPlatform::Click(int id) {
  EventSink* sink = nullptr;
  {
    Lock lock(state_->lock);
    sim::ControlState* control = state_->Control(id);
    if (!control || !control->enabled || !state_->TakesInput(*control)) return;
    if (control->layout.kind == ControlKind::RadioButton) {
      // Radio buttons with the same parent form one group.
      for (auto& entry : state_->controls) {
        sim::ControlState& other = entry.second;
        if (other.layout.kind == ControlKind::RadioButton && other.layout.parentId == control->layout.parentId)
          other.checked = false;
      }
      control->checked = true;
    }
    sink = state_->sink;
  }
  if (sink) sink->OnControlEvent(id, ControlEvent::Clicked);
}

void SimPlatform::PickComboItem(int id, int index) {
  EventSink* sink = nullptr;
  {
    Lock lock(state_->lock);
    sim::ControlState* control = state_->Control(id);
    if (!control || !control->enabled || control->layout.kind != ControlKind::ComboBox || !state_->TakesInput(*control))
      return;
    if (index < 0 || index >= static_cast<int>(control->layout.items.size())) return;
    control->selected = index;
    sink = state_->sink;
  }
  if (sink) sink->OnControlEvent(id, ControlEvent::SelectionChanged);
}

std::vector<Text> SimPlatform::TextWrites(int id) const {
  Lock lock(state_->lock);
  const sim::ControlState* control = state_->Control(id);
  return control ? control->writes : std::vector<Text>();
}

int SimPlatform::PumpCount() const {
  Lock lock(state_->lock);
  return state_->pumpCount;
}

// ---- Platform: texts, the user, the machine ----------------------------------------------------------

int SimPlatform::GetACP() { return 936; }

WideText SimPlatform::MultiByteToWideChar(int codePage, const Text& text) { return sim::ToWide(codePage, text); }

Text SimPlatform::WideCharToMultiByte(int codePage, const WideText& text) { return sim::FromWide(codePage, text); }

bool SimPlatform::GetUserNameA(Text& name) {
  Lock lock(state_->lock);
  if (state_->userNameFails) return false;
  name = state_->userName;
  return true;
}

WideText SimPlatform::GetProfileFolderW() {
  Lock lock(state_->lock);
  return Wide(state_->profileFolder);
}

LocalDate SimPlatform::GetLocalDate() {
  Lock lock(state_->lock);
  return state_->date;
}

bool SimPlatform::QueryOsVersion(uint32_t& major, uint32_t& minor, uint32_t& build) {
  Lock lock(state_->lock);
  if (!state_->osReadable) return false;
  major = state_->osMajor;
  minor = state_->osMinor;
  build = state_->osBuild;
  return true;
}

uint32_t SimPlatform::GetCurrentProcessId() {
  Lock lock(state_->lock);
  return state_->processId;
}

uint32_t SimPlatform::GetTickCount() {
  Lock lock(state_->lock);
  return state_->tick;
}

void SimPlatform::Sleep(uint32_t milliseconds) {
  Lock lock(state_->lock);
  state_->tick += milliseconds;
}

// ---- Platform: files and folders ------------------------------------------------------------------------

namespace {

// The ANSI search reports names in GBK; what GBK cannot write becomes '?'.
void ToAnsi(const FindDataW& wide, FindData& found) {
  found.attributes = wide.attributes;
  found.name = Gbk(wide.name);
}

}  // namespace

SearchHandle SimPlatform::FindFirstFileA(const Text& pattern, FindData& found) {
  Lock lock(state_->lock);
  FindDataW wide;
  const SearchHandle search = state_->StartSearch(Wide(pattern), wide);
  if (search != 0) ToAnsi(wide, found);
  return search;
}

bool SimPlatform::FindNextFileA(SearchHandle search, FindData& found) {
  Lock lock(state_->lock);
  FindDataW wide;
  if (!state_->NextFound(search, wide)) return false;
  ToAnsi(wide, found);
  return true;
}

void SimPlatform::FindClose(SearchHandle search) {
  Lock lock(state_->lock);
  state_->searches.erase(search);
}

bool SimPlatform::CopyFileA(const Text& from, const Text& to, bool failIfExists) {
  Lock lock(state_->lock);
  return state_->CopyFile(Wide(from), Wide(to), failIfExists);
}

bool SimPlatform::CreateDirectoryA(const Text& path) {
  Lock lock(state_->lock);
  return state_->CreateFolder(Wide(path));
}

bool SimPlatform::CreateDirectoryW(const WideText& path) {
  Lock lock(state_->lock);
  return state_->CreateFolder(path);
}

uint32_t SimPlatform::PathIsDirectoryW(const WideText& path) {
  Lock lock(state_->lock);
  const Node* node = state_->Find(state_->Parse(path));
  return node && node->folder ? kAttrDirectory : 0;
}

uint32_t SimPlatform::GetFileAttributesA(const Text& path) { return AttributesOf(path); }

bool SimPlatform::SetFileAttributesA(const Text& path, uint32_t attributes) {
  Lock lock(state_->lock);
  return state_->SetFileAttributes(Wide(path), attributes);
}

bool SimPlatform::PathIsDirectoryEmptyA(const Text& path) {
  Lock lock(state_->lock);
  const Node* node = state_->Find(path);
  return node && node->folder && node->children.empty();
}

FolderChoice SimPlatform::BrowseForFolderW(WindowHandle owner, const WideText& title, uint32_t flags,
                                           const WideText& startFolder) {
  std::function<void()> action;
  ChooserAnswer answer;
  {
    Lock lock(state_->lock);
    ChooserCall call;
    call.owner = owner;
    call.title = Gbk(title);
    call.flags = flags;
    call.startFolder = Gbk(startFolder);
    for (const auto& entry : state_->controls) call.textsWhileOpen[entry.first] = entry.second.text;
    state_->chooserCalls.push_back(call);
    if (!state_->answers.empty()) {
      answer = state_->answers.front();
      state_->answers.erase(state_->answers.begin());
    }
    // The action does not run again for a chooser it opens itself.
    if (!state_->inChooserAction && state_->chooserAction) {
      action = state_->chooserAction;
      state_->inChooserAction = true;
    }
  }
  if (action) {
    action();
    Lock lock(state_->lock);
    state_->inChooserAction = false;
  }
  FolderChoice choice;
  switch (answer.kind) {
    case ChooserAnswer::Folder:
      choice.chosen = true;
      choice.path = Wide(answer.folder);
      break;
    case ChooserAnswer::Virtual:
      choice.chosen = true;
      break;
    case ChooserAnswer::Cancel:
      break;
  }
  return choice;
}

// ---- Platform: the program's windows and controls ------------------------------------------------------

void SimPlatform::SetEventSink(EventSink* sink) {
  Lock lock(state_->lock);
  state_->sink = sink;
}

bool SimPlatform::CreateMainWindow(const WindowSpec& window, const std::vector<ControlSpec>& controls) {
  EventSink* sink = nullptr;
  {
    Lock lock(state_->lock);
    if (state_->windowCreated) return false;
    state_->window = window;
    state_->mainWindow = state_->AddWindow(window, controls, "BookmarkBackupMainWindow");
    state_->windowCreated = true;
    state_->windowThread = std::this_thread::get_id();
    sink = state_->sink;
  }
  if (sink) sink->OnWindowCreated(window.id);
  return true;
}

// The user closes the window at once; what was posted before is handled first.
int SimPlatform::RunMessageLoop() {
  DeliverPosted();
  return 0;
}

void SimPlatform::PumpMessages() {
  {
    Lock lock(state_->lock);
    ++state_->pumpCount;
    state_->tick += 1;
  }
  DeliverPosted();
}

WindowHandle SimPlatform::ControlWindow(int id) {
  Lock lock(state_->lock);
  const sim::ControlState* control = state_->Control(id);
  return control ? control->handle : 0;
}

bool SimPlatform::IsButtonChecked(int id) {
  Lock lock(state_->lock);
  const sim::ControlState* control = state_->Control(id);
  return control && control->checked;
}

int SimPlatform::ComboSelectedIndex(int id) {
  Lock lock(state_->lock);
  const sim::ControlState* control = state_->Control(id);
  return control ? control->selected : -1;
}

int SimPlatform::ComboItemCount(int id) {
  Lock lock(state_->lock);
  const sim::ControlState* control = state_->Control(id);
  return control ? static_cast<int>(control->layout.items.size()) : 0;
}

Text SimPlatform::ComboItemText(int id, int index) {
  Lock lock(state_->lock);
  const sim::ControlState* control = state_->Control(id);
  if (!control || index < 0 || index >= static_cast<int>(control->layout.items.size())) return Text();
  return control->layout.items[index];
}

void SimPlatform::ComboSelect(int id, int index) {
  Lock lock(state_->lock);
  state_->NoteWindowWrite(id);
  sim::ControlState* control = state_->Control(id);
  if (!control) return;
  // CB_SETCURSEL outside the list clears the selection.
  control->selected = index >= 0 && index < static_cast<int>(control->layout.items.size()) ? index : -1;
}

void SimPlatform::SetControlText(int id, const Text& text) {
  Lock lock(state_->lock);
  state_->NoteWindowWrite(id);
  state_->DropPostedText(id);
  state_->WriteControlText(id, text);
}

Text SimPlatform::GetControlText(int id) {
  Lock lock(state_->lock);
  const sim::ControlState* control = state_->Control(id);
  if (!control) return Text();
  // A drop-down list shows its selected item.
  if (control->layout.kind == ControlKind::ComboBox && control->selected >= 0) return control->layout.items[control->selected];
  return control->text;
}

}  // namespace bm
