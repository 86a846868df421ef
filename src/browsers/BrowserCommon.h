// The copy of a browser's files that tells whether it really happened.
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

}  // namespace bm
