// The process-wide values set at start-up; they live until the process ends.
#pragma once

#include <cstdint>
#include <string>

#include "platform/Platform.h"

namespace bm {

// Code page of every conversion between the program's texts and UTF-16.
extern int32_t TextCodePage;
// (major << 8) | (minor & 0xFF); 0 when the version could not be read.
extern uint16_t OsVersionWord;

// The one-click backup's and restore's running summaries; each run empties its own.
extern std::string BackupSummary;
extern std::string RestoreSummary;

// The profile folder Firefox really uses, as the user pasted it into
// FirefoxFolderWindow; empty until one was accepted, then kept to the end.
extern Text FirefoxProfileFolder;
// Clicks of the Firefox button since the start, whatever the mode; picks the
// backup a Firefox restore takes, and returns to 0 after the oldest.
extern int32_t FirefoxClickCount;

// Sets TextCodePage to 936 and reads OsVersionWord.
void InitProcessValues(Platform& os);

}  // namespace bm
