// The Recycle Bin as Wine keeps it, for the test programs that run under Wine:
// Wine's shell sends deleted items to the freedesktop.org trash of the Unix
// user. The item goes into Trash\files, and Trash\info gets a .trashinfo file
// whose "Path=" line holds the item's Unix path, percent-encoded. On Windows
// itself the bin has no path to look at.
#pragma once

#include <string>
#include <vector>

namespace bm::wine {

// The Unix path Wine maps a DOS path to; empty when not under Wine.
std::string UnixPath(const std::wstring& dosPath);
// The trash folder as a DOS path; empty when not under Wine.
std::wstring TrashFolder();

struct TrashEntry {
  std::wstring infoName;     // "name.trashinfo"
  std::string originalPath;  // the item's Unix path before it was deleted
  std::wstring ItemPath(const std::wstring& trash) const;  // the item in Trash\files
};
std::vector<TrashEntry> TrashEntries(const std::wstring& trash);

// The item in the trash that was `originalPath` (a DOS path), newest first
// when there are several; empty when there is none.
std::wstring TrashedItem(const std::wstring& originalPath);
// Removes from the trash every item that lay below `folder`, with its info
// file; `removeTree` removes an item that is a folder.
void EmptyTrashBelow(const std::wstring& folder, void (*removeTree)(const std::wstring&));

}  // namespace bm::wine
