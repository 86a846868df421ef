// What other threads leave for the window's thread (controls' texts and work
// to run), in the order they left it. Both implementations of the seam keep
// one; the owner holds its lock around every call.
#pragma once

#include <algorithm>
#include <deque>
#include <functional>
#include <utility>

#include "platform/Platform.h"

namespace bm {

class PostedQueue {
 public:
  struct Item {
    int controlId = 0;
    Text text;
    std::function<void()> work;  // empty for a control's text
  };

  // A newer text of a control replaces the one still waiting, unless work
  // posted in between is to see that one.
  void PostText(int controlId, const Text& text) {
    for (auto it = items_.rbegin(); it != items_.rend() && !it->work; ++it) {
      if (it->controlId == controlId) {
        items_.erase(std::next(it).base());
        break;
      }
    }
    items_.push_back({controlId, text, nullptr});
  }

  void PostWork(std::function<void()> work) { items_.push_back({0, Text(), std::move(work)}); }

  // The window's thread wrote the control itself: every text waiting for it is older.
  void DropTexts(int controlId) {
    items_.erase(std::remove_if(items_.begin(), items_.end(),
                                [controlId](const Item& item) { return !item.work && item.controlId == controlId; }),
                 items_.end());
  }

  // Takes the oldest item; false when none waits.
  bool Take(Item& item) {
    if (items_.empty()) return false;
    item = std::move(items_.front());
    items_.pop_front();
    return true;
  }

  void Clear() { items_.clear(); }

 private:
  std::deque<Item> items_;
};

}  // namespace bm
