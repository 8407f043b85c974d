#include "lists/downloaded_files.h"

#include "app/file_io.h"
#include "app/path_names.h"
#include "app/script_escape.h"
#include "app/utf8.h"
#include "lists/list_text.h"

namespace taviro {
namespace {

constexpr std::size_t kShortestCutPrefix = 3;

// Half of `length`, with a half rounded to the even neighbour.
std::size_t HalfRoundedToEven(std::size_t length) {
  const std::size_t half = length / 2;
  if (length % 2 == 0) return half;
  return half % 2 == 0 ? half : half + 1;
}

}  // namespace

std::string DownloadFileName(std::string_view record) {
  const std::string address = ScriptUnescape(ListField(record, 3).value_or(std::string_view()));
  if (address.find('|') == std::string::npos) return {};
  return ScriptUnescape(ListField(address, 2).value_or(std::string_view()));
}

std::string DownloadNamePrefix(std::string_view file_name) {
  // Counted in characters, so a cut never splits one.
  const std::u32string base = DecodeUtf8(StripExtension(file_name));
  const std::size_t cut = HalfRoundedToEven(base.size());
  if (cut < kShortestCutPrefix) return EncodeUtf8(base);
  return EncodeUtf8(std::u32string_view(base).substr(0, cut));
}

std::vector<std::string> NamesStartingWith(const std::vector<std::string>& names, std::string_view prefix) {
  std::vector<std::string> matching;
  for (const std::string& name : names) {
    if (name.starts_with(prefix)) matching.push_back(name);
  }
  return matching;
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
