#include "helper/helper_leftovers.h"

#include "helper/download_name.h"
#include "helper/vendor_save_path.h"
#include "util/file_io.h"

namespace taviro::helper {

void RemoveHelperWriteLeftovers(const std::string& files_folder, const std::string& save_folder) {
  RemoveVendorWriteLeftovers(files_folder);
  // A helper of another installation saving to the same folder loses at
  // most one save of a list, which it repeats a second later.
  (void)RemoveLeftoverTemporaries(save_folder,
                                  [](std::string_view name) { return name.ends_with(kRangesSuffix); });
}

}  // namespace taviro::helper
