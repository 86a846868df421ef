// Running one hidden console command and capturing everything it prints; the
// registry read through the REG command built on it.
#pragma once

#include <optional>

#include "platform/Platform.h"

namespace bm {

// Called with each piece of output as it arrives (and two zero arguments); a
// non-zero return stops the reading.
using OutputCallback = int (*)(const Text& piece, int, int);

// All output of the command (the console's own bytes), or empty text.
Text RunCommandCapture(Platform& os, const Text& command, OutputCallback callback = nullptr);
bool Is64BitWindows(Platform& os);
// The text between the first `left` at or after character position `start`
// (counted from 1, as all positions in texts; from the beginning when omitted
// or below 1) and the next `right`; "#引号" in a marker stands for a double
// quote.
Text TextBetween(const Text& text, const Text& left, const Text& right, std::optional<size_t> start = std::nullopt,
                 bool ignoreCase = false);
// The data of a registry value as "REG QUERY" prints it; `type` 1..7 picks the
// type name on the printed line (REG_SZ when omitted or out of range).
Text QueryValueByCommand(Platform& os, const Text& keyPath, std::optional<int> type, const Text& valueName);

}  // namespace bm
