// Every browser and browser generation the program knows, one entry each:
// where its profile lies, which files hold its bookmarks, where its backup
// goes and how its texts name it. The buttons, the single-browser procedures
// and the one-click operations all read their paths from here.
#pragma once

#include <vector>

#include "platform/Platform.h"

namespace bm {

// In the order the one-click operations walk them.
enum class BrowserId {
  Chrome,
  IE,
  Edge,
  Sogou,
  TSBrowser,
  Firefox,
  Maxthon3,
  Maxthon5,
  Maxthon7,
  Speed360,
  Speed360X,
  Safe360,
  QQ,
  DualCoreSmall,
  DualCoreLarge,
  Liebao,
};

// Where the profile's base folder comes from.
enum class ProfileBase {
  ProfileRoot,    // the user's profile folder
  AppPathsCut,    // an App Paths entry's "Path", cut after its last backslash
  AppPathsWhole,  // an App Paths entry's "Path", taken whole
};

// The procedure that serves an entry's button.
enum class BrowserKind {
  Files,       // named files in a profile folder
  FolderTree,  // a whole folder (IE's Favorites)
  Maxthon,     // Maxthon 3, 5 and 7 behind one button
  Firefox,     // one database in every profile folder
};

// Which files tell that a browser (or its backup) is there.
enum class PresenceTest {
  KeyFile,  // the first file only
  AnyFile,  // any file, tried in order
};

struct BrowserEntry {
  BrowserId id;
  BrowserKind kind;
  const char* caption;       // its button's caption (shared by Maxthon's generations)
  const char* name;          // the browser as its texts write it
  const char* backupFolder;  // its sub-folder's name in a backup folder
  ProfileBase base;
  const char* appPathsEntry;  // for an App Paths base: the entry, matched byte for byte
  // The browser's own data folder after the base. Chromium-based browsers
  // keep their "lockfile" here while they run.
  const char* dataFolder;
  const char* profileFolder;     // after the data folder: where the files lie
  std::vector<const char*> files;  // the same names in the profile, a backup and a chosen folder
  size_t buttonFiles;              // how many of `files` its own button copies
  PresenceTest presence;           // what its own button looks for
  PresenceTest oneClickPresence;   // what the one-click backup looks for
  bool lockfile;                   // Chromium-based: "lockfile" in the data folder while running
  bool restoreNeedsProfile;        // its button restores only into a profile that is there
  // Texts of its own, where it does not use the common ones (empty: common).
  const char* notFoundText;
  const char* notDetectedText;
  const char* backupDoneText = "";
  bool oneClickLinePerFile = false;  // the one-click backup tests, copies and reports each file alone
};

const std::vector<BrowserEntry>& Catalogue();
const BrowserEntry& Entry(BrowserId id);

// The profile folder below `base` (ProfileRoot, or the install folder an App
// Paths entry names): where the entry's files lie.
Text ProfileFolderOf(const BrowserEntry& entry, const Text& base);
// The data folder below `base`.
Text DataFolderOf(const BrowserEntry& entry, const Text& base);
// The folders the entry's profile hangs below: ProfileRoot, or the install
// folder of every listed App Paths entry of its name that has a usable "Path".
std::vector<Text> ProfileBasesOf(Platform& os, const BrowserEntry& entry, const Text& profileRoot,
                                 const TextList& appPathsNames);
// Its sub-folder in a backup folder such as BackupRoot.
Text BackupFolderOf(const BrowserEntry& entry, const Text& backupFolder);
// `folder` + "\" + `file`.
Text FileIn(const Text& folder, const char* file);
// The install folder an App Paths entry's "Path" names, cut or whole as the
// entry says; empty when the value is missing or empty (or, cut, has no
// backslash), so that no path is ever built relative to the current folder.
Text InstallFolderOf(Platform& os, const BrowserEntry& entry);

}  // namespace bm
