// The three 360 browsers. They are found through their App Paths entries: the
// entry's "Path" value names the program folder, and the profile lies next to
// it in "User Data\Default", holding "Bookmarks" and "360Bookmarks".
#pragma once

#include <vector>

#include "platform/Platform.h"
#include "util/RegistryObject.h"

namespace bm {

struct Browser360 {
  int controlId;
  const char* caption;       // the button's caption
  const char* entryName;     // its App Paths entry, matched byte for byte
  const char* backupFolder;  // below BackupRoot, with its leading backslash
  const char* name;          // the browser as its messages write it
};

const std::vector<Browser360>& Browsers360();

// The folder holding the program: the entry's "Path" up to and including its
// last backslash. Empty when the value is missing, empty or has no backslash,
// so that no path is ever built relative to the current folder.
Text InstallFolder360(Platform& os, const RegistryObject& registry, const Browser360& browser);

// The two bookmark files, first the key file.
extern const char* const kBookmarkFiles360[2];  // "Bookmarks", "360Bookmarks"

}  // namespace bm
