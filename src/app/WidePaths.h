// Folder trees walked by wide path, for the tree copy and the safe replace. A
// tree's root paths are the program's own GBK texts, converted once by the
// caller; every name met inside the tree stays UTF-16, so a favourite whose
// name GBK cannot write (emoji, Korean, accented Greek) is found and copied
// under its own name.
#pragma once

#include <vector>

#include "platform/Platform.h"

namespace bm {

// `folder` and `name` with one backslash between them.
WideText WideChild(const WideText& folder, const WideText& name);
// Whether `inner` is `outer` itself or lies below it, ASCII letters folded as
// Windows compares names: copying a folder into itself would copy its own
// output again and again.
bool WideInside(const WideText& inner, const WideText& outer);
bool WideFolderExists(Platform& os, const WideText& path);
// The entries of a folder without "." and "..", read whole before anything in
// it changes.
std::vector<FindDataW> WideFolderEntries(Platform& os, const WideText& folder);

}  // namespace bm
