#include "lists/downloaded_files.h"

#include <algorithm>

#include "helper/download_name.h"
#include "helper/programme_progress.h"
#include "helper/ranges_file.h"
#include "helper/transfer_rules.h"
#include "lists/list_text.h"
#include "util/file_io.h"
#include "util/folder_listing.h"
#include "util/private_files.h"
#include "util/script_escape.h"

namespace taviro {
namespace {

// Small by nature; a larger file is no ranges list of the helper's.
constexpr std::int64_t kLargestRangesList = 1024 * 1024;

std::optional<std::string> RangesKey(const std::string& path) {
  const std::optional<std::string> text = ReadSmallFile(path, kLargestRangesList, LinkRule::kRefuse);
  if (!text) return std::nullopt;
  if (const auto ranges = helper::ParseRangesFile(*text)) return ranges->source;
  if (const auto progress = helper::ParseProgrammeProgress(*text)) return progress->source;
  return std::nullopt;
}

}  // namespace
std::string DownloadFileName(std::string_view record) {
  const std::string address = ScriptUnescape(ListField(record, 3).value_or(std::string_view()));
  if (address.find("qvod") == std::string::npos) return {};
  return MediaFileName(address);
}

std::string DownloadKey(std::string_view record, std::string_view service_base) {
  const std::string address = ScriptUnescape(ListField(record, 3).value_or(std::string_view()));
  const std::optional<std::string> source = helper::SourceAddress(address, service_base);
  return source ? helper::SourceKey(address, *source) : std::string();
}

std::vector<std::string> DownloadedFilesIn(const std::string& folder, std::string_view name,
                                           std::string_view key) {
  std::vector<std::string> present;
  const auto add = [&](const std::string& file) {
    if (IsRegularFile(folder + file) && std::find(present.begin(), present.end(), file) == present.end())
      present.push_back(file);
  };
  // The item a file names: its note, or for a ranges list (where the file
  // system keeps no notes) its source line.
  const auto item_of = [&folder](const std::string& file) {
    return file.ends_with(kRangesSuffix) ? RangesKey(folder + file) : FileNote(folder + file, kSourceNote);
  };
  if (IsSafeFileName(name)) {
    for (const std::string& file : DownloadFilesOf(name)) {
      const std::optional<std::string> item = key.empty() ? std::nullopt : item_of(file);
      if (!item || *item == key) add(file);  // another item's file of that name stays
    }
  }
  if (key.empty()) return present;
  std::vector<std::string> names;
  ListFolderFiles(folder, names, "*.*");
  for (const std::string& file : names) {
    if (file.starts_with('.')) continue;
    const bool ranges = file.ends_with(kRangesSuffix);
    const std::string base = file.substr(0, file.size() - (ranges ? kRangesSuffix.size() : 0));
    if (item_of(file) == key) {
      const std::string saved =
          base.ends_with(kPartialSuffix) ? base.substr(0, base.size() - kPartialSuffix.size()) : base;
      for (const std::string& made : DownloadFilesOf(saved)) add(made);
    }
  }
  return present;
}

std::string DeleteDownloadsQuestion(std::string_view folder, const std::vector<std::string>& names) {
  std::string text = "确定要删除 [";
  text += folder;
  text += "] 下面的这些文件吗？";
  text += kCrLf;
  text += kCrLf;
  for (const std::string& name : names) {
    text += name;
    text += kCrLf;
  }
  return text;
}

}  // namespace taviro
