#include "lists/media_lists.h"

#include <system_error>
#include <utility>
#include <vector>

#include "lists/list_page.h"
#include "lists/list_text.h"
#include "util/ansi_text.h"
#include "util/file_io.h"

namespace taviro {
namespace {

constexpr ListFile kBothLists[] = {ListFile::kNetworkTasks, ListFile::kLocalFiles};

bool Exists(const std::filesystem::path& path) {
  std::error_code ignored;
  return std::filesystem::exists(path, ignored);
}

// An update drops lines that hold no record; the page numbers its rows by
// line, so it must follow.
bool SameLineCount(std::string_view before, std::string_view after) {
  return SplitLines(before).size() == SplitLines(after).size();
}

}  // namespace

MediaLists::MediaLists(std::filesystem::path app_folder, ListViews& views)
    : app_folder_(std::move(app_folder)), views_(views) {}

std::filesystem::path MediaLists::ListFilePath(ListFile file) const {
  return app_folder_ / ListFileName(file);
}

std::filesystem::path MediaLists::ListPagePath(ListFile file) const {
  return app_folder_ / ListPageName(file);
}

std::optional<std::string> MediaLists::ReadList(ListFile file) const {
  std::optional<std::string> bytes = ReadFileBytes(ListFilePath(file));
  if (!bytes) {
    return std::nullopt;
  }
  return DecodeAnsi(*bytes);
}

std::optional<int> MediaLists::LocalNeighbour(std::string_view path, int step) const {
  const std::optional<std::string> list = ReadList(ListFile::kLocalFiles);
  return list ? LocalNeighbourLine(*list, path, step) : std::nullopt;
}

bool MediaLists::WriteList(ListFile file, std::string_view list_text) const {
  return WriteFileAtomically(ListFilePath(file), EncodeAnsi(list_text));
}

// The page is built from the text just written rather than read back. When
// the write failed the old file stays, and so does the page that matches it,
// so the line numbers in its links remain right.
void MediaLists::WriteListAndRender(ListFile file, std::string_view list_text) {
  if (WriteList(file, list_text)) {
    RenderFrom(file, list_text);
  }
}

bool MediaLists::WritePage(ListFile file, std::string_view list_text) const {
  return WriteFileAtomically(ListPagePath(file), EncodeAnsi(BuildListPage(file, list_text)));
}

void MediaLists::RenderFrom(ListFile file, std::string_view list_text) {
  if (WritePage(file, list_text)) {
    views_.ShowListPage(file, ListPagePath(file));
  }
}

void MediaLists::WriteUpdate(ListFile file, std::string_view before, std::string_view after) {
  if (SameLineCount(before, after)) {
    WriteList(file, after);  // positions are not shown
  } else {
    WriteListAndRender(file, after);
  }
}

void MediaLists::AddNetworkTask(int id, std::string_view title, std::string_view episode_name,
                                std::string_view media_url, int source, int episode, int position) {
  const std::optional<std::string> list = ReadList(ListFile::kNetworkTasks);
  if (!list) {
    return;
  }
  const std::string record =
      NetworkTaskRecordLine(id, title, episode_name, media_url, source, episode, position);
  WriteListAndRender(ListFile::kNetworkTasks, NetworkListAfterAdd(*list, record, id));
}

void MediaLists::UpdateNetworkTaskPosition(int id, int position) {
  if (const std::optional<std::string> list = ReadList(ListFile::kNetworkTasks)) {
    WriteUpdate(ListFile::kNetworkTasks, *list, NetworkListAfterPositionUpdate(*list, id, position));
  }
}

void MediaLists::AddLocalFile(std::string_view display_name, std::string_view path, int position) {
  const std::optional<std::string> list = ReadList(ListFile::kLocalFiles);
  if (!list) {
    return;
  }
  const std::string record = LocalFileRecordLine(display_name, path, position);
  WriteListAndRender(ListFile::kLocalFiles, LocalListAfterAdd(*list, record, path));
}

void MediaLists::UpdateLocalFilePosition(std::string_view path, int position) {
  if (const std::optional<std::string> list = ReadList(ListFile::kLocalFiles)) {
    WriteUpdate(ListFile::kLocalFiles, *list, LocalListAfterPositionUpdate(*list, path, position));
  }
}

void MediaLists::DeleteListLine(ListFile file, int line_number) {
  if (const std::optional<std::string> list = ReadList(file)) {
    WriteListAndRender(file, ListAfterDelete(*list, line_number));
  }
}

void MediaLists::ClearList(ListFile file) {
  if (Exists(ListFilePath(file))) {
    WriteListAndRender(file, kEmptyListText);
  }
}

void MediaLists::CreateMissingListFiles() {
  for (ListFile file : kBothLists) {
    if (!Exists(ListFilePath(file))) {
      WriteList(file, kEmptyListText);
    }
  }
}

void MediaLists::RenderListPages() {
  for (ListFile file : kBothLists) {
    if (const std::optional<std::string> list = ReadList(file)) {
      (void)WritePage(file, *list);  // a page that cannot be written keeps the old one
    }
  }
}

std::optional<std::string> MediaLists::ReadListLine(ListFile file, int line_number) const {
  const std::optional<std::string> list = ReadList(file);
  if (!list) {
    return std::nullopt;
  }
  const std::vector<std::string_view> lines = SplitLines(*list);
  if (line_number < 1 || static_cast<std::size_t>(line_number) > lines.size()) {
    return std::string();
  }
  return std::string(lines[static_cast<std::size_t>(line_number) - 1]);
}

}  // namespace taviro
