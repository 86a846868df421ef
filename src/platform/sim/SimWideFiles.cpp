// Files of the simulated Windows by wide path: directory searches, copies,
// attributes, moves, deletes and the lock probe. The ANSI calls convert their
// GBK paths and come here, so both kinds of call see the same files.
#include "platform/sim/SimState.h"

namespace bm {

using sim::Drive;
using sim::Node;
using sim::ParsedPath;
using sim::Wide;
using Lock = std::lock_guard<std::recursive_mutex>;

namespace {

// What a directory search reports: a file without any attribute is "normal".
uint32_t ReportedAttributes(const Node& node) {
  if (node.folder) return node.attributes | kAttrDirectory;
  return node.attributes == 0 ? kAttrNormal : node.attributes;
}

// A path that names an entry: a drive alone or a trailing separator does not.
bool NamesEntry(const ParsedPath& path) { return path.valid && !path.parts.empty() && !path.trailingSeparator; }

}  // namespace

// ---- state helpers ------------------------------------------------------------------------

bool SimPlatform::State::WriteFile(const WideText& path, const Text& content, uint32_t attributes) {
  const ParsedPath parsed = Parse(path);
  if (!NamesEntry(parsed)) return false;
  Node* parent = MakeFoldersTo(parsed, parsed.parts.size() - 1, kAttrDirectory);
  if (!parent) return false;
  const WideText& name = parsed.parts.back();
  if (!sim::ValidName(name)) return false;
  std::unique_ptr<Node>& slot = parent->children[sim::Fold(name)];
  if (slot && slot->folder) return false;
  if (!slot) {
    slot = std::make_unique<Node>();
    slot->name = name;
  }
  slot->content = content;
  slot->attributes = attributes & ~kAttrDirectory;
  return true;
}

SearchHandle SimPlatform::State::StartSearch(const WideText& pattern, FindDataW& found) {
  const ParsedPath parsed = Parse(pattern);
  // A pattern ending in a separator names no entry; nor does a bare drive.
  if (!NamesEntry(parsed)) return 0;
  const Node* folder = FindParent(parsed);
  if (!folder) return 0;
  const WideText& last = parsed.parts.back();
  Search search;
  if (last.find_first_of(u"*?") == WideText::npos) {
    auto it = folder->children.find(sim::Fold(last));
    if (it == folder->children.end()) return 0;
    search.entries.push_back({ReportedAttributes(*it->second), it->second->name});
  } else {
    if (parsed.parts.size() > 1) {
      // A folder below the root lists itself and its parent first.
      for (const char16_t* dots : {u".", u".."}) {
        if (sim::WildcardMatch(last, dots)) search.entries.push_back({kAttrDirectory, dots});
      }
    }
    for (const auto& entry : folder->children) {
      if (sim::WildcardMatch(last, entry.second->name))
        search.entries.push_back({ReportedAttributes(*entry.second), entry.second->name});
    }
  }
  if (search.entries.empty()) return 0;
  found = search.entries[0];
  search.next = 1;
  const SearchHandle handle = nextSearch++;
  searches[handle] = std::move(search);
  return handle;
}

bool SimPlatform::State::NextFound(SearchHandle search, FindDataW& found) {
  auto it = searches.find(search);
  if (it == searches.end() || it->second.next >= it->second.entries.size()) return false;
  found = it->second.entries[it->second.next++];
  return true;
}

bool SimPlatform::State::CopyFile(const WideText& from, const WideText& to, bool failIfExists) {
  const ParsedPath source = Parse(from);
  const ParsedPath target = Parse(to);
  const Node* sourceNode = Find(source);
  if (!sourceNode || sourceNode->folder || HeldAgainstReading(source)) return false;
  if (!NamesEntry(target)) return false;
  Drive* drive = FindDrive(target.drive);
  if (!drive || drive->readOnly) return false;
  Node* parent = FindParent(target);
  if (!parent) return false;
  const WideText& name = target.parts.back();
  if (!sim::ValidName(name)) return false;
  const WideText key = sim::Fold(name);
  auto it = parent->children.find(key);
  if (it != parent->children.end()) {
    const Node& existing = *it->second;
    if (existing.folder || failIfExists || IsHeld(target)) return false;
    // Windows refuses to replace a read-only or a hidden file.
    if (existing.attributes & (kAttrReadOnly | kAttrHidden)) return false;
    if (&existing == sourceNode) return false;  // a file cannot be copied onto itself
  }
  if (copiesUntilFailure > 0 && --copiesUntilFailure == 0) {
    // What was written so far is removed, the file that stood there with it.
    if (it != parent->children.end()) parent->children.erase(it);
    return false;
  }
  if (it == parent->children.end()) {
    auto copy = std::make_unique<Node>();
    copy->name = name;
    it = parent->children.emplace(key, std::move(copy)).first;
  }
  it->second->content = sourceNode->content;
  it->second->attributes = sourceNode->attributes;
  return true;
}

uint32_t SimPlatform::State::Attributes(const WideText& path) {
  const Node* node = Find(Parse(path));
  return node ? ReportedAttributes(*node) : kInvalidFileAttributes;
}

bool SimPlatform::State::SetFileAttributes(const WideText& path, uint32_t attributes) {
  const ParsedPath parsed = Parse(path);
  const Drive* drive = FindDrive(parsed.drive);
  Node* node = Find(parsed);
  if (!drive || drive->readOnly || !node) return false;
  node->attributes = node->folder ? (attributes | kAttrDirectory) : (attributes & ~kAttrDirectory);
  return true;
}

// ---- knobs ----------------------------------------------------------------------------------

bool SimPlatform::WriteFileW(const WideText& path, const Text& content, uint32_t attributes) {
  Lock lock(state_->lock);
  return state_->WriteFile(path, content, attributes);
}

std::optional<Text> SimPlatform::ReadFileW(const WideText& path) const {
  Lock lock(state_->lock);
  const Node* node = state_->Find(state_->Parse(path));
  if (!node || node->folder) return std::nullopt;
  return node->content;
}

bool SimPlatform::IsFileW(const WideText& path) const {
  Lock lock(state_->lock);
  const Node* node = state_->Find(state_->Parse(path));
  return node && !node->folder;
}

void SimPlatform::HoldOpenSharingRead(const Text& path, bool held) {
  Lock lock(state_->lock);
  state_->Hold(state_->heldSharingRead, Wide(path), held);
}

void SimPlatform::FailCopy(int nth) {
  Lock lock(state_->lock);
  state_->copiesUntilFailure = nth > 0 ? nth : 0;
}

// ---- Platform: wide file calls ------------------------------------------------------------------

SearchHandle SimPlatform::FindFirstFileW(const WideText& pattern, FindDataW& found) {
  Lock lock(state_->lock);
  return state_->StartSearch(pattern, found);
}

bool SimPlatform::FindNextFileW(SearchHandle search, FindDataW& found) {
  Lock lock(state_->lock);
  return state_->NextFound(search, found);
}

bool SimPlatform::CopyFileW(const WideText& from, const WideText& to, bool failIfExists) {
  Lock lock(state_->lock);
  return state_->CopyFile(from, to, failIfExists);
}

uint32_t SimPlatform::GetFileAttributesW(const WideText& path) {
  Lock lock(state_->lock);
  return state_->Attributes(path);
}

bool SimPlatform::SetFileAttributesW(const WideText& path, uint32_t attributes) {
  Lock lock(state_->lock);
  return state_->SetFileAttributes(path, attributes);
}

bool SimPlatform::MoveFileExW(const WideText& from, const WideText& to, uint32_t flags) {
  Lock lock(state_->lock);
  const ParsedPath source = state_->Parse(from);
  const ParsedPath target = state_->Parse(to);
  if (!NamesEntry(source) || !NamesEntry(target)) return false;
  Drive* sourceDrive = state_->FindDrive(source.drive);
  Drive* targetDrive = state_->FindDrive(target.drive);
  Node* sourceParent = state_->FindParent(source);
  Node* targetParent = state_->FindParent(target);
  if (!sourceDrive || !targetDrive || sourceDrive->readOnly || targetDrive->readOnly) return false;
  if (!sourceParent || !targetParent) return false;
  const WideText sourceKey = sim::Fold(source.parts.back());
  auto found = sourceParent->children.find(sourceKey);
  if (found == sourceParent->children.end() || state_->AnyHeldBelow(source)) return false;
  const bool folder = found->second->folder;
  // Another drive means copying: Windows does it for a file when allowed to.
  if (source.drive != target.drive && (folder || !(flags & kMoveFileCopyAllowed))) return false;
  const WideText& name = target.parts.back();
  if (!sim::ValidName(name)) return false;
  // A folder cannot go into itself.
  const WideText sourcePath = sim::PathKey(source);
  const WideText targetPath = sim::PathKey(target);
  if (folder && targetPath.size() > sourcePath.size() && targetPath.compare(0, sourcePath.size(), sourcePath) == 0 &&
      targetPath[sourcePath.size()] == u'\\')
    return false;
  const WideText targetKey = sim::Fold(name);
  auto existing = targetParent->children.find(targetKey);
  const bool sameEntry = existing != targetParent->children.end() && existing->second.get() == found->second.get();
  if (existing != targetParent->children.end() && !sameEntry) {
    const Node& old = *existing->second;
    if (!(flags & kMoveFileReplaceExisting) || folder || old.folder) return false;
    if ((old.attributes & kAttrReadOnly) || state_->IsHeld(target)) return false;
  }
  std::unique_ptr<Node> node = std::move(found->second);
  sourceParent->children.erase(found);
  node->name = name;
  targetParent->children[targetKey] = std::move(node);
  return true;
}

bool SimPlatform::DeleteFileW(const WideText& path) {
  Lock lock(state_->lock);
  const ParsedPath parsed = state_->Parse(path);
  const Drive* drive = state_->FindDrive(parsed.drive);
  Node* parent = state_->FindParent(parsed);
  if (!NamesEntry(parsed) || !drive || drive->readOnly || !parent) return false;
  auto found = parent->children.find(sim::Fold(parsed.parts.back()));
  if (found == parent->children.end() || found->second->folder) return false;
  if ((found->second->attributes & kAttrReadOnly) || state_->IsHeld(parsed)) return false;
  parent->children.erase(found);
  return true;
}

long SimPlatform::OpenForWriteAndCloseW(const WideText& path) {
  Lock lock(state_->lock);
  const ParsedPath parsed = state_->Parse(path);
  if (!parsed.valid || !state_->FindDrive(parsed.drive)) return kErrorPathNotFound;
  if (parsed.parts.empty()) return kErrorAccessDenied;  // the drive's root folder
  if (!state_->FindParent(parsed)) return kErrorPathNotFound;
  const Node* node = state_->Find(parsed);
  if (!node) return parsed.trailingSeparator ? kErrorPathNotFound : kErrorFileNotFound;
  // A folder opens only with backup semantics, which this open does not ask for.
  if (node->folder || (node->attributes & kAttrReadOnly)) return kErrorAccessDenied;
  if (state_->IsHeld(parsed)) return kErrorSharingViolation;
  if (state_->FindDrive(parsed.drive)->readOnly) return kErrorWriteProtect;
  return kErrorSuccess;
}

}  // namespace bm
