// A message box that closes by itself after a time-out, and the search for the
// window that owns it.
#pragma once

#include <optional>

#include "platform/Platform.h"

namespace bm {

// Owner search limit of TimedMessageBox, and FindProcessWindow's own default
// (a year: in practice, until the last top-level window).
constexpr int kOwnerSearchMs = 1000;
constexpr int kWindowSearchForeverMs = 31536000;
constexpr uint32_t kMessageBoxTimeoutMs = 5000;

// Shows `text` and blocks until the user closes the box or the time-out runs
// out. Omitted arguments: style 0 (OK, no icon), title "友情提醒", owner the
// first visible top-level window of this process (none when there is none),
// time-out 5000 ms. An owner given as 0 shows the box without one. Returns the
// box's result minus 1: 0 for OK, -1 when no box could be shown.
int TimedMessageBox(Platform& os, const Text& text, std::optional<uint32_t> style = std::nullopt,
                    std::optional<Text> title = std::nullopt, std::optional<WindowHandle> owner = std::nullopt,
                    std::optional<uint32_t> timeoutMs = std::nullopt);

// The first top-level window in Z order that belongs to `processId`, has no
// parent, is visible (unless `visibleOnly` is false) and whose title and class
// name contain the given filters (case-sensitive). Window messages of the
// calling thread run between candidates. 0 when the last window is passed or
// `timeLimitMs` (omitted or negative: a year) has elapsed.
WindowHandle FindProcessWindow(Platform& os, uint32_t processId, std::optional<Text> titleFilter = std::nullopt,
                               std::optional<Text> classFilter = std::nullopt,
                               std::optional<int> timeLimitMs = std::nullopt,
                               std::optional<bool> visibleOnly = std::nullopt);

}  // namespace bm
