// Browsers whose bookmark files lie at fixed places under ProfileRoot: one row
// of data each, one procedure for all of them.
#pragma once

#include <vector>

#include "platform/Platform.h"

namespace bm {

// Which files tell that a browser (or its backup) is there.
enum class PresenceTest {
  KeyFile,  // the first file of the row only
  AnyFile,  // any file of the row, tried in order
};

struct FileBrowserRow {
  int controlId = 0;
  Text name;                       // the button's caption, as every text of the row writes it
  std::vector<Text> profileFiles;  // appended to ProfileRoot
  Text backupFolder;               // appended to BackupRoot
  std::vector<Text> backupFiles;   // appended to BackupRoot
  std::vector<Text> chosenFiles;   // appended to a folder the user picked
  PresenceTest presence = PresenceTest::KeyFile;
};

// Google Chrome, Edge, QQ, 极速, 双核大, 双核小 and 猎豹, in the order of their
// buttons' table. The n-th profile, backup and chosen-folder file of a row are
// one file in three places.
const std::vector<FileBrowserRow>& FixedPathBrowserRows();

// One press of a row's button: back up or restore its files according to the
// mode, reporting the outcome in 标签_文字.
void RunFileBrowserClick(Platform& os, const FileBrowserRow& row);

}  // namespace bm
