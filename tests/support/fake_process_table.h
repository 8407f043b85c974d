#pragma once

#include <cstdint>
#include <utility>
#include <vector>

#include "ports/process_table.h"

namespace taviro::testing {

// A process table a test fills; nothing is ever signalled.
class FakeProcessTable : public ProcessTable {
 public:
  std::vector<ProcessEntry> List() override { return entries; }
  bool Terminate(std::int32_t id) override {
    terminated.push_back(id);
    return true;
  }

  std::vector<ProcessEntry> entries;
  std::vector<std::int32_t> terminated;
};

}  // namespace taviro::testing
