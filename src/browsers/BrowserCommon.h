// The copies of a browser's files that tell whether they really happened.
#pragma once

#include <vector>

#include "platform/Platform.h"

namespace bm {

struct FileCopy {
  Text from;
  Text to;
};

// Copies, in order, every file whose source exists (a browser's optional
// files, such as Chrome's Bookmarks.bak, may be missing). True when at least
// one file was copied and every copy that was attempted succeeded.
bool CopyPresentFiles(Platform& os, const std::vector<FileCopy>& copies);
// The same for a restore: each replaced file goes to the Recycle Bin, and only
// once its replacement is written beside it; a target that cannot be replaced
// stays as it was.
bool RestorePresentFiles(Platform& os, const std::vector<FileCopy>& copies);

}  // namespace bm
