// The one-click backup and restore: every browser of the catalogue in its
// order, with the layouts the single-browser buttons write and read, so that
// either kind of restore reads either kind of backup.
#pragma once

#include "browsers/Procedures.h"

namespace bm {

// Receives each browser's outcome as its row ends.
class RowSink {
 public:
  virtual ~RowSink() = default;
  virtual void Row(const BrowserEntry& entry, Outcome outcome) = 0;
  // Asked between rows: true ends the run early (the program is closing).
  virtual bool Stopping() { return false; }
};

enum class OneClickBackupResult { Done, NoBackupRoot, Stopped };

// Backs up every browser found below `profileRoot` (and in the install
// folders `appPathsNames` lead to) into `backupRoot`, after sending the plain
// files lying directly in it to the Recycle Bin. Rows whose browser is not
// there report nothing.
OneClickBackupResult RunOneClickBackup(Platform& os, const Text& profileRoot, const Text& backupRoot,
                                       const TextList& appPathsNames, RowSink& sink);

// Puts back every browser whose backup sub-folder `source` holds. Returns how
// many rows acted.
int RunOneClickRestore(Platform& os, const Text& profileRoot, const Text& source, const TextList& appPathsNames,
                       RowSink& sink);

}  // namespace bm
