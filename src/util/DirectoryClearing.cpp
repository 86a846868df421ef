#include "util/DirectoryClearing.h"

#include "app/Paths.h"
#include "util/DirectoryListing.h"
#include "util/GbkText.h"

namespace bm {

namespace {

// Replaces every `from` by `to` until none is left, so any run collapses.
void CollapseRuns(Text& text, const Text& from, const Text& to) {
  for (size_t at = text.find(from); at != Text::npos; at = text.find(from)) {
    text.replace(at, from.size(), to);
  }
}

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

// A drive letter and colon followed by nothing but separators of either kind:
// "D:\", and also "D:\/" or "D:/\", which name the same root.
bool IsBareRoot(const Text& collapsed) {
  if (collapsed.size() < 3 || collapsed[1] != ':') return false;
  for (size_t i = 2; i < collapsed.size(); ++i) {
    if (!IsSeparator(collapsed[i])) return false;
  }
  return true;
}

// One path followed by its zero and the zero that closes the list; the path
// ends at its own first zero, so the list never holds a second entry.
WideText PathList(const WideText& path) {
  WideText list = path.substr(0, path.find(u'\0'));
  list.push_back(u'\0');
  list.push_back(u'\0');
  return list;
}

bool HasPath(const WideText& text) { return !text.empty() && text[0] != u'\0'; }

uint16_t ShellFlags(int options) {
  uint16_t flags = kFofAllowUndo;
  if (options & kShellNoConfirmation) flags |= kFofNoConfirmation;
  if (options & kShellNoErrorUi) flags |= kFofNoErrorUi;
  if (options & kShellSilent) flags |= kFofSilent;
  return flags;
}

}  // namespace

bool IsWellFormedPath(const Text& path, bool rejectBareRoot) {
  Text copy = path;
  CollapseRuns(copy, "\\\\", "\\");
  CollapseRuns(copy, "//", "/");
  if (copy.empty()) return false;
  const unsigned char first = static_cast<unsigned char>(copy[0]);
  const unsigned char upper = (first >= 'a' && first <= 'z') ? static_cast<unsigned char>(first - 'a' + 'A') : first;
  if (upper < 'A' || upper > 'Z') return false;
  if (copy.find(":\\") == Text::npos && copy.find(":/") == Text::npos) return false;
  if (rejectBareRoot && IsBareRoot(copy)) return false;
  return true;
}

void ClearFolder(Platform& os, const Text& folder, const Text& pattern) {
  const Text base = WithTrailingBackslash(folder);
  const Text patterns = pattern.empty() ? Text("*.*") : pattern;
  if (!IsWellFormedPath(base, true)) return;
  if (!FolderExists(os, folder)) return;
  TextList files;
  EnumerateFiles(os, base, patterns, files, true);
  // A file that cannot be deleted does not stop the others.
  for (const Text& file : files) ShellDelete(os, file, kShellNoConfirmation);
}

bool ShellDelete(Platform& os, const Text& path, int options) {
  return ShellFileOperation(os, kFoDelete, ToWideText(os, path), WideText(), options);
}

bool ShellFileOperation(Platform& os, int operation, const WideText& source, const WideText& target, int options) {
  if (operation < static_cast<int>(kFoMove) || operation > static_cast<int>(kFoRename)) return false;
  // A list without a path names nothing to operate on.
  if (!HasPath(source)) return false;
  const bool needsTarget = operation != static_cast<int>(kFoDelete);
  if (needsTarget && !HasPath(target)) return false;
  bool anyAborted = false;
  const int result = os.SHFileOperationW(static_cast<uint32_t>(operation), PathList(source),
                                         needsTarget ? PathList(target) : WideText(), ShellFlags(options), anyAborted);
  return result == 0 && !anyAborted;
}

}  // namespace bm
