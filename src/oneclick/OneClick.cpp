#include "oneclick/OneClick.h"

#include "app/Paths.h"
#include "app/SafeReplace.h"
#include "browsers/BrowserCommon.h"
#include "browsers/Firefox.h"
#include "util/DirectoryClearing.h"
#include "util/DirectoryListing.h"

namespace bm {

namespace {

bool FolderHasEntries(Platform& os, const Text& folder) {
  return FolderExists(os, folder) && !FolderIsEmpty(os, folder);
}

// Whether `folder` holds the entry's files as the one-click operations test them.
bool OneClickPresent(Platform& os, const BrowserEntry& entry, const Text& folder) {
  const size_t tested = entry.oneClickPresence == PresenceTest::KeyFile ? 1 : entry.files.size();
  for (size_t i = 0; i < tested && i < entry.files.size(); ++i) {
    if (FileExists(os, FileIn(folder, entry.files[i]))) return true;
  }
  return false;
}

std::vector<FileCopy> AllCopies(const BrowserEntry& entry, const Text& from, const Text& to) {
  std::vector<FileCopy> copies;
  for (const char* file : entry.files) copies.push_back({FileIn(from, file), FileIn(to, file)});
  return copies;
}

Outcome BackedUp(bool copied) { return copied ? Outcome::BackupDone : Outcome::BackupFailed; }
Outcome Restored(bool copied) { return copied ? Outcome::RestoreDone : Outcome::RestoreFailed; }

// ---- backup ----------------------------------------------------------------------------------

void BackupFirefox(Platform& os, const BrowserEntry& firefox, const Text& profileRoot, const Text& target,
                   RowSink& sink) {
  const Text profiles = ProfileFolderOf(firefox, profileRoot);
  if (!FolderExists(os, profiles)) return;
  TextList names;
  ListSubfolders(os, profiles, names);
  bool failed = false;
  for (const Text& name : names) {
    const Outcome outcome =
        BackupFirefoxProfile(os, firefox, FileIn(profiles, name.c_str()), FileIn(target, name.c_str()));
    failed = failed || outcome == Outcome::BackupFailed;
  }
  // One line for every profile together, also when none held a database.
  sink.Row(firefox, BackedUp(!failed));
}

void BackupRow(Platform& os, const BrowserEntry& entry, const Text& profileRoot, const Text& backupRoot,
               const TextList& appPathsNames, RowSink& sink) {
  const Text target = BackupFolderOf(entry, backupRoot);
  if (entry.kind == BrowserKind::Firefox) {
    BackupFirefox(os, entry, profileRoot, target, sink);
    return;
  }
  if (entry.kind == BrowserKind::FolderTree) {
    const Text profile = ProfileFolderOf(entry, profileRoot);
    // Only favourites that are there are backed up.
    if (!FolderHasEntries(os, profile)) return;
    CreateOneFolder(os, target);
    sink.Row(entry, BackedUp(CopyFolderTree(os, profile, target)));
    return;
  }
  for (const Text& base : ProfileBasesOf(os, entry, profileRoot, appPathsNames)) {
    const Text profile = ProfileFolderOf(entry, base);
    if (entry.oneClickLinePerFile) {
      for (const char* file : entry.files) {
        if (!FileExists(os, FileIn(profile, file))) continue;
        CreateOneFolder(os, target);
        sink.Row(entry, BackedUp(CopyOneFile(os, FileIn(profile, file), FileIn(target, file))));
      }
      continue;
    }
    // An install without a bookmark file yet has nothing to back up.
    if (!OneClickPresent(os, entry, profile)) continue;
    CreateOneFolder(os, target);
    sink.Row(entry, BackedUp(CopyPresentFiles(os, AllCopies(entry, profile, target))));
  }
}

// ---- restore ---------------------------------------------------------------------------------

// Whether a row restores only into a profile folder that is already there:
// browsers under the user's profile do; IE's Favorites and the install
// folders are filled whatever they hold.
bool NeedsTargetFolder(const BrowserEntry& entry) {
  return entry.base == ProfileBase::ProfileRoot && entry.kind != BrowserKind::FolderTree;
}

int RestoreRow(Platform& os, const BrowserEntry& entry, const Text& profileRoot, const Text& source,
               const TextList& appPathsNames, RowSink& sink) {
  const Text backup = BackupFolderOf(entry, source);
  if (!FolderExists(os, backup)) return 0;
  if (entry.kind == BrowserKind::Firefox) {
    if (!FolderExists(os, ProfileFolderOf(entry, profileRoot)) || FolderIsEmpty(os, backup)) return 0;
    sink.Row(entry, Outcome::RestoreAlone);
    return 1;
  }
  // Maxthon's generations share one sub-folder and are told apart by their files.
  const bool byFiles = entry.kind == BrowserKind::Maxthon;
  if (byFiles ? !OneClickPresent(os, entry, backup) : FolderIsEmpty(os, backup)) return 0;
  int acted = 0;
  for (const Text& base : ProfileBasesOf(os, entry, profileRoot, appPathsNames)) {
    const Text profile = ProfileFolderOf(entry, base);
    if (NeedsTargetFolder(entry) && !FolderExists(os, profile)) continue;
    ++acted;
    if (BrowserRunsFrom(os, entry, base)) {
      sink.Row(entry, Outcome::BrowserRunning);
      continue;
    }
    const bool copied =
        byFiles ? RestorePresentFiles(os, AllCopies(entry, backup, profile)) : SafeReplaceTree(os, backup, profile);
    sink.Row(entry, Restored(copied));
  }
  return acted;
}

}  // namespace

OneClickBackupResult RunOneClickBackup(Platform& os, const Text& profileRoot, const Text& backupRoot,
                                       const TextList& appPathsNames, RowSink& sink) {
  // Sub-folders of an earlier run today stay; loose files go to the bin.
  ClearFolder(os, backupRoot);
  CreateOneFolder(os, backupRoot);
  if (!FolderExists(os, backupRoot)) return OneClickBackupResult::NoBackupRoot;
  for (const BrowserEntry& entry : Catalogue()) {
    if (sink.Stopping()) return OneClickBackupResult::Stopped;
    BackupRow(os, entry, profileRoot, backupRoot, appPathsNames, sink);
  }
  return OneClickBackupResult::Done;
}

int RunOneClickRestore(Platform& os, const Text& profileRoot, const Text& source, const TextList& appPathsNames,
                       RowSink& sink) {
  int acted = 0;
  for (const BrowserEntry& entry : Catalogue()) acted += RestoreRow(os, entry, profileRoot, source, appPathsNames, sink);
  return acted;
}

}  // namespace bm
