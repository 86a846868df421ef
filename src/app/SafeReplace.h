// Restoring without losing anything of the user's: a file that a restore
// replaces goes to the Recycle Bin, from where the user can take it back, and
// only once its replacement is safely written beside it. And the probe that
// tells whether a running program holds a file, as a browser holds its lock
// file while it runs.
#pragma once

#include "platform/Platform.h"

namespace bm {

// How a file answers an open for writing that lets everyone else go on
// reading, writing and deleting it.
enum class FileLock {
  Missing,  // no such file (or no such folder)
  Opens,    // nobody holds it against writers
  Held,     // another program holds it open and lets nobody write: it is running
  Refused,  // it exists but cannot be written for another reason (read-only, a folder, access denied)
};
FileLock ProbeFileLock(Platform& os, const Text& path);
// Whether another program holds the file open against writers: Chromium
// browsers hold their "lockfile" so, and Firefox its "parent.lock".
bool FileHeldOpen(Platform& os, const Text& path);

// Replaces `to` by a copy of the file `from`, in this order: the copy is
// written beside the target under a temporary name; only then the old target
// goes to the Recycle Bin; then the copy takes its place. A missing target is
// simply put in place. Nothing changes when the source cannot be read, the
// target is read-only, a folder or held open, or the copy fails (it leaves no
// temporary behind). A hidden, system source such as desktop.ini keeps its
// attributes. True only when the file was replaced.
bool SafeReplaceFile(Platform& os, const Text& from, const Text& to);

// The same for every file of the folder `source`, at any depth, into the
// folder `target` (created when missing, as are its sub-folders): all copies
// are written first, and if any fails they are all removed and nothing is
// replaced; then the replaced files go to the bin in one shell operation for
// the whole tree. Files of the target that the source does not hold stay as
// they are. Names inside the tree travel as UTF-16. False, with nothing
// changed, when the source is not a folder or the target lies inside it. True
// only when every file was replaced.
bool SafeReplaceTree(Platform& os, const Text& source, const Text& target);

}  // namespace bm
