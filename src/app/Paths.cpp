#include "app/Paths.h"

#include <cstdio>

#include "app/ProcessValues.h"
#include "app/WidePaths.h"
#include "util/GbkText.h"

namespace bm {

WideText ToWideText(Platform& os, const Text& text) {
  if (text.empty()) return WideText();
  return os.MultiByteToWideChar(TextCodePage, text);
}

Text FromWideText(Platform& os, const WideText& wide) {
  const size_t end = wide.find(u'\0');
  const WideText head = end == WideText::npos ? wide : wide.substr(0, end);
  if (head.empty()) return Text();
  return os.WideCharToMultiByte(TextCodePage, head);
}

Text GetLogonUserName(Platform& os) {
  Text name;
  return os.GetUserNameA(name) ? name : Text();
}

Text ProfileRoot(Platform& os) {
  Text reported = FromWideText(os, os.GetProfileFolderW());
  // Every path piece brings its own leading backslash.
  while (EndsWithBackslash(reported)) reported.pop_back();
  if (!reported.empty()) return reported;
  return "C:\\Users\\" + GetLogonUserName(os);
}

Text DateText(Platform& os) {
  const LocalDate today = os.GetLocalDate();
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%d年%d月%d日", today.year, today.month, today.day);
  return buffer;
}

Text BackupRoot(Platform& os, const Text& drive) { return drive + "浏览器书签备份" + DateText(os); }

bool MakeFolderPath(Platform& os, const Text& path) {
  const WideText wide = ToWideText(os, path);
  // Fewer than three code units cannot name a folder below a drive.
  if (wide.size() >= 3) {
    int backslashesSeen = 0;
    for (size_t i = 0; i < wide.size(); ++i) {
      if (wide[i] != u'\\') continue;
      // The first backslash follows the drive letter: nothing to create there.
      if (backslashesSeen > 0) os.CreateDirectoryW(wide.substr(0, i));
      ++backslashesSeen;
    }
    os.CreateDirectoryW(wide);
  }
  return FolderExists(os, path);
}

bool FolderExists(Platform& os, const Text& path) {
  if (path.empty()) return false;
  return os.PathIsDirectoryW(ToWideText(os, path)) == kAttrDirectory;
}

bool FolderIsEmpty(Platform& os, const Text& path) { return os.PathIsDirectoryEmptyA(path); }

bool CreateOneFolder(Platform& os, const Text& path) { return os.CreateDirectoryA(path); }

Text ChooseFolder(Platform& os, const Text& startFolder, const ChooseFolderOptions& options) {
  const Text title = options.title.empty() ? Text("请选择一个文件夹") : options.title;
  uint32_t flags = 0;
  if (options.includeFiles) flags |= kBifBrowseIncludeFiles;
  if (options.editBox) flags |= kBifEditBox;
  if (options.newStyle) flags |= kBifNewDialogStyle;
  const FolderChoice choice =
      os.BrowseForFolderW(options.owner, ToWideText(os, title), flags, ToWideText(os, startFolder));
  if (!choice.chosen) return Text();
  return FromWideText(os, choice.path);
}

namespace {

bool Passes(uint32_t attributes, std::optional<uint32_t> filter) {
  if (!filter) return (attributes & kAttrDirectory) == 0;
  const uint32_t mask = *filter & 0x37;
  return mask != 0 ? (attributes & mask) != 0 : attributes == 0;
}

}  // namespace

Text SearchSlot::FindFirstName(const Text& pattern, std::optional<uint32_t> filter) {
  FindData found;
  bool have = false;
  if (!pattern.empty()) {
    Close();
    search_ = os_.FindFirstFileA(pattern, found);
    have = search_ != 0;
  } else if (search_ != 0) {
    have = os_.FindNextFileA(search_, found);
  }
  while (have) {
    if (Passes(found.attributes, filter)) return found.name;
    have = os_.FindNextFileA(search_, found);
  }
  Close();
  return Text();
}

void SearchSlot::Close() {
  if (search_ != 0) os_.FindClose(search_);
  search_ = 0;
}

Text FindFirstName(Platform& os, const Text& pattern, std::optional<uint32_t> filter) {
  SearchSlot slot(os);
  return slot.FindFirstName(pattern, filter);
}

bool FileExists(Platform& os, const Text& path) { return !FindFirstName(os, path).empty(); }

bool CopyOneFile(Platform& os, const Text& from, const Text& to) { return os.CopyFileA(from, to, false); }

namespace {

// Copies one file of a tree. Windows will not replace a hidden file, and a
// favourites folder holds a hidden, system desktop.ini: when the copy is
// refused, such a target has those two bits taken off and the source's
// attributes put on after. A read-only target is left alone and the copy
// fails. The plain copy comes first, so that the thousands of ordinary
// favourites of a tree cost one call each.
bool ReplaceFile(Platform& os, const WideText& from, const WideText& to, uint32_t sourceAttributes) {
  if (os.CopyFileW(from, to, false)) return true;
  const uint32_t existing = os.GetFileAttributesW(to);
  const uint32_t hiddenOrSystem = kAttrHidden | kAttrSystem;
  const bool unhide = existing != kInvalidFileAttributes && (existing & hiddenOrSystem) &&
                      !(existing & kAttrReadOnly) && !(existing & kAttrDirectory);
  if (!unhide) return false;
  os.SetFileAttributesW(to, (existing & ~hiddenOrSystem) | kAttrArchive);
  if (!os.CopyFileW(from, to, false)) {
    os.SetFileAttributesW(to, existing);
    return false;
  }
  // Not every file system hands the source's attributes on to a replaced
  // file; desktop.ini must stay hidden.
  os.SetFileAttributesW(to, sourceAttributes);
  return true;
}

// The contents of one folder into another, which is created when missing.
bool CopyContents(Platform& os, const WideText& source, const WideText& target) {
  if (!WideFolderExists(os, target) && !os.CreateDirectoryW(target)) return false;
  bool allCopied = true;
  for (const FindDataW& entry : WideFolderEntries(os, source)) {
    const WideText from = WideChild(source, entry.name);
    const WideText to = WideChild(target, entry.name);
    const bool copied = (entry.attributes & kAttrDirectory) ? CopyContents(os, from, to)
                                                            : ReplaceFile(os, from, to, entry.attributes);
    allCopied = allCopied && copied;
  }
  return allCopied;
}

}  // namespace

bool CopyFolderTree(Platform& os, const Text& source, const Text& target) {
  const WideText from = ToWideText(os, source);
  const WideText to = ToWideText(os, target);
  if (!WideFolderExists(os, from) || WideInside(to, from)) return false;
  return CopyContents(os, from, to);
}

}  // namespace bm
