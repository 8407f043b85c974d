#pragma once

#include <filesystem>
#include <functional>
#include <string>

namespace taviro {

// Run once at every start: creates the settings file with the full default
// set when it is missing, then puts back every damaged or missing key that
// has a repair rule. Only the keys that need it are written; the rest of an
// existing file is left as it is. `make_identity` gives the installation
// identity and is called only when one has to be written.
void CreateOrRepairConfig(const std::filesystem::path& config_path,
                          const std::function<std::string()>& make_identity);

}  // namespace taviro
