#include "lists/downloaded_files.h"

#include "helper/download_name.h"
#include "lists/list_text.h"
#include "util/file_io.h"
#include "util/script_escape.h"

namespace taviro {
std::string DownloadFileName(std::string_view record) {
  const std::string address = ScriptUnescape(ListField(record, 3).value_or(std::string_view()));
  if (address.find("qvod") == std::string::npos) return {};
  return MediaFileName(address);
}

std::vector<std::string> DownloadedFilesIn(const std::string& folder, std::string_view name) {
  std::vector<std::string> present;
  if (!IsSafeFileName(name)) return present;
  for (const std::string& file : DownloadFilesOf(name)) {
    if (IsRegularFile(folder + file)) present.push_back(file);
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
