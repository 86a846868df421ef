// Emptying a folder of its plain files into the Recycle Bin, and the shell
// file operation beneath it.
#pragma once

#include "platform/Platform.h"

namespace bm {

// Option bits of ShellDelete and ShellFileOperation; they may be combined.
constexpr int kShellNoConfirmation = 1;  // no confirmation prompt
constexpr int kShellNoErrorUi = 2;       // no error dialog from the shell
constexpr int kShellSilent = 4;          // no progress dialog

// Sends every plain file lying directly in `folder` whose name matches
// `pattern` ("|"-joined wildcards; empty: "*.*") to the Recycle Bin without a
// prompt, hidden and read-only files included. Sub-folders and everything in
// them stay. A folder that is not an absolute drive path, a bare drive root or
// a missing folder is left alone.
void ClearFolder(Platform& os, const Text& folder, const Text& pattern = Text());

// Whether `path` is an absolute drive path: a letter, then somewhere ":\" or
// ":/", with runs of either separator counting as one. With `rejectBareRoot`
// a drive letter, colon and separators alone ("D:\", "D:\\", "D:/") is refused.
bool IsWellFormedPath(const Text& path, bool rejectBareRoot);

// Deletes one file or folder through the shell with undo, so it goes to the
// Recycle Bin. True when the shell reports success and nothing was aborted.
bool ShellDelete(Platform& os, const Text& path, int options);

// The shell file operation `operation` (kFoMove .. kFoRename) on one source
// path and, except for delete, one target path; undo is always allowed. False
// without asking the shell for an unknown operation, an empty source, or a
// missing target where one is needed.
bool ShellFileOperation(Platform& os, int operation, const WideText& source, const WideText& target, int options);

}  // namespace bm
