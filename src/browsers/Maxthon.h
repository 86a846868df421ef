// Maxthon 3, 5 and 7 behind one button, sharing one backup sub-folder.
// Maxthon 3 and 5 keep one file each in the roaming application data; Maxthon
// 7 is found through its App Paths entry and keeps two files in a guest
// profile below its install folder.
#pragma once

#include <vector>

#include "platform/Platform.h"
#include "util/RegistryObject.h"

namespace bm {

// A generation whose bookmark file lies at a fixed place below ProfileRoot.
struct MaxthonFixedGeneration {
  const char* name;           // as its messages write it, e.g. "遨游3浏览器"
  const char* profileFolder;  // below ProfileRoot, with its leading backslash
  const char* fileName;       // the same name in the profile, the backup and a chosen folder
};

// Maxthon 3, then Maxthon 5.
const std::vector<MaxthonFixedGeneration>& MaxthonFixedGenerations();

extern const char kMaxthonBackupFolder[];    // "\遨游浏览器", below BackupRoot
extern const char kMaxthon7EntryName[];      // "Maxthon.exe"
extern const char kMaxthon7ProfileFolder[];  // "\User Data\Maxthon Guest Profile", after the install folder
extern const char* const kMaxthon7Files[2];  // "Bookmarks" (the key file), "Bookmarks.bak"

// The whole "Path" value of Maxthon 7's entry; empty when it is missing or empty.
Text Maxthon7InstallFolder(Platform& os, const RegistryObject& registry);

}  // namespace bm
