// Text conversions, name folding, path parsing and wildcards of the simulated
// Windows.
#include <iconv.h>

#include <cerrno>
#include <cstring>

#include "platform/sim/SimState.h"

namespace bm {
namespace sim {

namespace {

std::string IconvName(int codePage) {
  if (codePage == 0 || codePage == 936) return "CP936";
  if (codePage == 65001) return "UTF-8";
  if (codePage == 1200) return "UTF-16LE";
  return "CP" + std::to_string(codePage);
}

// What stands in for input that does not convert, and how many input bytes it
// covers.
struct Substitute {
  std::string replacement;
  size_t skip = 1;
};
using Substitution = Substitute (*)(const char* at, size_t left);

// Converts `input` from one charset to another; input that does not convert is
// replaced as `substitute` says.
std::string Convert(const std::string& from, const std::string& to, const std::string& input,
                    Substitution substitute) {
  iconv_t cd = iconv_open(to.c_str(), from.c_str());
  if (cd == reinterpret_cast<iconv_t>(-1)) return std::string();
  std::string output;
  std::vector<char> in(input.begin(), input.end());
  char* inPtr = in.data();
  size_t inLeft = in.size();
  char buffer[1024];
  while (inLeft > 0) {
    char* outPtr = buffer;
    size_t outLeft = sizeof buffer;
    const size_t result = iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft);
    output.append(buffer, outPtr - buffer);
    if (result != static_cast<size_t>(-1)) break;
    if (errno == E2BIG) continue;
    // EILSEQ, or EINVAL for a sequence cut off at the end.
    const Substitute sub = substitute(inPtr, inLeft);
    const size_t skip = sub.skip < inLeft ? sub.skip : inLeft;
    inPtr += skip;
    inLeft -= skip;
    output += sub.replacement;
  }
  iconv_close(cd);
  return output;
}

// As Windows reads code page 936: 0xFF is a private-use character of its own,
// and a lead byte takes the byte after it along even when the pair is no
// character; each unreadable piece becomes one '?'.
Substitute FromMultiByte(const char* at, size_t left) {
  const uint8_t lead = static_cast<uint8_t>(at[0]);
  if (lead == 0xFF) return {std::string("\xF5\xF8", 2), 1};
  if (lead >= 0x81 && lead <= 0xFE && left >= 2) return {std::string("?\0", 2), 2};
  return {std::string("?\0", 2), 1};
}

Substitute FromOtherMultiByte(const char*, size_t) { return {std::string("?\0", 2), 1}; }

Substitute FromUtf16(const char*, size_t) { return {"?", 2}; }

}  // namespace

WideText ToWide(int codePage, const Text& text) {
  const std::string bytes = Convert(IconvName(codePage), "UTF-16LE", text,
                                    IconvName(codePage) == "CP936" ? FromMultiByte : FromOtherMultiByte);
  WideText wide;
  wide.reserve(bytes.size() / 2);
  for (size_t i = 0; i + 1 < bytes.size(); i += 2) {
    wide.push_back(static_cast<char16_t>(static_cast<uint8_t>(bytes[i]) | (static_cast<uint8_t>(bytes[i + 1]) << 8)));
  }
  return wide;
}

Text FromWide(int codePage, const WideText& text) {
  std::string bytes;
  bytes.reserve(text.size() * 2);
  for (char16_t unit : text) {
    bytes.push_back(static_cast<char>(unit & 0xFF));
    bytes.push_back(static_cast<char>(unit >> 8));
  }
  return Convert("UTF-16LE", IconvName(codePage), bytes, FromUtf16);
}

char16_t FoldUnit(char16_t c) {
  if (c >= u'a' && c <= u'z') return c - 0x20;
  if (c < 0x80) return c;
  if (c >= 0xE0 && c <= 0xFE && c != 0xF7) return c - 0x20;           // Latin-1
  if (c == 0xFF) return 0x178;
  // Latin Extended-A: upper and lower case alternate in pairs.
  if ((c >= 0x100 && c <= 0x137) || (c >= 0x14A && c <= 0x177)) return (c % 2 == 1) ? c - 1 : c;
  if ((c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E)) return (c % 2 == 0) ? c - 1 : c;
  if (c >= 0x3B1 && c <= 0x3C9 && c != 0x3C2) return c - 0x20;         // Greek
  if (c >= 0x430 && c <= 0x44F) return c - 0x20;                       // Cyrillic
  if (c >= 0x450 && c <= 0x45F) return c - 0x50;
  if (c >= 0xFF41 && c <= 0xFF5A) return c - 0x20;                     // full-width Latin
  return c;
}

WideText Fold(const WideText& text) {
  WideText folded(text);
  for (char16_t& c : folded) c = FoldUnit(c);
  return folded;
}

namespace {

bool IsSeparator(char16_t c) { return c == u'\\' || c == u'/'; }

// Win32 path normalisation drops trailing dots and spaces of a name.
WideText TrimName(const WideText& name) {
  if (name == u"." || name == u"..") return name;
  size_t end = name.size();
  while (end > 0 && (name[end - 1] == u'.' || name[end - 1] == u' ')) --end;
  return name.substr(0, end);
}

}  // namespace

WideText AbsolutePath(const WideText& path, const WideText& currentFolder) {
  if (path.empty() || currentFolder.size() < 2) return path;
  if (path.size() >= 2 && path[1] == u':') {
    // "D:name" is relative to the current folder of D:, which for any drive
    // but the current one is its root.
    if (path.size() == 2 || IsSeparator(path[2])) return path;
    if (FoldUnit(path[0]) == FoldUnit(currentFolder[0])) return currentFolder + u"\\" + path.substr(2);
    return path.substr(0, 2) + u"\\" + path.substr(2);
  }
  if (IsSeparator(path[0])) {
    if (path.size() >= 2 && IsSeparator(path[1])) return path;  // UNC: no such share here
    return currentFolder.substr(0, 2) + path;                     // the root of the current drive
  }
  return currentFolder + u"\\" + path;
}

ParsedPath ParsePath(const WideText& path) {
  ParsedPath parsed;
  if (path.size() < 2 || path[1] != u':') return parsed;
  const char16_t letter = FoldUnit(path[0]);
  if (letter < u'A' || letter > u'Z') return parsed;
  parsed.drive = letter;
  if (path.size() > 2 && !IsSeparator(path[2])) return parsed;  // "D:name" is relative to D:'s current folder
  WideText part;
  auto flush = [&](bool keepAsWritten) {
    WideText name = keepAsWritten ? part : TrimName(part);
    part.clear();
    if (name.empty() || name == u".") return;
    if (name == u"..") {
      if (!parsed.parts.empty()) parsed.parts.pop_back();
      return;
    }
    parsed.parts.push_back(name);
  };
  for (size_t i = 2; i < path.size(); ++i) {
    if (IsSeparator(path[i])) {
      flush(false);
    } else {
      part.push_back(path[i]);
    }
  }
  // The last name keeps its dots only when it holds wildcards (a pattern).
  const bool pattern = part.find_first_of(u"*?") != WideText::npos;
  flush(pattern);
  parsed.trailingSeparator = path.size() > 3 && IsSeparator(path.back());
  parsed.valid = true;
  return parsed;
}

WideText PathKey(const ParsedPath& path) {
  WideText key;
  key.push_back(path.drive);
  key += u":";
  for (const WideText& part : path.parts) key += u"\\" + Fold(part);
  return key;
}

bool ValidName(const WideText& name) {
  if (name.empty() || name.size() > 255) return false;
  for (char16_t c : name) {
    if (c < 0x20) return false;
    if (WideText(u"<>:\"/\\|?*").find(c) != WideText::npos) return false;
  }
  return true;
}

namespace {

bool Glob(const char16_t* p, const char16_t* pEnd, const char16_t* n, const char16_t* nEnd) {
  const char16_t* star = nullptr;
  const char16_t* starName = nullptr;
  while (n < nEnd) {
    if (p < pEnd && (*p == u'?' || *p == *n)) {
      ++p;
      ++n;
    } else if (p < pEnd && *p == u'*') {
      star = p++;
      starName = n;
    } else if (star) {
      p = star + 1;
      n = ++starName;
    } else {
      return false;
    }
  }
  while (p < pEnd && *p == u'*') ++p;
  return p == pEnd;
}

}  // namespace

bool WildcardMatch(const WideText& pattern, const WideText& name) {
  const WideText p = Fold(pattern);
  const WideText n = Fold(name);
  if (Glob(p.data(), p.data() + p.size(), n.data(), n.data() + n.size())) return true;
  // A pattern ending in ".*" also matches the names without an extension, so
  // "*.*" matches every name.
  if (p.size() >= 2 && p.compare(p.size() - 2, 2, u".*") == 0) {
    return Glob(p.data(), p.data() + p.size() - 2, n.data(), n.data() + n.size());
  }
  return false;
}

}  // namespace sim
}  // namespace bm
