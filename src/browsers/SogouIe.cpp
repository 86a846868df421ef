#include "browsers/SogouIe.h"

#include "app/MainWindow.h"
#include "app/Paths.h"
#include "browsers/BrowserButtons.h"
#include "browsers/BrowserCommon.h"

namespace bm {

namespace {

// A folder that exists and holds something.
bool FolderHasEntries(Platform& os, const Text& folder) {
  return FolderExists(os, folder) && !FolderIsEmpty(os, folder);
}

void BackupFolder(Platform& os, const FolderBrowser& browser, const Text& profileFolder) {
  if (!FolderHasEntries(os, profileFolder)) {
    ShowStatus(os, BookmarksNotFoundText(browser.name));
    return;
  }
  MakeFolderPath(os, BackupRoot(os));
  const Text target = BackupRoot(os) + browser.backupFolder;
  const bool copied = MakeFolderPath(os, target) && CopyFolderTree(os, profileFolder, target);
  ShowStatus(os, copied ? BackupDoneText(browser.name) : BackupFailedText(browser.name));
}

void RestoreFolder(Platform& os, const FolderBrowser& browser, const Text& profileFolder) {
  if (!FolderHasEntries(os, profileFolder)) {
    ShowStatus(os, browser.notDetectedText);
    return;
  }
  Text source = BackupRoot(os) + browser.backupFolder;
  if (!FolderHasEntries(os, source)) {
    ShowStatus(os, kNoBackupPickFolder);
    source = ChooseFolder(os, SelectedDriveText(os));
    // An empty choice (cancelled, or not a file-system folder) is no folder.
    if (source.empty() || !FolderHasEntries(os, source)) {
      ShowStatus(os, kNoBackupFound);
      return;
    }
  }
  const bool copied = CopyFolderTree(os, source, profileFolder);
  ShowStatus(os, copied ? RestoreDoneText(browser.name) : RestoreFailedText(browser.name));
}

}  // namespace

const FileBrowserRow& SogouRow() {
  static const FileBrowserRow row{超级按钮_搜狗浏览器,
                                  "搜狗浏览器",
                                  {"\\appdata\\Roaming\\Sogouexplorer\\favorite2.dat",
                                   "\\appdata\\Roaming\\Sogouexplorer\\favorite3.dat"},
                                  "\\搜狗浏览器",
                                  {"\\搜狗浏览器\\favorite2.dat", "\\搜狗浏览器\\favorite3.dat"},
                                  {"\\favorite2.dat", "\\favorite3.dat"},
                                  PresenceTest::AnyFile};
  return row;
}

const FolderBrowser& IeBrowser() {
  static const FolderBrowser browser{超级按钮_IE浏览器, "IE浏览器", "\\Favorites", "\\IE浏览器",
                                     "未检测到IE浏览器书签目录文件"};
  return browser;
}

void RunFolderBrowserClick(Platform& os, const FolderBrowser& browser) {
  const Text profileFolder = ProfileRoot(os) + browser.profileFolder;
  switch (CurrentOperationMode(os)) {
    case OperationMode::None:
      ShowStatus(os, kPickModeFirst);
      break;
    case OperationMode::Backup:
      BackupFolder(os, browser, profileFolder);
      break;
    case OperationMode::Restore:
      RestoreFolder(os, browser, profileFolder);
      break;
  }
}

bool HandleSogouIeClick(Platform& os, int controlId) {
  if (controlId == SogouRow().controlId) {
    RunFileBrowserClick(os, SogouRow());
    return true;
  }
  if (controlId == IeBrowser().controlId) {
    RunFolderBrowserClick(os, IeBrowser());
    return true;
  }
  return false;
}

}  // namespace bm
