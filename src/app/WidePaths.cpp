#include "app/WidePaths.h"

namespace bm {

namespace {

WideText FoldedFolder(const WideText& folder) {
  WideText folded = folder;
  while (!folded.empty() && folded.back() == u'\\') folded.pop_back();
  for (char16_t& unit : folded) {
    if (unit >= u'a' && unit <= u'z') unit = static_cast<char16_t>(unit - u'a' + u'A');
  }
  return folded;
}

}  // namespace

WideText WideChild(const WideText& folder, const WideText& name) {
  if (!folder.empty() && folder.back() == u'\\') return folder + name;
  return folder + u'\\' + name;
}

bool WideInside(const WideText& inner, const WideText& outer) {
  const WideText outerFolded = FoldedFolder(outer);
  const WideText innerFolded = FoldedFolder(inner);
  if (innerFolded.compare(0, outerFolded.size(), outerFolded) != 0) return false;
  return innerFolded.size() == outerFolded.size() || innerFolded[outerFolded.size()] == u'\\';
}

bool WideFolderExists(Platform& os, const WideText& path) {
  return !path.empty() && os.PathIsDirectoryW(path) == kAttrDirectory;
}

std::vector<FindDataW> WideFolderEntries(Platform& os, const WideText& folder) {
  std::vector<FindDataW> entries;
  FindDataW found;
  const SearchHandle search = os.FindFirstFileW(WideChild(folder, u"*"), found);
  for (bool have = search != 0; have; have = os.FindNextFileW(search, found)) {
    if (found.name != u"." && found.name != u"..") entries.push_back(found);
  }
  if (search != 0) os.FindClose(search);
  return entries;
}

}  // namespace bm
