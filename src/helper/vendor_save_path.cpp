#include "helper/vendor_save_path.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <optional>
#include <system_error>
#include <utility>
#include <vector>

#include "settings/settings_store.h"
#include "util/ansi_text.h"
#include "util/app_folder.h"
#include "util/extract_between.h"
#include "util/file_io.h"
#include "util/html_escape.h"
#include "util/profile_text.h"

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

// The attribute's text as the file spells it, references and all; nothing
// when no line names it, an empty text when its value is not quoted.
std::optional<std::string> RawXmlSavePath(std::string_view text) {
  for (std::string_view line : SplitLines(text)) {
    if (line.find(kVendorSaveAttribute) != std::string_view::npos) {
      const std::string start = std::string(kVendorSaveAttribute) + '"';
      return ExtractBetween(line, start, "\"", 2).value_or(std::string());
    }
  }
  return std::nullopt;
}

std::string XmlUnescaped(std::string_view text) {
  static constexpr std::pair<std::string_view, char> kReferences[] = {
      {"&quot;", '"'}, {"&#39;", '\''}, {"&apos;", '\''}, {"&lt;", '<'}, {"&gt;", '>'}, {"&amp;", '&'}};
  std::string plain;
  while (!text.empty()) {
    bool replaced = false;
    for (const auto& [reference, character] : kReferences) {
      if (text.starts_with(reference)) {
        plain += character;
        text.remove_prefix(reference.size());
        replaced = true;
        break;
      }
    }
    if (!replaced) {
      plain += text.front();
      text.remove_prefix(1);
    }
  }
  return plain;
}

// The XML file with every attribute naming the old folder naming `new_path`;
// nothing when the file names no folder, which is then left alone.
std::optional<std::string> XmlWithSavePath(std::string_view folder, std::string_view new_path) {
  const std::optional<std::string> bytes = ReadFileBytes(Joined(folder, kVendorPlayerFile));
  if (!bytes) return std::nullopt;
  const std::string decoded = DecodeAnsi(*bytes);
  const std::optional<std::string> old_path = RawXmlSavePath(decoded);
  if (!old_path || old_path->empty()) return std::nullopt;
  std::string text;
  for (std::string_view line : SplitLines(decoded)) {
    text += line;
    text += kCrLf;
  }
  const std::string quoted = std::string(kVendorSaveAttribute) + '"';
  const std::string old_attribute = quoted + *old_path + '"';
  std::string new_attribute = quoted;
  AppendHtmlEscaped(new_attribute, new_path);
  new_attribute += '"';
  for (std::size_t at = text.find(old_attribute); at != std::string::npos;
       at = text.find(old_attribute, at + new_attribute.size())) {
    text.replace(at, old_attribute.size(), new_attribute);
  }
  text += kCrLf;
  return EncodeAnsi(text);
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

void EnsureVendorFiles(const std::string& files_folder) {
  std::error_code ignored;  // a folder that cannot be made fails the write below
  std::filesystem::create_directories(files_folder, ignored);
  const std::string config = Joined(files_folder, kVendorConfigFile);
  // "0": no folder chosen yet, so each user who runs this installation saves
  // into their own default until one is; a file that cannot be written
  // leaves the same default in force.
  if (!IsRegularFile(config))
    (void)WriteFileAtomically(config, EncodeAnsi(DefaultConfigText(kUnsetSavePath)));
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
  const std::optional<std::string> raw = RawXmlSavePath(DecodeAnsi(*bytes));
  return raw ? XmlUnescaped(*raw) : DefaultSavePath();
}

std::string DownloadFolder(std::string_view folder) {
  std::string save = ReadSavePath(folder);
  // An empty or relative name would put the films in "/" or wherever the
  // helper happened to start.
  if (!save.starts_with('/')) save = DefaultSavePath();
  if (!save.ends_with('/')) save += '/';
  return save;
}

bool WriteSavePath(std::string_view folder, std::string_view new_path) {
  if (folder.empty() || new_path.empty() || new_path.find_first_of("\r\n") != std::string_view::npos) {
    return false;
  }
  const std::string config_path = Joined(folder, kVendorConfigFile);
  const std::optional<std::string> old_config = ReadFileBytes(config_path);
  if (!old_config && IsRegularFile(config_path)) return false;  // there, but unreadable: kept
  std::vector<FileContents> files{
      {config_path, SetProfileValue(old_config.value_or(""), EncodeAnsi(kVendorConfigSection),
                                    EncodeAnsi(kVendorSaveKey), EncodeAnsi(new_path))}};
  if (std::optional<std::string> xml = XmlWithSavePath(folder, new_path)) {
    files.push_back({Joined(folder, kVendorPlayerFile), std::move(*xml)});
  }
  // The helper reads the INI file first and the XML file after it: both
  // name the new folder, or neither changes.
  return WriteFilesTogether(files);
}

}  // namespace taviro
