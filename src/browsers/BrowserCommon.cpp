#include "browsers/BrowserCommon.h"

#include "app/Paths.h"

namespace bm {

bool CopyPresentFiles(Platform& os, const std::vector<FileCopy>& copies) {
  int copied = 0;
  bool allSucceeded = true;
  for (const FileCopy& copy : copies) {
    if (!FileExists(os, copy.from)) continue;
    if (CopyOneFile(os, copy.from, copy.to)) {
      ++copied;
    } else {
      allSucceeded = false;
    }
  }
  return allSucceeded && copied > 0;
}

}  // namespace bm
