#pragma once

#include <functional>
#include <string>

#include "linux/helper/save_folder.h"

namespace taviro::helper {

// A name an item would save under, once it knows what it saves.
struct NameWish {
  std::string name;
  // A programme keeps its saved file as name.mp4 or name.mkv.
  bool programme = false;
  // A finished file that notes no item counts as this item's: the name
  // its own address gives, which a former run may have saved it under.
  bool unnoted_is_ours = false;
};

// Reserves a name for an item under the lock of all items, before any of
// its files is touched: the wished name, or it with a number added, whose
// files are neither another item's nor about to be.
using ReserveName = std::function<std::string(const NameWish&)>;

enum class NameUse {
  kFree,  // nothing of another item's under the name
  kThisItems,
  kOthers,  // a file of another item's, or one saved before without a note
};

// Whose the files under `candidate` are in the folder, for the item `key`.
NameUse FilesUse(const SaveFolder& folder, const NameWish& wish, const std::string& candidate,
                 const std::string& key);

}  // namespace taviro::helper
