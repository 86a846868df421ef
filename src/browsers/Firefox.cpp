#include "browsers/Firefox.h"

#include "app/Paths.h"
#include "app/SafeReplace.h"
#include "util/DirectoryClearing.h"
#include "util/DirectoryListing.h"

namespace bm {

namespace {

const char kWal[] = "places.sqlite-wal";
const char kShm[] = "places.sqlite-shm";

void Say(PressReporter& reporter, Outcome outcome, const BrowserEntry& firefox, int number = 0) {
  reporter.Tell({outcome, &firefox, false, false, number});
}

// Sends a file to the Recycle Bin when it is there; false when it stays.
bool RecycleIfPresent(Platform& os, const Text& path) {
  if (!FileExists(os, path)) return true;
  return ShellDelete(os, path, kShellNoConfirmation | kShellNoErrorUi | kShellSilent) && !FileExists(os, path);
}

TextList Subfolders(Platform& os, const Text& folder) {
  TextList names;
  ListSubfolders(os, folder, names);
  return names;
}

void Backup(Platform& os, const PressContext& context, const BrowserEntry& firefox, PressReporter& reporter) {
  const Text profiles = ProfileFolderOf(firefox, context.profileRoot);
  const TextList names = Subfolders(os, profiles);
  if (FolderExists(os, profiles) && FolderIsEmpty(os, profiles)) {
    Say(reporter, Outcome::NotFound, firefox);
    return;
  }
  if (names.empty()) {
    Say(reporter, Outcome::NotInstalled, firefox);
    return;
  }
  // Profile folders without a database are passed over in silence.
  const Text backupFolder = BackupFolderOf(firefox, context.backupRoot);
  for (const Text& name : names) {
    const Outcome outcome = BackupFirefoxProfile(os, firefox, FileIn(profiles, name.c_str()),
                                                 FileIn(backupFolder, name.c_str()));
    if (outcome != Outcome::NotFound) Say(reporter, outcome, firefox);
  }
}

// Puts one backup into the profile Firefox uses. A log left beside a replaced
// database would be replayed onto it, so the profile's log and shared memory
// go to the Recycle Bin first; the database is copied before the backup's own
// log, so that a failure in between leaves a database that opens.
bool RestoreProfile(Platform& os, const BrowserEntry& firefox, const Text& source, const Text& profile) {
  const Text database = FileIn(source, firefox.files[0]);
  // A backup without its database replaces nothing, not even the log.
  if (!FileExists(os, database)) return false;
  if (!RecycleIfPresent(os, FileIn(profile, kWal)) || !RecycleIfPresent(os, FileIn(profile, kShm))) return false;
  if (!SafeReplaceFile(os, database, FileIn(profile, firefox.files[0]))) return false;
  const Text wal = FileIn(source, kWal);
  return !FileExists(os, wal) || SafeReplaceFile(os, wal, FileIn(profile, kWal));
}

// The backup a click takes: the newest on a first click, one further back on
// each click after it, and round again after the oldest. More clicks than
// backups (clicks in the other mode count too) take the oldest and start over.
int BackupNumber(int backups, int32_t& clickCount) {
  const int number = backups + 1 - clickCount;
  if (number > 1) return number;
  clickCount = 0;
  return 1;
}

void Restore(Platform& os, const PressContext& context, const BrowserEntry& firefox, PressReporter& reporter) {
  const FirefoxState& state = context.firefox;
  const Text profiles = ProfileFolderOf(firefox, context.profileRoot);
  const TextList names = Subfolders(os, profiles);
  if (!FolderExists(os, profiles)) {
    Say(reporter, Outcome::NotDetected, firefox);
    return;
  }
  const Text backupFolder = BackupFolderOf(firefox, context.backupRoot);
  if (!FolderExists(os, backupFolder) || FolderIsEmpty(os, backupFolder)) {
    Say(reporter, Outcome::NoBackupFound, firefox);
    return;
  }
  if (state.profileFolder->empty()) reporter.AskFirefoxProfileFolder();
  // Closed, or refused (the window has said so): nothing more to do.
  if (state.profileFolder->empty()) return;
  const TextList backups = Subfolders(os, backupFolder);
  if (backups.empty()) {
    Say(reporter, Outcome::NoBackupFound, firefox);
    return;
  }
  const int number = BackupNumber(static_cast<int>(backups.size()), *state.clickCount);
  // Only a user with a profile in use gets anything restored.
  bool anyProfile = false;
  for (const Text& name : names) anyProfile = anyProfile || !FolderIsEmpty(os, FileIn(profiles, name.c_str()));
  if (!anyProfile) return;
  // Firefox holds "parent.lock" against everyone while it runs; it leaves the
  // file behind when it ends, and then it opens.
  if (FileHeldOpen(os, FileIn(*state.profileFolder, "parent.lock"))) {
    Say(reporter, Outcome::BrowserRunning, firefox);
    return;
  }
  const Text source = FileIn(backupFolder, backups[number - 1].c_str());
  const bool restored = RestoreProfile(os, firefox, source, *state.profileFolder);
  Say(reporter, restored ? Outcome::RestoreDone : Outcome::RestoreFailed, firefox, restored ? number : 0);
}

}  // namespace

Outcome BackupFirefoxProfile(Platform& os, const BrowserEntry& firefox, const Text& profile, const Text& target) {
  const Text database = FileIn(profile, firefox.files[0]);
  if (!FileExists(os, database)) return Outcome::NotFound;
  if (!MakeFolderPath(os, target)) return Outcome::BackupFailed;
  const Text wal = FileIn(profile, kWal);
  // A log from an earlier backup must not stay beside a database that no longer needs it.
  const bool walCopied = FileExists(os, wal) ? CopyOneFile(os, wal, FileIn(target, kWal))
                                             : RecycleIfPresent(os, FileIn(target, kWal));
  const bool copied = CopyOneFile(os, database, FileIn(target, firefox.files[0]));
  return walCopied && copied ? Outcome::BackupDone : Outcome::BackupFailed;
}

void RunFirefoxPress(Platform& os, const PressContext& context, const BrowserEntry& firefox,
                     PressReporter& reporter) {
  if (context.mode == OperationMode::Backup) {
    Backup(os, context, firefox, reporter);
  } else {
    Restore(os, context, firefox, reporter);
  }
}

}  // namespace bm
