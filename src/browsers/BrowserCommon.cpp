#include "browsers/BrowserCommon.h"

#include "app/Paths.h"
#include "app/SafeReplace.h"

namespace bm {

namespace {

bool CopyEach(Platform& os, const std::vector<FileCopy>& copies, bool (*copy)(Platform&, const Text&, const Text&)) {
  int copied = 0;
  bool allSucceeded = true;
  for (const FileCopy& one : copies) {
    if (!FileExists(os, one.from)) continue;
    if (copy(os, one.from, one.to)) {
      ++copied;
    } else {
      allSucceeded = false;
    }
  }
  return allSucceeded && copied > 0;
}

}  // namespace

bool CopyPresentFiles(Platform& os, const std::vector<FileCopy>& copies) { return CopyEach(os, copies, CopyOneFile); }

bool RestorePresentFiles(Platform& os, const std::vector<FileCopy>& copies) {
  return CopyEach(os, copies, SafeReplaceFile);
}

}  // namespace bm
