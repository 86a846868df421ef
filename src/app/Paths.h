// Paths, folders and the file primitives every handler uses. None of these
// shows a message; each reports through its result.
#pragma once

#include <cstdint>
#include <optional>

#include "platform/Platform.h"

namespace bm {

// ---- texts ------------------------------------------------------------------
// Conversions with TextCodePage (936). The wide text carries no terminator.
WideText ToWideText(Platform& os, const Text& text);
// Up to the first zero code unit.
Text FromWideText(Platform& os, const WideText& wide);

// ---- the user, the date, the backup folder ------------------------------------
// The logon name of the calling thread; empty when it cannot be read.
Text GetLogonUserName(Platform& os);
// The current user's profile folder as Windows reports it, without a trailing
// backslash; "C:\Users\" + the logon name when Windows does not say.
Text ProfileRoot(Platform& os);
// Today as "%d年%d月%d日".
Text DateText(Platform& os);
// `drive` (the selected drive, such as "D:\") + "浏览器书签备份" + DateText.
Text BackupRoot(Platform& os, const Text& drive);

// ---- folders --------------------------------------------------------------------
// Creates every missing folder along the path, then reports FolderExists.
bool MakeFolderPath(Platform& os, const Text& path);
bool FolderExists(Platform& os, const Text& path);
// True only for an existing folder without entries.
bool FolderIsEmpty(Platform& os, const Text& path);
// One folder level; false when it exists already or its parent is missing.
bool CreateOneFolder(Platform& os, const Text& path);

struct ChooseFolderOptions {
  Text title;  // empty: "请选择一个文件夹"
  bool includeFiles = false;
  bool editBox = false;
  bool newStyle = false;
  WindowHandle owner = 0;
};
// The folder chooser, opened on `startFolder`. Empty text when the user
// cancelled or picked something that is not a file-system folder.
Text ChooseFolder(Platform& os, const Text& startFolder, const ChooseFolderOptions& options = {});

// ---- file search --------------------------------------------------------------------
// The search slot of one calling procedure: FindFirstName keeps its search open
// here between calls, and the slot closes it when the procedure ends, so nested
// and recursive callers never disturb one another.
class SearchSlot {
 public:
  explicit SearchSlot(Platform& os) : os_(os) {}
  ~SearchSlot() { Close(); }
  SearchSlot(const SearchSlot&) = delete;
  SearchSlot& operator=(const SearchSlot&) = delete;

  // The bare name of the first entry matching `pattern` and `filter`; an empty
  // pattern continues the open search. Without a filter only non-folders pass;
  // with one, entries sharing a bit with filter & 0x37 (or, for a zero mask,
  // entries whose attributes are exactly 0).
  Text FindFirstName(const Text& pattern, std::optional<uint32_t> filter = std::nullopt);
  void Close();

 private:
  Platform& os_;
  SearchHandle search_ = 0;
};

// The file-existence test: FindFirstName of a full path with no filter, in a
// slot of its own.
Text FindFirstName(Platform& os, const Text& pattern, std::optional<uint32_t> filter = std::nullopt);
bool FileExists(Platform& os, const Text& path);

// ---- copies ---------------------------------------------------------------------------
// One file, replacing an existing target; the target's folder must exist.
bool CopyOneFile(Platform& os, const Text& from, const Text& to);
// The contents of `source` (files and sub-folders, at any depth) into `target`,
// which is created when missing; files of the same name are replaced, hidden
// and system ones (desktop.ini) included, read-only ones not. Every name inside
// the tree is read and written as UTF-16, so names GBK cannot write are copied
// too. False when the source is not a folder, the target is the source or
// lies inside it, or anything could not be copied.
bool CopyFolderTree(Platform& os, const Text& source, const Text& target);

}  // namespace bm
