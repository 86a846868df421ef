#include "browsers/FixedPathBrowsers.h"

#include "app/MainWindow.h"
#include "app/Paths.h"
#include "browsers/BrowserButtons.h"
#include "browsers/BrowserCommon.h"

namespace bm {

namespace {

std::vector<FileBrowserRow> BuildRows() {
  return {
      {超级按钮_谷歌浏览器,
       "谷歌浏览器",
       {"\\appdata\\Local\\Google\\Chrome\\User Data\\Default\\Bookmarks",
        "\\appdata\\Local\\Google\\Chrome\\User Data\\Default\\Bookmarks.bak"},
       "\\谷歌浏览器",
       {"\\谷歌浏览器\\Bookmarks", "\\谷歌浏览器\\Bookmarks.bak"},
       {"\\Bookmarks", "\\Bookmarks.bak"}},
      {超级按钮_Edge浏览器,
       "Edge浏览器",
       {"\\appdata\\Local\\Microsoft\\Edge\\User Data\\Default\\Bookmarks"},
       "\\Edge浏览器",
       {"\\Edge浏览器\\Bookmarks"},
       {"\\Bookmarks"}},
      {超级按钮_QQ浏览器,
       "QQ浏览器",
       {"\\appdata\\Local\\Tencent\\QQBrowser\\User Data\\Default\\Bookmarks_01"},
       "\\QQ浏览器",
       {"\\QQ浏览器\\Bookmarks_01"},
       {"\\Bookmarks_01"}},
      {超级按钮_极速浏览器,
       "极速浏览器",
       {"\\appdata\\Local\\TSBrowser\\User Data\\Default\\Bookmarks"},
       "\\极速浏览器",
       {"\\极速浏览器\\Bookmarks"},
       {"\\Bookmarks"}},
      {超级按钮_双核浏览器大,
       "双核浏览器大",
       {"\\appdata\\Local\\Chromium\\GbrowserData\\Default\\Bookmarks"},
       "\\双核浏览器大",
       {"\\双核浏览器大\\Bookmarks"},
       {"\\Bookmarks"}},
      {超级按钮_双核浏览器小,
       "双核浏览器小",
       {"\\appdata\\Local\\ChromeCore\\User Data\\Default\\Favourites"},
       "\\双核浏览器小",
       {"\\双核浏览器小\\Favourites"},
       {"\\Favourites"}},
      {超级按钮_猎豹浏览器,
       "猎豹浏览器",
       {"\\appdata\\Local\\liebao\\User Data\\Default\\Bookmarks"},
       "\\猎豹浏览器",
       {"\\猎豹浏览器\\Bookmarks"},
       {"\\Bookmarks"}},
  };
}

// Whether `folder` + the row's files show the browser (or its backup) there.
bool FilesPresent(Platform& os, const Text& folder, const std::vector<Text>& pieces, PresenceTest presence) {
  const size_t tested = presence == PresenceTest::KeyFile ? 1 : pieces.size();
  for (size_t i = 0; i < tested && i < pieces.size(); ++i) {
    if (FileExists(os, folder + pieces[i])) return true;
  }
  return false;
}

void Backup(Platform& os, const FileBrowserRow& row, bool present) {
  if (!present) {
    ShowStatus(os, BookmarksNotFoundText(row.name));
    return;
  }
  MakeFolderPath(os, BackupRoot(os));
  const bool folderMade = MakeFolderPath(os, BackupRoot(os) + row.backupFolder);
  const bool copied =
      folderMade && CopyPresentFiles(os, PairFiles(ProfileRoot(os), row.profileFiles, BackupRoot(os), row.backupFiles));
  ShowStatus(os, copied ? BackupDoneText(row.name) : BackupFailedText(row.name));
}

void RestoreFrom(Platform& os, const FileBrowserRow& row, const Text& folder, const std::vector<Text>& pieces) {
  const bool copied = CopyPresentFiles(os, PairFiles(folder, pieces, ProfileRoot(os), row.profileFiles));
  ShowStatus(os, copied ? RestoreDoneText(row.name) : RestoreFailedText(row.name));
}

void Restore(Platform& os, const FileBrowserRow& row, bool present) {
  // A restore never creates a browser's profile folder.
  if (!present) {
    ShowStatus(os, BrowserNotDetectedText(row.name));
    return;
  }
  if (FilesPresent(os, BackupRoot(os), row.backupFiles, row.presence)) {
    RestoreFrom(os, row, BackupRoot(os), row.backupFiles);
    return;
  }
  ShowStatus(os, kNoBackupPickFolder);
  const Text chosen = ChooseFolder(os, SelectedDriveText(os));
  // A cancelled chooser or a virtual item gives no folder: nothing to look
  // at, not even the root of the current drive.
  if (chosen.empty() || !FilesPresent(os, chosen, row.chosenFiles, row.presence)) {
    ShowStatus(os, kNoBackupFound);
    return;
  }
  RestoreFrom(os, row, chosen, row.chosenFiles);
}

}  // namespace

const std::vector<FileBrowserRow>& FixedPathBrowserRows() {
  static const std::vector<FileBrowserRow> rows = BuildRows();
  return rows;
}

void RunFileBrowserClick(Platform& os, const FileBrowserRow& row) {
  // The profile is looked at first, whatever the mode.
  const bool present = FilesPresent(os, ProfileRoot(os), row.profileFiles, row.presence);
  switch (CurrentOperationMode(os)) {
    case OperationMode::None:
      ShowStatus(os, kPickModeFirst);
      break;
    case OperationMode::Backup:
      Backup(os, row, present);
      break;
    case OperationMode::Restore:
      Restore(os, row, present);
      break;
  }
}

bool HandleFixedPathBrowserClick(Platform& os, int controlId) {
  for (const FileBrowserRow& row : FixedPathBrowserRows()) {
    if (row.controlId != controlId) continue;
    RunFileBrowserClick(os, row);
    return true;
  }
  return false;
}

}  // namespace bm
