#pragma once

#include <array>
#include <set>
#include <utility>
#include <vector>

#include "ports/skin_pictures.h"
#include "support/call_log.h"

namespace taviro::testing {

// Picture slots that hold resource numbers. Every number loads except the
// ones in `missing`; a slot that was never loaded holds 0.
class FakeSkinPictures : public SkinPictures {
 public:
  explicit FakeSkinPictures(CallLog* log = nullptr) : log_(log) {}

  bool Load(int slot, int resource_number) override {
    requests.emplace_back(slot, resource_number);
    AddTo(log_, "pictures.Load(" + std::to_string(slot) + "," + std::to_string(resource_number) + ")");
    if (missing.contains(resource_number)) return false;
    slots.at(static_cast<std::size_t>(slot)) = resource_number;
    return true;
  }

  std::set<int> missing;
  std::vector<std::pair<int, int>> requests;  // (slot, resource number)
  std::array<int, 32> slots{};

 private:
  CallLog* log_;
};

}  // namespace taviro::testing
