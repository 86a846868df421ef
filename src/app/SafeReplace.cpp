#include "app/SafeReplace.h"

#include <string>
#include <vector>

#include "app/Paths.h"
#include "app/WidePaths.h"

namespace bm {

namespace {

constexpr uint16_t kToTheBin = kFofAllowUndo | kFofNoConfirmation | kFofSilent | kFofNoErrorUi;
constexpr uint32_t kHiddenOrSystem = kAttrHidden | kAttrSystem;

FileLock LockOf(long openResult) {
  switch (openResult) {
    case kErrorSuccess: return FileLock::Opens;
    case kErrorFileNotFound:
    case kErrorPathNotFound: return FileLock::Missing;
    case kErrorSharingViolation:
    case kErrorLockViolation: return FileLock::Held;
    default: return FileLock::Refused;
  }
}

// One file to put in place, with the copy that waits beside its target.
struct Replacement {
  WideText from;
  WideText to;
  uint32_t sourceAttributes = 0;
  bool replaces = false;  // the target exists and goes to the bin
  WideText temporary;     // empty until the copy is written
};

// Whether the target can be replaced: missing, or a file that is neither
// read-only nor held open by another program. Notes whether it exists.
bool Replaceable(Platform& os, Replacement& file) {
  const uint32_t attributes = os.GetFileAttributesW(file.to);
  file.replaces = attributes != kInvalidFileAttributes;
  if (!file.replaces) return true;
  if (attributes & (kAttrDirectory | kAttrReadOnly)) return false;
  return LockOf(os.OpenForWriteAndCloseW(file.to)) == FileLock::Opens;
}

WideText Decimal(unsigned number) {
  const std::string digits = std::to_string(number);
  return WideText(digits.begin(), digits.end());
}

// A free name in the target's folder. Short, so that a target whose own name
// nearly fills the path limit still has room for its copy.
WideText TemporaryBeside(Platform& os, const WideText& to, unsigned& counter) {
  const WideText folder = to.substr(0, to.rfind(u'\\') + 1);
  for (int tries = 0; tries < 1000; ++tries) {
    const WideText candidate = folder + u"~bm" + Decimal(counter++) + u".tmp";
    if (os.GetFileAttributesW(candidate) == kInvalidFileAttributes) return candidate;
  }
  return WideText();
}

// A copy of a read-only source is read-only too, and would not go.
void RemoveTemporary(Platform& os, Replacement& file) {
  if (file.temporary.empty()) return;
  os.SetFileAttributesW(file.temporary, kAttrNormal);
  os.DeleteFileW(file.temporary);
  file.temporary.clear();
}

// The copy takes the target's place. Not every file system hands hidden and
// system bits on with a copy; desktop.ini must stay hidden.
bool PutInPlace(Platform& os, Replacement& file) {
  if (!os.MoveFileExW(file.temporary, file.to, 0)) return false;  // the copy stays, nothing is lost
  file.temporary.clear();
  if (file.sourceAttributes & kHiddenOrSystem) os.SetFileAttributesW(file.to, file.sourceAttributes);
  return true;
}

// Every target that exists, in one shell operation, so that the bin gets one
// entry per file but the shell is asked once for the whole restore.
bool SendTargetsToBin(Platform& os, const std::vector<Replacement>& batch) {
  WideText list;
  for (const Replacement& file : batch) {
    if (file.replaces) list += file.to + u'\0';
  }
  if (list.empty()) return true;
  list += u'\0';
  bool aborted = false;
  return os.SHFileOperationW(kFoDelete, list, WideText(), kToTheBin, aborted) == 0 && !aborted;
}

// The steps after the targets were found replaceable: all copies, then the
// bin, then the moves.
bool ReplaceAll(Platform& os, std::vector<Replacement>& batch) {
  unsigned counter = 0;
  for (Replacement& file : batch) {
    file.temporary = TemporaryBeside(os, file.to, counter);
    if (file.temporary.empty() || !os.CopyFileW(file.from, file.temporary, true)) {
      for (Replacement& written : batch) RemoveTemporary(os, written);
      return false;
    }
  }
  if (!SendTargetsToBin(os, batch)) {
    // The shell may have taken some before it stopped: those get their new
    // file, every other target stays as it was.
    for (Replacement& file : batch) {
      const bool taken = file.replaces && os.GetFileAttributesW(file.to) == kInvalidFileAttributes;
      if (taken) {
        PutInPlace(os, file);
      } else {
        RemoveTemporary(os, file);
      }
    }
    return false;
  }
  bool allPlaced = true;
  for (Replacement& file : batch) allPlaced = PutInPlace(os, file) && allPlaced;
  return allPlaced;
}

// The files of a source tree with their targets, and the target folders the
// tree needs, parents first. Nothing is created yet.
void Gather(Platform& os, const WideText& source, const WideText& target, std::vector<Replacement>& batch,
            std::vector<WideText>& folders) {
  for (const FindDataW& entry : WideFolderEntries(os, source)) {
    const WideText from = WideChild(source, entry.name);
    const WideText to = WideChild(target, entry.name);
    if (entry.attributes & kAttrDirectory) {
      folders.push_back(to);
      Gather(os, from, to, batch, folders);
    } else {
      Replacement file;
      file.from = from;
      file.to = to;
      file.sourceAttributes = entry.attributes;
      batch.push_back(file);
    }
  }
}

bool MakeMissingFolder(Platform& os, const WideText& folder) {
  return WideFolderExists(os, folder) || os.CreateDirectoryW(folder);
}

}  // namespace

FileLock ProbeFileLock(Platform& os, const Text& path) {
  return LockOf(os.OpenForWriteAndCloseW(ToWideText(os, path)));
}

bool FileHeldOpen(Platform& os, const Text& path) { return ProbeFileLock(os, path) == FileLock::Held; }

bool SafeReplaceFile(Platform& os, const Text& from, const Text& to) {
  Replacement file;
  file.from = ToWideText(os, from);
  file.to = ToWideText(os, to);
  file.sourceAttributes = os.GetFileAttributesW(file.from);
  if (file.sourceAttributes == kInvalidFileAttributes || (file.sourceAttributes & kAttrDirectory)) return false;
  if (WideInside(file.to, file.from) || !Replaceable(os, file)) return false;
  std::vector<Replacement> batch{file};
  return ReplaceAll(os, batch);
}

bool SafeReplaceTree(Platform& os, const Text& source, const Text& target) {
  const WideText from = ToWideText(os, source);
  const WideText to = ToWideText(os, target);
  if (!WideFolderExists(os, from) || WideInside(to, from)) return false;
  std::vector<Replacement> batch;
  std::vector<WideText> folders{to};
  Gather(os, from, to, batch, folders);
  for (Replacement& file : batch) {
    if (!Replaceable(os, file)) return false;
  }
  for (const WideText& folder : folders) {
    const uint32_t attributes = os.GetFileAttributesW(folder);
    if (attributes != kInvalidFileAttributes && !(attributes & kAttrDirectory)) return false;  // a file in the way
  }
  for (const WideText& folder : folders) {
    if (!MakeMissingFolder(os, folder)) return false;
  }
  return ReplaceAll(os, batch);
}

}  // namespace bm
