// The single-browser backup and restore: one procedure per kind of browser,
// serving every catalogue entry of that kind. A procedure touches no control:
// it works from what the press took (the context) and reports its outcomes,
// in order, to the caller, which turns them into texts.
#pragma once

#include "browsers/Catalogue.h"

namespace bm {

enum class OperationMode { None, Backup, Restore };

// Firefox's process-wide values: the profile folder the user gave, and the
// count of the Firefox button's clicks that picks the backup a restore takes.
struct FirefoxState {
  Text* profileFolder = nullptr;
  int32_t* clickCount = nullptr;
};

// What one press takes once, on the window's thread, before it works.
struct PressContext {
  OperationMode mode = OperationMode::None;
  Text drive;        // the selected drive, such as "D:\"; the chooser starts there
  Text profileRoot;  // ProfileRoot
  Text backupRoot;   // BackupRoot of that drive and day
  // The App Paths entries, listed for the presses of browsers found there.
  TextList appPathsNames;
  int appPathsCount = 0;  // EnumerateSubkeys' answer
  FirefoxState firefox;   // for the Firefox button
};

enum class Outcome {
  BackupDone,
  BackupFailed,
  NotFound,      // a backup found no bookmark file
  NotInstalled,  // a backup found not even the browser's profiles
  RestoreDone,
  RestoreFailed,
  NotDetected,         // a restore found no profile to restore into
  NoBackupPickFolder,  // today's backup lacks a file, and nothing more is done for it
  NoBackupFound,       // no backup in today's folder or the chosen one
  BrowserRunning,      // the browser holds its profile: nothing was replaced
  RestoreAlone,        // the one-click restore leaves this browser to its own button
};

struct Report {
  Outcome outcome;
  const BrowserEntry* entry;  // whose texts
  bool wholeButton = false;   // speaks of the button as a whole, named by its caption
  bool append = false;        // adds to the press's summary instead of replacing the label
  int number = 0;             // the backup a rotating restore took, counted from 1
};

// The caller's side of a press.
class PressReporter {
 public:
  virtual ~PressReporter() = default;
  virtual void Tell(const Report& report) = 0;
  // Today's backup lacks the browser: ask the user for the folder that holds
  // it. Empty when nothing usable was chosen.
  virtual Text ChooseBackupFolder() = 0;
  // Firefox's restore has no profile folder yet: ask the user for it, which
  // sets the context's FirefoxState profile folder when they give one.
  virtual void AskFirefoxProfileFolder() = 0;
};

// Whether the browser runs from the profile below `base`: a Chromium-based
// browser holds "lockfile" in its data folder open while it runs, and rewrites
// its bookmarks from memory, so that a restore made under it is undone.
bool BrowserRunsFrom(Platform& os, const BrowserEntry& entry, const Text& base);

// Whether the press of this entry's button lists the App Paths entries first.
bool PressListsAppPaths(const BrowserEntry& entry);

// One press of the entry's button in a mode other than None.
void RunBrowserPress(Platform& os, const PressContext& context, const BrowserEntry& entry,
                     PressReporter& reporter);

}  // namespace bm
