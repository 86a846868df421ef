#include "browsers/Browsers360.h"

#include "app/MainWindow.h"
#include "app/Paths.h"
#include "browsers/BrowserButtons.h"
#include "browsers/BrowserCommon.h"
#include "util/GbkText.h"

namespace bm {

const char* const kBookmarkFiles360[2] = {"Bookmarks", "360Bookmarks"};

const std::vector<Browser360>& Browsers360() {
  // The third button's caption ends in X, while its folder and its messages
  // put the X after 极速.
  static const std::vector<Browser360> browsers = {
      {超级按钮_360极速浏览器, "360极速浏览器", "360chrome.exe", "\\360极速浏览器", "360极速浏览器"},
      {超级按钮_360安全浏览器, "360安全浏览器", "360se6.exe", "\\360安全浏览器", "360安全浏览器"},
      {超级按钮_360极速浏览器X, "360极速浏览器X", "360chromeX.exe", "\\360极速X浏览器", "360极速X浏览器"},
  };
  return browsers;
}

Text InstallFolder360(Platform& os, const RegistryObject& registry, const Browser360& browser) {
  const Text path = registry.ReadText(os, Text(kAppPathsKey) + "\\" + browser.entryName, "Path");
  const size_t last = LastBackslash(path);
  return last == Text::npos ? Text() : path.substr(0, last + 1);
}

namespace {

Text NotFoundText(const Browser360& b) {
  return Text("未找到") + b.name + "书签文件，请确认已安装" + b.name;
}

// The profile's two files, in the order of kBookmarkFiles360.
Text ProfileFile(const Text& installFolder, const char* file) {
  return installFolder + "User Data\\Default\\" + file;
}

// Copies of the two files from `folder` into the profile.
std::vector<FileCopy> RestoreCopies(const Text& folder, const Text& installFolder) {
  std::vector<FileCopy> copies;
  for (const char* file : kBookmarkFiles360) copies.push_back({folder + "\\" + file, ProfileFile(installFolder, file)});
  return copies;
}

// A folder holds a backup when it has either file.
bool HoldsBackup(Platform& os, const Text& folder) {
  for (const char* file : kBookmarkFiles360) {
    if (FileExists(os, folder + "\\" + file)) return true;
  }
  return false;
}

void Backup(Platform& os, const Browser360& b, const Text& installFolder) {
  std::vector<FileCopy> copies;
  bool anyPresent = false;
  for (const char* file : kBookmarkFiles360) {
    const Text from = ProfileFile(installFolder, file);
    anyPresent = anyPresent || FileExists(os, from);
    copies.push_back({from, BackupRoot(os) + b.backupFolder + "\\" + file});
  }
  // Installed but never used: there is nothing to copy, and no empty backup
  // folder is left behind.
  if (!anyPresent) {
    ShowStatus(os, NotFoundText(b));
    return;
  }
  MakeFolderPath(os, BackupRoot(os));
  MakeFolderPath(os, BackupRoot(os) + b.backupFolder);
  ShowStatus(os, CopyPresentFiles(os, copies) ? BackupDoneText(b.name) : BackupFailedText(b.name));
}

void RestoreFrom(Platform& os, const Browser360& b, const Text& folder, const Text& installFolder) {
  const bool restored = CopyPresentFiles(os, RestoreCopies(folder, installFolder));
  ShowStatus(os, restored ? RestoreDoneText(b.name) : RestoreFailedText(b.name));
}

void Restore(Platform& os, const Browser360& b, const Text& installFolder) {
  const Text todays = BackupRoot(os) + b.backupFolder;
  if (HoldsBackup(os, todays)) {
    RestoreFrom(os, b, todays, installFolder);
    return;
  }
  ShowStatus(os, kNoBackupPickFolder);
  const Text chosen = ChooseFolder(os, SelectedDriveText(os));
  // A cancelled chooser is no folder: nothing is looked for at the drive's root.
  if (!chosen.empty() && HoldsBackup(os, chosen)) {
    RestoreFrom(os, b, chosen, installFolder);
  } else {
    ShowStatus(os, kNoBackupFound);
  }
}

void Run(Platform& os, const Browser360& b) {
  // The entries are listed on every press, before the mode is looked at.
  RegistryObject registry;
  TextList appPathsNames;
  const int count = registry.EnumerateSubkeys(os, kAppPathsKey, appPathsNames);
  const OperationMode mode = CurrentOperationMode(os);
  if (mode == OperationMode::None) {
    ShowStatus(os, kPickModeFirst);
    return;
  }
  if (count == 0) {
    ShowStatus(os, NotFoundText(b));
    return;
  }
  bool listed = false;
  for (const Text& name : appPathsNames) {
    if (name != b.entryName) continue;
    listed = true;
    const Text installFolder = InstallFolder360(os, registry, b);
    if (installFolder.empty()) {
      ShowStatus(os, NotFoundText(b));
    } else if (mode == OperationMode::Backup) {
      Backup(os, b, installFolder);
    } else {
      Restore(os, b, installFolder);
    }
  }
  // A key that cannot be opened lists nothing, and then nothing is said.
  if (!listed && !appPathsNames.empty()) ShowStatus(os, NotFoundText(b));
}

}  // namespace

bool Handle360BrowserClick(Platform& os, int controlId) {
  for (const Browser360& browser : Browsers360()) {
    if (browser.controlId != controlId) continue;
    Run(os, browser);
    return true;
  }
  return false;
}

}  // namespace bm
