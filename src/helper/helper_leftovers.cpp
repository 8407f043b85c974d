#include "helper/helper_leftovers.h"

#include <unistd.h>

#include <filesystem>
#include <system_error>

#include "helper/download_name.h"
#include "helper/vendor_save_path.h"
#include "util/file_io.h"

namespace taviro::helper {
namespace {

constexpr std::string_view kRemuxSuffix = ".remux";

void RemoveRemuxTemporaries(const std::string& save_folder) {
  std::error_code error;
  for (const auto& entry : std::filesystem::directory_iterator(save_folder, error)) {
    const std::string name = entry.path().filename().string();
    if (name.size() <= 1 + kRemuxSuffix.size() || !name.starts_with('.') || !name.ends_with(kRemuxSuffix))
      continue;
    // Only a plain file is ours; unlink never follows a link anyway.
    if (entry.is_symlink(error) || !entry.is_regular_file(error)) continue;
    (void)::unlink(entry.path().c_str());  // one that cannot go is replaced at its next remux
  }
}

}  // namespace

void RemoveHelperWriteLeftovers(const std::string& files_folder, const std::string& save_folder) {
  RemoveVendorWriteLeftovers(files_folder);
  // A helper of another installation saving to the same folder loses at
  // most one save of a list, which it repeats a second later.
  (void)RemoveLeftoverTemporaries(save_folder,
                                  [](std::string_view name) { return name.ends_with(kRangesSuffix); });
  RemoveRemuxTemporaries(save_folder);
}

std::string RemuxTemporaryName(std::string_view saved_name) {
  return "." + std::string(saved_name) + std::string(kRemuxSuffix);
}

}  // namespace taviro::helper
