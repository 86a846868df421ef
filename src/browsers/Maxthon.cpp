#include "browsers/Maxthon.h"

#include "app/MainWindow.h"
#include "app/Paths.h"
#include "browsers/BrowserButtons.h"
#include "browsers/BrowserCommon.h"

namespace bm {

const char kMaxthonBackupFolder[] = "\\遨游浏览器";
const char kMaxthon7EntryName[] = "Maxthon.exe";
const char kMaxthon7ProfileFolder[] = "\\User Data\\Maxthon Guest Profile";
const char* const kMaxthon7Files[2] = {"Bookmarks", "Bookmarks.bak"};

const std::vector<MaxthonFixedGeneration>& MaxthonFixedGenerations() {
  static const std::vector<MaxthonFixedGeneration> generations = {
      {"遨游3浏览器", "\\appdata\\Roaming\\Maxthon3\\Users\\guest\\Favorite", "Favorite.dat"},
      {"遨游5浏览器", "\\appdata\\Roaming\\Maxthon5\\Users\\guest\\Molebox", "Molebox.dat"},
  };
  return generations;
}

Text Maxthon7InstallFolder(Platform& os, const RegistryObject& registry) {
  return registry.ReadText(os, Text(kAppPathsKey) + "\\" + kMaxthon7EntryName, "Path");
}

namespace {

const char kMaxthon7Name[] = "遨游7浏览器";
// The name of the messages that speak of Maxthon as a whole.
const char kMaxthonName[] = "遨游浏览器";

Text ProfileFile(Platform& os, const MaxthonFixedGeneration& g) {
  return ProfileRoot(os) + g.profileFolder + "\\" + g.fileName;
}

Text BackupFolder(Platform& os) { return BackupRoot(os) + kMaxthonBackupFolder; }

Text Maxthon7ProfileFile(const Text& installFolder, const char* file) {
  return installFolder + kMaxthon7ProfileFolder + "\\" + file;
}

// Maxthon 7's two files from `folder` into its profile; Bookmarks.bak may be missing.
std::vector<FileCopy> Maxthon7RestoreCopies(const Text& folder, const Text& installFolder) {
  std::vector<FileCopy> copies;
  for (const char* file : kMaxthon7Files) {
    copies.push_back({folder + "\\" + file, Maxthon7ProfileFile(installFolder, file)});
  }
  return copies;
}

// What one press found before the mode is looked at.
struct MaxthonFound {
  std::vector<bool> fixedPresent;  // per fixed generation: its profile file exists
  int count = 0;                   // EnumerateSubkeys' answer
  TextList appPathsNames;

  bool AnyFixedPresent() const {
    for (bool present : fixedPresent) {
      if (present) return true;
    }
    return false;
  }
};

// The install folders of the listed "Maxthon.exe" entries that have a usable
// "Path"; an entry without one counts as not found.
std::vector<Text> Maxthon7Installs(Platform& os, const RegistryObject& registry, const MaxthonFound& found) {
  std::vector<Text> installs;
  for (const Text& name : found.appPathsNames) {
    if (name != kMaxthon7EntryName) continue;
    const Text installFolder = Maxthon7InstallFolder(os, registry);
    if (!installFolder.empty()) installs.push_back(installFolder);
  }
  return installs;
}

void Backup(Platform& os, const RegistryObject& registry, const MaxthonFound& found) {
  Text summary;
  auto append = [&](const Text& outcome) {
    summary += outcome;
    ShowStatus(os, summary);
  };
  const auto& generations = MaxthonFixedGenerations();
  for (size_t i = 0; i < generations.size(); ++i) {
    const MaxthonFixedGeneration& g = generations[i];
    if (!found.fixedPresent[i]) {
      append(BookmarksNotFoundText(g.name));
      continue;
    }
    MakeFolderPath(os, BackupRoot(os));
    MakeFolderPath(os, BackupFolder(os));
    const bool copied = CopyOneFile(os, ProfileFile(os, g), BackupFolder(os) + "\\" + g.fileName);
    append(copied ? BackupDoneText(g.name) : BackupFailedText(g.name));
  }
  if (found.count == 0) {
    if (!found.AnyFixedPresent()) ShowStatus(os, BookmarksNotFoundText(kMaxthonName));
    return;
  }
  bool backedUp7 = false;
  for (const Text& installFolder : Maxthon7Installs(os, registry, found)) {
    // Installed but without a bookmark file yet: nothing to copy.
    if (!FileExists(os, Maxthon7ProfileFile(installFolder, kMaxthon7Files[0]))) continue;
    backedUp7 = true;
    std::vector<FileCopy> copies;
    for (const char* file : kMaxthon7Files) {
      copies.push_back({Maxthon7ProfileFile(installFolder, file), BackupFolder(os) + "\\" + file});
    }
    MakeFolderPath(os, BackupRoot(os));
    MakeFolderPath(os, BackupFolder(os));
    append(CopyPresentFiles(os, copies) ? BackupDoneText(kMaxthon7Name) : BackupFailedText(kMaxthon7Name));
  }
  // A key that cannot be opened lists nothing, and then Maxthon 7 is not reported.
  if (!backedUp7 && !found.appPathsNames.empty()) {
    append(BookmarksNotFoundText(kMaxthon7Name));
    if (!found.AnyFixedPresent()) ShowStatus(os, BookmarksNotFoundText(kMaxthonName));
  }
}

// The manual fallback of Maxthon 7: one chooser, then every generation that is
// there takes its files from the chosen folder: Maxthon 7 when its guest
// profile folder exists, Maxthon 3 and 5 when this press found their profile
// file. A generation that is not there gets nothing written and no message; a
// profile folder is never created.
void RestoreFromChosenFolder(Platform& os, const MaxthonFound& found, const Text& installFolder) {
  ShowStatus(os, kNoBackupPickFolder);
  const Text chosen = ChooseFolder(os, SelectedDriveText(os));
  if (chosen.empty()) {
    ShowStatus(os, kNoBackupFound);
    return;
  }
  bool spoken = false;
  if (FolderExists(os, installFolder + kMaxthon7ProfileFolder)) {
    spoken = true;
    if (!FileExists(os, chosen + "\\" + kMaxthon7Files[0])) {
      ShowStatus(os, kNoBackupFound);
    } else {
      const bool restored = CopyPresentFiles(os, Maxthon7RestoreCopies(chosen, installFolder));
      ShowStatus(os, restored ? RestoreDoneText(kMaxthon7Name) : RestoreFailedText(kMaxthon7Name));
    }
  }
  // Maxthon 5 before Maxthon 3, so that a folder holding everything ends on Maxthon 3.
  const auto& generations = MaxthonFixedGenerations();
  for (size_t i = generations.size(); i-- > 0;) {
    // Already reported as not detected in this press.
    if (!found.fixedPresent[i]) continue;
    const MaxthonFixedGeneration& g = generations[i];
    spoken = true;
    const Text from = chosen + "\\" + g.fileName;
    if (!FileExists(os, from)) {
      ShowStatus(os, kNoBackupFound);
      continue;
    }
    ShowStatus(os, CopyOneFile(os, from, ProfileFile(os, g)) ? RestoreDoneText(g.name) : RestoreFailedText(g.name));
  }
  if (!spoken) ShowStatus(os, kNoBackupFound);
}

void RestoreMaxthon7(Platform& os, const MaxthonFound& found, const Text& installFolder) {
  const Text todays = BackupFolder(os);
  if (FileExists(os, todays + "\\" + kMaxthon7Files[0])) {
    const bool restored = CopyPresentFiles(os, Maxthon7RestoreCopies(todays, installFolder));
    ShowStatus(os, restored ? RestoreDoneText(kMaxthon7Name) : RestoreFailedText(kMaxthon7Name));
  } else if (!FolderExists(os, todays) || FolderIsEmpty(os, todays)) {
    RestoreFromChosenFolder(os, found, installFolder);
  }
  // Otherwise today's folder holds the other generations' files only.
}

void Restore(Platform& os, const RegistryObject& registry, const MaxthonFound& found) {
  const auto& generations = MaxthonFixedGenerations();
  for (size_t i = 0; i < generations.size(); ++i) {
    const MaxthonFixedGeneration& g = generations[i];
    if (!found.fixedPresent[i]) {
      ShowStatus(os, BrowserNotDetectedText(g.name));
      continue;
    }
    const Text backupFile = BackupFolder(os) + "\\" + g.fileName;
    if (!FileExists(os, backupFile)) {
      ShowStatus(os, kNoBackupPickFolder);
      continue;
    }
    const bool restored = CopyOneFile(os, backupFile, ProfileFile(os, g));
    ShowStatus(os, restored ? RestoreDoneText(g.name) : RestoreFailedText(g.name));
  }
  if (found.count == 0) {
    if (!found.AnyFixedPresent()) ShowStatus(os, BrowserNotDetectedText(kMaxthonName));
    return;
  }
  const std::vector<Text> installs = Maxthon7Installs(os, registry, found);
  for (const Text& installFolder : installs) RestoreMaxthon7(os, found, installFolder);
  if (installs.empty() && !found.AnyFixedPresent() && !found.appPathsNames.empty()) {
    ShowStatus(os, BrowserNotDetectedText(kMaxthonName));
  }
}

void Run(Platform& os) {
  // The two file tests and the listing come first, whatever the mode.
  MaxthonFound found;
  for (const MaxthonFixedGeneration& g : MaxthonFixedGenerations()) {
    found.fixedPresent.push_back(FileExists(os, ProfileFile(os, g)));
  }
  RegistryObject registry;
  found.count = registry.EnumerateSubkeys(os, kAppPathsKey, found.appPathsNames);
  switch (CurrentOperationMode(os)) {
    case OperationMode::None: ShowStatus(os, kPickModeFirst); break;
    case OperationMode::Backup: Backup(os, registry, found); break;
    case OperationMode::Restore: Restore(os, registry, found); break;
  }
}

}  // namespace

bool HandleMaxthonClick(Platform& os, int controlId) {
  if (controlId != 超级按钮_遨游浏览器) return false;
  Run(os);
  return true;
}

}  // namespace bm
