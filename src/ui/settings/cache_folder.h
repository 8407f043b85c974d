#pragma once

#include <string>
#include <string_view>

namespace taviro {

class ProcessTable;
class ProgramLauncher;

// `text` with a trailing "/" (an empty text stays empty).
std::string WithTrailingSlash(std::string text);

// The folder a typed cache-folder text stands for: a text that is not an
// absolute path means DefaultCacheFolder(); the result ends with "/".
std::string CacheFolderFromText(std::string_view text);

// The helper's installation folder as the settings hold it (`qvodw`), with a
// trailing "/"; empty when no installation is known ("0", empty or not an
// absolute path), so nothing is ever read or written relative to the
// program's working folder.
std::string KnownVendorFolder(std::string_view stored);

// Creates `folder` when it is missing and proves that a file can be written
// in it. False when it cannot be created or written.
bool MakeFolderUsable(const std::string& folder);
// Whether users other than the owner may write to `folder` (a group's
// folder): they could then read or spoil what is saved there.
bool OthersMayWrite(const std::string& folder);

// Moves the helper's downloads to `folder`: ends the vendor's player and
// helper run from `vendor_folder` (this installation's, not another copy's),
// stores the folder in the helper's two files in `files_folder` and starts
// the helper again (a helper that will not start is left alone). False when
// the folder could not be stored.
bool MoveCacheFolder(ProcessTable& processes, ProgramLauncher& launcher, const std::string& vendor_folder,
                     const std::string& files_folder, const std::string& folder);

}  // namespace taviro
