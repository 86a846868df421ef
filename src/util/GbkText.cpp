#include "util/GbkText.h"

namespace bm {

size_t GbkCharLength(const Text& text, size_t pos) {
  const unsigned char lead = static_cast<unsigned char>(text[pos]);
  return (lead >= 0x81 && lead <= 0xFE && pos + 1 < text.size()) ? 2 : 1;
}

size_t FirstBackslash(const Text& text) {
  for (size_t i = 0; i < text.size(); i += GbkCharLength(text, i)) {
    if (text[i] == '\\') return i;
  }
  return Text::npos;
}

size_t LastBackslash(const Text& text) {
  size_t last = Text::npos;
  for (size_t i = 0; i < text.size(); i += GbkCharLength(text, i)) {
    if (text[i] == '\\') last = i;
  }
  return last;
}

bool EndsWithBackslash(const Text& text) {
  return !text.empty() && LastBackslash(text) == text.size() - 1;
}

Text WithTrailingBackslash(const Text& folder) {
  return EndsWithBackslash(folder) ? folder : folder + "\\";
}

}  // namespace bm
