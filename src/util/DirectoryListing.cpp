#include "util/DirectoryListing.h"

#include <algorithm>
#include <cstring>

#include "app/Paths.h"
#include "util/GbkText.h"

namespace bm {

namespace {

bool IsDotEntry(const Text& name) { return name == "." || name == ".."; }

// The pieces of a "|"-joined pattern; an empty piece after the last separator
// is dropped, one between two separators is kept (and later matches nothing).
TextList SplitPattern(const Text& pattern) {
  TextList pieces;
  size_t begin = 0;
  while (begin < pattern.size()) {
    const size_t bar = pattern.find('|', begin);
    if (bar == Text::npos) {
      pieces.push_back(pattern.substr(begin));
      break;
    }
    pieces.push_back(pattern.substr(begin, bar - begin));
    begin = bar + 1;
  }
  return pieces;
}

// Three-way comparison of two texts as unsigned byte strings.
int CompareBytes(const Text& a, const Text& b) {
  const size_t common = std::min(a.size(), b.size());
  const int byBytes = common == 0 ? 0 : std::memcmp(a.data(), b.data(), common);
  if (byBytes != 0) return byBytes;
  if (a.size() == b.size()) return 0;
  return a.size() < b.size() ? -1 : 1;
}

// Inserts `text` into the already sorted `list`, finding its place by halving
// the range between the first and the last member.
void InsertSorted(TextList& list, const Text& text) {
  const size_t n = list.size();
  if (n == 0 || CompareBytes(text, list[n - 1]) >= 0) {
    list.push_back(text);
    return;
  }
  if (CompareBytes(text, list[0]) <= 0) {
    list.insert(list.begin(), text);
    return;
  }
  // Positions count from 1 here, as in the list's own terms.
  size_t low = 1, high = n, mid = (low + high) / 2;
  while (high - low > 1) {
    const int order = CompareBytes(text, list[mid - 1]);
    if (order == 0) break;
    if (order < 0) {
      high = mid;
    } else {
      low = mid;
    }
    mid = (low + high) / 2;
  }
  const size_t position = CompareBytes(text, list[mid - 1]) > 0 ? mid + 1 : mid;
  list.insert(list.begin() + static_cast<std::ptrdiff_t>(position - 1), text);
}

}  // namespace

int ListSubfolders(Platform& os, const Text& folder, TextList& list, bool withPaths, bool sorted) {
  const Text base = WithTrailingBackslash(folder);
  SearchSlot slot(os);
  for (Text name = slot.FindFirstName(base + "*.*", kAttrDirectory); !name.empty();
       name = slot.FindFirstName(Text(), kAttrDirectory)) {
    if (IsDotEntry(name)) continue;
    list.push_back(withPaths ? base + name : name);
  }
  if (sorted) SortTexts(list);
  return static_cast<int>(list.size());
}

int EnumerateFiles(Platform& os, const Text& folder, const Text& pattern, TextList& list, bool withPaths,
                   bool sorted, bool recurse) {
  if (!recurse) list.clear();
  const Text base = WithTrailingBackslash(folder);
  SearchSlot slot(os);
  for (const Text& piece : SplitPattern(pattern)) {
    // An empty piece would continue the previous search instead of starting one.
    if (piece.empty()) continue;
    for (Text name = slot.FindFirstName(base + piece); !name.empty(); name = slot.FindFirstName(Text())) {
      list.push_back(withPaths ? base + name : name);
      PumpMessages(os);
    }
  }
  if (sorted) SortTexts(list);
  if (recurse) {
    for (Text name = slot.FindFirstName(base + "*.*", kAttrDirectory); !name.empty();
         name = slot.FindFirstName(Text(), kAttrDirectory)) {
      if (IsDotEntry(name)) continue;
      EnumerateFiles(os, base + name, pattern, list, withPaths, sorted, true);
      PumpMessages(os);
    }
  }
  return static_cast<int>(list.size());
}

void SortTexts(TextList& list, bool descending) {
  const TextList unsorted = std::move(list);
  list.clear();
  list.reserve(unsorted.size());
  for (const Text& text : unsorted) InsertSorted(list, text);
  if (descending) std::reverse(list.begin(), list.end());
}

void PumpMessages(Platform& os) { os.PumpMessages(); }

}  // namespace bm
