// Walking GBK texts by character, so that the trail byte of a double-byte
// character (which may be 0x5C, the backslash) is never taken for a separator.
#pragma once

#include <cstddef>

#include "platform/Platform.h"

namespace bm {

// Byte length of the character starting at `pos` (1 or 2).
size_t GbkCharLength(const Text& text, size_t pos);
// Position of the first / last backslash that is a character of its own, or
// Text::npos.
size_t FirstBackslash(const Text& text);
size_t LastBackslash(const Text& text);
// Whether the last character of the text is a backslash.
bool EndsWithBackslash(const Text& text);
// `folder` with one backslash after it unless it already ends in one.
Text WithTrailingBackslash(const Text& folder);

}  // namespace bm
