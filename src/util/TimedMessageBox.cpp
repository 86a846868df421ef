#include "util/TimedMessageBox.h"

#include "app/Paths.h"
#include "util/DirectoryListing.h"

namespace bm {

namespace {

bool Contains(const Text& text, const std::optional<Text>& filter) {
  return !filter || text.find(*filter) != Text::npos;
}

}  // namespace

WindowHandle FindProcessWindow(Platform& os, uint32_t processId, std::optional<Text> titleFilter,
                               std::optional<Text> classFilter, std::optional<int> timeLimitMs,
                               std::optional<bool> visibleOnly) {
  const uint32_t start = os.GetTickCount();
  const uint32_t limit =
      static_cast<uint32_t>(timeLimitMs && *timeLimitMs >= 0 ? *timeLimitMs : kWindowSearchForeverMs);
  const bool onlyVisible = visibleOnly.value_or(true);
  WindowHandle window = 0;
  while (os.GetTickCount() - start < limit) {
    window = os.FindWindowExA(window);
    if (window == 0) return 0;
    if (onlyVisible && !os.IsWindowVisible(window)) continue;
    if (os.GetWindowThreadProcessId(window) == processId && os.GetParent(window) == 0) {
      // Class and title are read only when a filter asks for them.
      const bool classMatches = !classFilter || Contains(os.GetClassNameA(window), classFilter);
      const bool titleMatches = !titleFilter || Contains(FromWideText(os, os.GetWindowTextW(window)), titleFilter);
      if (classMatches && titleMatches) return window;
    }
    PumpMessages(os);
  }
  return 0;
}

int TimedMessageBox(Platform& os, const Text& text, std::optional<uint32_t> style, std::optional<Text> title,
                    std::optional<WindowHandle> owner, std::optional<uint32_t> timeoutMs) {
  const WindowHandle boxOwner =
      owner ? *owner : FindProcessWindow(os, os.GetCurrentProcessId(), std::nullopt, std::nullopt, kOwnerSearchMs);
  const int result = os.MessageBoxTimeoutA(boxOwner, text, title.value_or(Text("友情提醒")), style.value_or(kMbOk), 0,
                                           timeoutMs.value_or(kMessageBoxTimeoutMs));
  return result - 1;
}

}  // namespace bm
