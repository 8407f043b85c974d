#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace taviro {

// The download helper's configuration, in its installation folder: the
// folder it saves downloads to is written in both files.
inline constexpr std::string_view kVendorConfigFile = "QvodCfg.ini";
inline constexpr std::string_view kVendorConfigSection = "NBQVODTERMINAL";
inline constexpr std::string_view kVendorSaveKey = "defaultsavepath";
inline constexpr std::string_view kVendorPlayerFile = "QvodPlayer.xml";
inline constexpr std::string_view kVendorSaveAttribute = "Defaultsavepath=";

// The folder of the helper's two files for the folder that keeps the
// program's settings and lists (`app_folder`, as ResolveAppFolder chose
// it): its Qvod/ subfolder, with a trailing "/". A portable installation
// keeps them beside the helper; an installation the user may not write
// keeps them in the user's data folder.
std::string VendorFilesFolder(const std::filesystem::path& app_folder);

// The same folder as the helper in `helper_folder` (ending with "/") finds
// it from its own place, by the rule the program applies to its folder
// beside it; nothing when that rule refuses the folder.
std::optional<std::string> VendorFilesFolderFor(std::string_view helper_folder,
                                                const std::filesystem::path& data_home);

// What the INI file holds while no folder was chosen: each user's own
// DefaultSavePath() is in force.
inline constexpr std::string_view kUnsetSavePath = "0";

// The INI file's text naming `save_folder`.
std::string DefaultConfigText(std::string_view save_folder);

// Makes `files_folder` and its INI file, naming no folder, when missing; a
// file that is there is left as it is. Failures are ignored: without the
// file the default save folder is in force.
void EnsureVendorFiles(const std::string& files_folder);

// Removes what writes of the two files cut short (a kill) left in
// `files_folder`; for whoever starts first on the folder.
void RemoveVendorWriteLeftovers(const std::string& files_folder);

// Where downloads go when neither file names a folder: "Media/" in the
// user's home, with a trailing "/".
std::string DefaultSavePath();

// Where the settings dialog sends downloads when the helper names an empty
// folder or the user types a folder that is not an absolute path:
// "Videos/Media/" in the user's home, with a trailing "/".
std::string DefaultCacheFolder();

// The helper's current download folder for the installation `folder` (which
// ends with "/"): the INI file's value unless it is missing, empty or "0",
// else the XML file's.
std::string ReadSavePath(std::string_view folder);

// The download folder as the XML file writes it; DefaultSavePath() when the
// file or its attribute line is missing, and an empty text when that line
// holds no quoted value.
std::string ReadXmlSavePath(std::string_view folder);

// Where the helper saves: ReadSavePath(), or DefaultSavePath() where that
// names no absolute folder; with a trailing "/".
std::string DownloadFolder(std::string_view folder);

// Stores `new_path` as the download folder in both files of `folder`: the
// XML attribute (escaped) is rewritten only where it already names a folder;
// the INI key is always written. Both files change or neither does. False,
// with nothing written, when either text is empty, the folder's name holds
// a line end, or a file could not be written.
bool WriteSavePath(std::string_view folder, std::string_view new_path);

}  // namespace taviro
