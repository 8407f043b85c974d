#include "playback/vendor_save_path.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <optional>
#include <system_error>

#include "app/ansi_text.h"
#include "app/app_folder.h"
#include "app/extract_between.h"
#include "app/file_io.h"
#include "app/settings_store.h"

namespace taviro {
namespace {

std::string HomeFolder() {
  if (const char* home = std::getenv("HOME"); home != nullptr && *home != '\0') {
    return home;
  }
  // A session without HOME (started from a service manager) still has an
  // account entry.
  if (const passwd* account = getpwuid(getuid()); account != nullptr && account->pw_dir != nullptr) {
    return account->pw_dir;
  }
  return {};
}

std::string InHome(std::string_view relative) {
  std::string home = HomeFolder();
  if (!home.empty() && home.back() == '/') home.pop_back();
  return home + "/" + std::string(relative);
}

std::string Joined(std::string_view folder, std::string_view name) {
  std::string path(folder);
  path += name;
  return path;
}

}  // namespace

std::string VendorFilesFolder(const std::filesystem::path& app_folder) {
  return (app_folder / "Qvod").string() + "/";
}

std::optional<std::string> VendorFilesFolderFor(std::string_view helper_folder,
                                                const std::filesystem::path& data_home) {
  // ".../Qvod/" names the folder "Qvod"; the program is in the one above.
  const std::filesystem::path program_folder =
      std::filesystem::path(helper_folder).lexically_normal().parent_path().parent_path();
  const AppFolderChoice choice = ResolveAppFolder(program_folder, data_home);
  if (choice.refused) return std::nullopt;
  return VendorFilesFolder(choice.folder);
}

std::string DefaultConfigText(std::string_view save_folder) {
  return "[NBQVODTERMINAL]\r\ndefaultsavepath=" + std::string(save_folder) + "\r\n";
}

std::string DefaultPlayerXmlText(std::string_view save_folder) {
  return "<?xml version=\"1.0\" encoding=\"gb2312\"?>\r\n<QvodPlayer>\r\n<Download Defaultsavepath=\"" +
         std::string(save_folder) + "\" />\r\n</QvodPlayer>\r\n";
}

void EnsureVendorFiles(const std::string& files_folder) {
  std::error_code ignored;  // a folder that cannot be made fails the writes below
  std::filesystem::create_directories(files_folder, ignored);
  const std::string save = DefaultSavePath();
  const std::string config = Joined(files_folder, kVendorConfigFile);
  const std::string xml = Joined(files_folder, kVendorPlayerFile);
  // Files that cannot be written leave the default save folder in force.
  if (!IsRegularFile(config)) (void)WriteFileAtomically(config, EncodeAnsi(DefaultConfigText(save)));
  if (!IsRegularFile(xml)) (void)WriteFileAtomically(xml, EncodeAnsi(DefaultPlayerXmlText(save)));
}

void RemoveVendorWriteLeftovers(const std::string& files_folder) {
  // How many went tells nobody anything: a fresh folder has none.
  (void)RemoveLeftoverTemporaries(files_folder, {kVendorConfigFile, kVendorPlayerFile});
}

std::string DefaultSavePath() { return InHome("Media/"); }

std::string DefaultCacheFolder() { return InHome("Videos/Media/"); }

std::string ReadSavePath(std::string_view folder) {
  const std::string config = Joined(folder, kVendorConfigFile);
  if (IsRegularFile(config)) {
    std::string value = ReadSetting(config, kVendorConfigSection, kVendorSaveKey, "0");
    if (!value.empty() && value != "0") return value;
  }
  return ReadXmlSavePath(folder);
}

std::string ReadXmlSavePath(std::string_view folder) {
  if (folder.empty()) return DefaultSavePath();
  const std::optional<std::string> bytes = ReadFileBytes(Joined(folder, kVendorPlayerFile));
  if (!bytes) return DefaultSavePath();
  const std::string text = DecodeAnsi(*bytes);
  for (std::string_view line : SplitLines(text)) {
    if (line.find(kVendorSaveAttribute) != std::string_view::npos) {
      const std::string start = std::string(kVendorSaveAttribute) + '"';
      return ExtractBetween(line, start, "\"", 2).value_or(std::string());
    }
  }
  return DefaultSavePath();
}

bool WriteSavePath(std::string_view folder, std::string_view new_path) {
  if (folder.empty() || new_path.empty()) return false;
  const std::string xml_path = Joined(folder, kVendorPlayerFile);
  if (const std::optional<std::string> bytes = ReadFileBytes(xml_path)) {
    const std::string decoded = DecodeAnsi(*bytes);
    std::string text;
    for (std::string_view line : SplitLines(decoded)) {
      text += line;
      text += kCrLf;
    }
    const std::string old_path = ReadXmlSavePath(folder);
    if (text.find(kVendorSaveAttribute) != std::string::npos && !old_path.empty()) {
      const std::string quoted = std::string(kVendorSaveAttribute) + '"';
      const std::string old_attribute = quoted + old_path + '"';
      const std::string new_attribute = quoted + std::string(new_path) + '"';
      for (std::size_t at = text.find(old_attribute); at != std::string::npos;
           at = text.find(old_attribute, at + new_attribute.size())) {
        text.replace(at, old_attribute.size(), new_attribute);
      }
      text += kCrLf;
      // The XML file is a second copy for the helper; failing to rewrite it
      // is ignored on purpose.
      (void)WriteFileAtomically(xml_path, EncodeAnsi(text));
    }
  }
  return WriteSetting(Joined(folder, kVendorConfigFile), kVendorConfigSection, kVendorSaveKey, new_path);
}

}  // namespace taviro
