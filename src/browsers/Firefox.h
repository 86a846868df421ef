// Firefox: one bookmark database, "places.sqlite", in every profile folder,
// with its write-ahead log "places.sqlite-wal" beside it while Firefox has
// changes not yet written into the database.
#pragma once

#include "browsers/Procedures.h"

namespace bm {

// Backs up one profile folder into `target` (created when missing): the log
// first, then the database, so that a checkpoint between the two copies still
// leaves a pair that opens. NotFound when the profile has no database.
Outcome BackupFirefoxProfile(Platform& os, const BrowserEntry& firefox, const Text& profile, const Text& target);

// A press of the Firefox button in a mode other than None.
void RunFirefoxPress(Platform& os, const PressContext& context, const BrowserEntry& firefox,
                     PressReporter& reporter);

}  // namespace bm
