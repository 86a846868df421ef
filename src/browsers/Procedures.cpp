#include "browsers/Procedures.h"

#include "app/Paths.h"
#include "app/SafeReplace.h"
#include "browsers/BrowserCommon.h"
#include "browsers/Firefox.h"
#include "util/RegistryObject.h"

namespace bm {

namespace {

void Say(PressReporter& reporter, Outcome outcome, const BrowserEntry& entry) { reporter.Tell({outcome, &entry}); }

// Whether `folder` holds the files that show the browser (or its backup) there.
bool FilesPresent(Platform& os, const Text& folder, const BrowserEntry& entry) {
  const size_t tested = entry.presence == PresenceTest::KeyFile ? 1 : entry.buttonFiles;
  for (size_t i = 0; i < tested && i < entry.buttonFiles; ++i) {
    if (FileExists(os, FileIn(folder, entry.files[i]))) return true;
  }
  return false;
}

// The files the entry's button copies, from one folder to another.
std::vector<FileCopy> ButtonCopies(const BrowserEntry& entry, const Text& from, const Text& to) {
  std::vector<FileCopy> copies;
  for (size_t i = 0; i < entry.buttonFiles; ++i) copies.push_back({FileIn(from, entry.files[i]), FileIn(to, entry.files[i])});
  return copies;
}

// A folder that exists and holds something.
bool FolderHasEntries(Platform& os, const Text& folder) {
  return FolderExists(os, folder) && !FolderIsEmpty(os, folder);
}

// ---- named files --------------------------------------------------------------------------

void BackupFiles(Platform& os, const PressContext& context, const BrowserEntry& entry, const Text& profile,
                 PressReporter& reporter) {
  if (!FilesPresent(os, profile, entry)) {
    Say(reporter, Outcome::NotFound, entry);
    return;
  }
  MakeFolderPath(os, context.backupRoot);
  const Text target = BackupFolderOf(entry, context.backupRoot);
  const bool copied = MakeFolderPath(os, target) && CopyPresentFiles(os, ButtonCopies(entry, profile, target));
  Say(reporter, copied ? Outcome::BackupDone : Outcome::BackupFailed, entry);
}

void RestoreFiles(Platform& os, const PressContext& context, const BrowserEntry& entry, const Text& base,
                  PressReporter& reporter) {
  const Text profile = ProfileFolderOf(entry, base);
  // A restore never creates a browser's profile folder.
  if (entry.restoreNeedsProfile && !FilesPresent(os, profile, entry)) {
    Say(reporter, Outcome::NotDetected, entry);
    return;
  }
  if (BrowserRunsFrom(os, entry, base)) {
    Say(reporter, Outcome::BrowserRunning, entry);
    return;
  }
  Text source = BackupFolderOf(entry, context.backupRoot);
  if (!FilesPresent(os, source, entry)) {
    source = reporter.ChooseBackupFolder();
    // A cancelled chooser or a virtual item gives no folder: nothing to look
    // at, not even the root of the current drive.
    if (source.empty() || !FilesPresent(os, source, entry)) {
      Say(reporter, Outcome::NoBackupFound, entry);
      return;
    }
  }
  const bool copied = RestorePresentFiles(os, ButtonCopies(entry, source, profile));
  Say(reporter, copied ? Outcome::RestoreDone : Outcome::RestoreFailed, entry);
}

void FilesPress(Platform& os, const PressContext& context, const BrowserEntry& entry, PressReporter& reporter) {
  const auto run = [&](const Text& base) {
    if (context.mode == OperationMode::Backup) {
      BackupFiles(os, context, entry, ProfileFolderOf(entry, base), reporter);
    } else {
      RestoreFiles(os, context, entry, base, reporter);
    }
  };
  if (entry.base == ProfileBase::ProfileRoot) {
    run(context.profileRoot);
    return;
  }
  if (context.appPathsCount == 0) {
    Say(reporter, Outcome::NotFound, entry);
    return;
  }
  bool listed = false;
  for (const Text& name : context.appPathsNames) {
    if (name != entry.appPathsEntry) continue;
    listed = true;
    const Text install = InstallFolderOf(os, entry);
    if (install.empty()) {
      Say(reporter, Outcome::NotFound, entry);
    } else {
      run(install);
    }
  }
  // A key that cannot be opened lists nothing, and then nothing is said.
  if (!listed && !context.appPathsNames.empty()) Say(reporter, Outcome::NotFound, entry);
}

// ---- a whole folder ------------------------------------------------------------------------

void FolderTreePress(Platform& os, const PressContext& context, const BrowserEntry& entry,
                     PressReporter& reporter) {
  const Text profile = ProfileFolderOf(entry, context.profileRoot);
  const bool backup = context.mode == OperationMode::Backup;
  if (!FolderHasEntries(os, profile)) {
    Say(reporter, backup ? Outcome::NotFound : Outcome::NotDetected, entry);
    return;
  }
  if (backup) {
    MakeFolderPath(os, context.backupRoot);
    const Text target = BackupFolderOf(entry, context.backupRoot);
    const bool copied = MakeFolderPath(os, target) && CopyFolderTree(os, profile, target);
    Say(reporter, copied ? Outcome::BackupDone : Outcome::BackupFailed, entry);
    return;
  }
  Text source = BackupFolderOf(entry, context.backupRoot);
  if (!FolderHasEntries(os, source)) {
    source = reporter.ChooseBackupFolder();
    // An empty choice (cancelled, or not a file-system folder) is no folder.
    if (source.empty() || !FolderHasEntries(os, source)) {
      Say(reporter, Outcome::NoBackupFound, entry);
      return;
    }
  }
  const bool copied = SafeReplaceTree(os, source, profile);
  Say(reporter, copied ? Outcome::RestoreDone : Outcome::RestoreFailed, entry);
}

// ---- Maxthon 3, 5 and 7 ---------------------------------------------------------------------

// Maxthon 3 and 5 keep one file each at a fixed place; Maxthon 7 is found
// through its App Paths entry and keeps two files in a guest profile. All
// three share one backup sub-folder.
class MaxthonPress {
 public:
  MaxthonPress(Platform& os, const PressContext& context, PressReporter& reporter)
      : os_(os), context_(context), reporter_(reporter), m7_(Entry(BrowserId::Maxthon7)) {
    // The two file tests come first, whatever the mode.
    for (const BrowserEntry* g : fixed_) present_.push_back(FileExists(os_, ProfileFile(*g)));
  }

  void Backup();
  void Restore();

 private:
  Text ProfileFile(const BrowserEntry& g) const {
    return FileIn(ProfileFolderOf(g, context_.profileRoot), g.files[0]);
  }
  Text BackupFolder() const { return BackupFolderOf(m7_, context_.backupRoot); }
  Text Maxthon7File(const Text& install, const char* file) const {
    return FileIn(ProfileFolderOf(m7_, install), file);
  }
  bool AnyFixedPresent() const {
    for (bool present : present_) {
      if (present) return true;
    }
    return false;
  }
  void Tell(Outcome outcome, const BrowserEntry& g, bool append = false) { reporter_.Tell({outcome, &g, false, append}); }
  // Texts that speak of Maxthon as a whole.
  void TellWhole(Outcome outcome) { reporter_.Tell({outcome, &m7_, true, false}); }
  std::vector<Text> Maxthon7Installs() const;
  void RestoreMaxthon7(const Text& install);
  void RestoreMaxthon7From(const Text& folder, const Text& install);
  void RestoreFromChosenFolder(const Text& install);

  Platform& os_;
  const PressContext& context_;
  PressReporter& reporter_;
  const BrowserEntry& m7_;
  const BrowserEntry* fixed_[2] = {&Entry(BrowserId::Maxthon3), &Entry(BrowserId::Maxthon5)};
  std::vector<bool> present_;  // per fixed generation: its profile file exists
};

// The install folders of the listed "Maxthon.exe" entries that have a usable
// "Path"; an entry without one counts as not found.
std::vector<Text> MaxthonPress::Maxthon7Installs() const {
  std::vector<Text> installs;
  for (const Text& name : context_.appPathsNames) {
    if (name != m7_.appPathsEntry) continue;
    const Text install = InstallFolderOf(os_, m7_);
    if (!install.empty()) installs.push_back(install);
  }
  return installs;
}

void MaxthonPress::Backup() {
  for (size_t i = 0; i < present_.size(); ++i) {
    const BrowserEntry& g = *fixed_[i];
    if (!present_[i]) {
      Tell(Outcome::NotFound, g, true);
      continue;
    }
    MakeFolderPath(os_, context_.backupRoot);
    MakeFolderPath(os_, BackupFolder());
    const bool copied = CopyOneFile(os_, ProfileFile(g), FileIn(BackupFolder(), g.files[0]));
    Tell(copied ? Outcome::BackupDone : Outcome::BackupFailed, g, true);
  }
  if (context_.appPathsCount == 0) {
    if (!AnyFixedPresent()) TellWhole(Outcome::NotFound);
    return;
  }
  bool backedUp7 = false;
  for (const Text& install : Maxthon7Installs()) {
    // Installed but without a bookmark file yet: nothing to copy.
    if (!FileExists(os_, Maxthon7File(install, m7_.files[0]))) continue;
    backedUp7 = true;
    MakeFolderPath(os_, context_.backupRoot);
    MakeFolderPath(os_, BackupFolder());
    const bool copied = CopyPresentFiles(os_, ButtonCopies(m7_, ProfileFolderOf(m7_, install), BackupFolder()));
    Tell(copied ? Outcome::BackupDone : Outcome::BackupFailed, m7_, true);
  }
  // A key that cannot be opened lists nothing, and then Maxthon 7 is not reported.
  if (!backedUp7 && !context_.appPathsNames.empty()) {
    Tell(Outcome::NotFound, m7_, true);
    if (!AnyFixedPresent()) TellWhole(Outcome::NotFound);
  }
}

// The manual fallback of Maxthon 7: one chooser, then every generation that is
// there takes its files from the chosen folder: Maxthon 7 when its guest
// profile folder exists, Maxthon 3 and 5 when this press found their profile
// file. A generation that is not there gets nothing written and no message; a
// profile folder is never created.
void MaxthonPress::RestoreFromChosenFolder(const Text& install) {
  const Text chosen = reporter_.ChooseBackupFolder();
  if (chosen.empty()) {
    Tell(Outcome::NoBackupFound, m7_);
    return;
  }
  bool spoken = false;
  if (FolderExists(os_, ProfileFolderOf(m7_, install))) {
    spoken = true;
    if (!FileExists(os_, FileIn(chosen, m7_.files[0]))) {
      Tell(Outcome::NoBackupFound, m7_);
    } else {
      RestoreMaxthon7From(chosen, install);
    }
  }
  // Maxthon 5 before Maxthon 3, so that a folder holding everything ends on Maxthon 3.
  for (size_t i = present_.size(); i-- > 0;) {
    // Already reported as not detected in this press.
    if (!present_[i]) continue;
    const BrowserEntry& g = *fixed_[i];
    spoken = true;
    const Text from = FileIn(chosen, g.files[0]);
    if (!FileExists(os_, from)) {
      Tell(Outcome::NoBackupFound, g);
      continue;
    }
    Tell(SafeReplaceFile(os_, from, ProfileFile(g)) ? Outcome::RestoreDone : Outcome::RestoreFailed, g);
  }
  if (!spoken) Tell(Outcome::NoBackupFound, m7_);
}

// Maxthon 7's files from `folder` into its guest profile, unless it is running.
void MaxthonPress::RestoreMaxthon7From(const Text& folder, const Text& install) {
  if (BrowserRunsFrom(os_, m7_, install)) {
    Tell(Outcome::BrowserRunning, m7_);
    return;
  }
  const bool restored = RestorePresentFiles(os_, ButtonCopies(m7_, folder, ProfileFolderOf(m7_, install)));
  Tell(restored ? Outcome::RestoreDone : Outcome::RestoreFailed, m7_);
}

void MaxthonPress::RestoreMaxthon7(const Text& install) {
  const Text todays = BackupFolder();
  if (FileExists(os_, FileIn(todays, m7_.files[0]))) {
    RestoreMaxthon7From(todays, install);
  } else if (!FolderExists(os_, todays) || FolderIsEmpty(os_, todays)) {
    RestoreFromChosenFolder(install);
  }
  // Otherwise today's folder holds the other generations' files only.
}

void MaxthonPress::Restore() {
  for (size_t i = 0; i < present_.size(); ++i) {
    const BrowserEntry& g = *fixed_[i];
    if (!present_[i]) {
      Tell(Outcome::NotDetected, g);
      continue;
    }
    const Text backupFile = FileIn(BackupFolder(), g.files[0]);
    if (!FileExists(os_, backupFile)) {
      Tell(Outcome::NoBackupPickFolder, g);
      continue;
    }
    const bool restored = SafeReplaceFile(os_, backupFile, ProfileFile(g));
    Tell(restored ? Outcome::RestoreDone : Outcome::RestoreFailed, g);
  }
  if (context_.appPathsCount == 0) {
    if (!AnyFixedPresent()) TellWhole(Outcome::NotDetected);
    return;
  }
  const std::vector<Text> installs = Maxthon7Installs();
  for (const Text& install : installs) RestoreMaxthon7(install);
  if (installs.empty() && !AnyFixedPresent() && !context_.appPathsNames.empty()) TellWhole(Outcome::NotDetected);
}

}  // namespace

bool BrowserRunsFrom(Platform& os, const BrowserEntry& entry, const Text& base) {
  return entry.lockfile && FileHeldOpen(os, FileIn(DataFolderOf(entry, base), "lockfile"));
}

bool PressListsAppPaths(const BrowserEntry& entry) {
  return entry.base != ProfileBase::ProfileRoot || entry.kind == BrowserKind::Maxthon;
}

void RunBrowserPress(Platform& os, const PressContext& context, const BrowserEntry& entry,
                     PressReporter& reporter) {
  switch (entry.kind) {
    case BrowserKind::Files:
      FilesPress(os, context, entry, reporter);
      break;
    case BrowserKind::FolderTree:
      FolderTreePress(os, context, entry, reporter);
      break;
    case BrowserKind::Maxthon: {
      MaxthonPress press(os, context, reporter);
      if (context.mode == OperationMode::Backup) {
        press.Backup();
      } else {
        press.Restore();
      }
      break;
    }
    case BrowserKind::Firefox:
      RunFirefoxPress(os, context, entry, reporter);
      break;
  }
}

}  // namespace bm
