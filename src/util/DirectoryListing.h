// Turning the contents of a folder into a list of texts: its sub-folders, the
// plain files matching a set of patterns, and the byte-order sort both use.
#pragma once

#include "platform/Platform.h"

namespace bm {

// Appends the sub-folders directly inside `folder` ("." and ".." left out,
// hidden and system folders included) after the members the list already
// holds: full paths or bare names, in the order of the directory search unless
// `sorted` (then the whole list is sorted ascending). Returns the list's size.
int ListSubfolders(Platform& os, const Text& folder, TextList& list, bool withPaths = false, bool sorted = false);

// The plain files inside `folder` matching `pattern`: one or more wildcard
// patterns joined with "|", searched in the order written (a file matching two
// pieces is listed twice). Without `recurse` the list is emptied first; with
// it, existing members are kept in front and every sub-folder, at any depth, is
// searched after the folder's own files (depth first). Pending window messages
// of the calling thread run after every file and every sub-folder. Returns the
// list's size.
int EnumerateFiles(Platform& os, const Text& folder, const Text& pattern, TextList& list, bool withPaths = false,
                   bool sorted = false, bool recurse = false);

// Binary insertion sort in unsigned byte order (upper-case ASCII before
// lower-case, every double-byte character after every ASCII one); descending
// reverses the ascending result.
void SortTexts(TextList& list, bool descending = false);

// Runs every window message waiting for the calling thread, without waiting.
void PumpMessages(Platform& os);

}  // namespace bm
