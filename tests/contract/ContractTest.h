// The base of every contract case: a fresh fixture per case, and the few
// helpers the cases share.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <vector>

#include "contract/ContractFixture.h"

namespace bm {

class ContractTest : public ::testing::Test {
 protected:
  ContractTest() : fixture_(MakeContractFixture()) {}
  ContractFixture& Fx() { return *fixture_; }
  Platform& Os() { return fixture_->Os(); }

  // Every name a directory search reports, in the order it reports them.
  std::vector<Text> SearchNames(const Text& pattern) {
    std::vector<Text> names;
    FindData found;
    const SearchHandle search = Os().FindFirstFileA(pattern, found);
    if (search == 0) return names;
    do names.push_back(found.name);
    while (Os().FindNextFileA(search, found) && names.size() < 10000);
    Os().FindClose(search);
    return names;
  }

  static std::vector<Text> Sorted(std::vector<Text> names) {
    std::sort(names.begin(), names.end());
    return names;
  }

 private:
  std::unique_ptr<ContractFixture> fixture_;
};

}  // namespace bm
