// Sogou Explorer (two bookmark files, either of which shows it is there) and
// Internet Explorer (a whole Favorites folder).
#pragma once

#include "browsers/FixedPathBrowsers.h"

namespace bm {

const FileBrowserRow& SogouRow();

// The IE handler's folders and texts.
struct FolderBrowser {
  int controlId = 0;
  Text name;            // the button's caption
  Text profileFolder;   // appended to ProfileRoot
  Text backupFolder;    // appended to BackupRoot
  Text notDetectedText; // restore without the profile folder
};

const FolderBrowser& IeBrowser();

// One press of the IE button.
void RunFolderBrowserClick(Platform& os, const FolderBrowser& browser);

}  // namespace bm
