// The two list files as the program keeps them, driven by a sequence of
// plays, position updates, deletes and clears with fields from outside (a
// hostile service, any file name). After each step every file parses whole:
// each line is a record of its full field count, no add loses the history,
// the page shows the lines the file holds, and a local path reads back as it
// was added.
#include <fuzzer/FuzzedDataProvider.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "lists/list_fields.h"
#include "lists/list_page.h"
#include "lists/list_text.h"
#include "lists/list_views.h"
#include "lists/media_lists.h"
#include "property.h"
#include "util/ansi_text.h"
#include "util/file_io.h"

namespace {

using taviro::ListFile;
using taviro::fuzz::Check;
using taviro::fuzz::CheckUnlessPending;

class QuietViews final : public taviro::ListViews {
 public:
  void ShowListPage(ListFile /*which*/, const std::filesystem::path& /*page*/) override {}
};

// One folder per process, in memory where the system offers it, removed
// when the run ends.
class Scratch {
 public:
  Scratch() {
    const std::filesystem::path base = std::filesystem::exists("/dev/shm") ? "/dev/shm" : "/tmp";
    folder_ = base / ("taviro-fuzz-lists-" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder_);
  }
  Scratch(const Scratch&) = delete;
  Scratch& operator=(const Scratch&) = delete;
  ~Scratch() {
    std::error_code ignored;
    std::filesystem::remove_all(folder_, ignored);
  }
  const std::filesystem::path& folder() const { return folder_; }

 private:
  std::filesystem::path folder_;
};

std::filesystem::path Folder() {
  static const Scratch scratch;
  return scratch.folder();
}

std::string Text(const std::filesystem::path& file) {
  return taviro::DecodeAnsi(taviro::ReadFileBytes(file).value_or(std::string()));
}

std::size_t Bars(std::string_view line) {
  return static_cast<std::size_t>(std::count(line.begin(), line.end(), '|'));
}

std::size_t RecordCount(std::string_view list) {
  std::size_t count = 0;
  for (const std::string_view line : taviro::SplitLines(list)) count += taviro::IsRecordLine(line) ? 1 : 0;
  return count;
}

// The way a row's click reads the path of a local-file record.
std::string RecordedLocalPath(std::string_view line) {
  return taviro::LocalPathFromStored(taviro::ListField(line, 1).value_or(std::string_view()));
}

void CheckFile(const taviro::MediaLists& lists, ListFile file) {
  const std::string bytes = taviro::ReadFileBytes(lists.ListFilePath(file)).value_or(std::string());
  Check(bytes.ends_with("\r\n"), "a list file ends with a line end", bytes);
  const std::string list = taviro::DecodeAnsi(bytes);
  const std::size_t bars = file == ListFile::kNetworkTasks ? 6 : 2;
  for (const std::string_view line : taviro::SplitLines(list)) {
    CheckUnlessPending(line.empty() || Bars(line) == bars, "record_fields", line);
  }
  const std::string page = Text(lists.ListPagePath(file));
  CheckUnlessPending(page == taviro::BuildListPage(file, list), "page_in_step", page);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider input(data, size);
  QuietViews views;
  const std::filesystem::path folder = Folder();
  for (const auto& entry : std::filesystem::directory_iterator(folder)) std::filesystem::remove(entry.path());
  taviro::MediaLists lists(folder, views);
  lists.CreateMissingListFiles();
  lists.RenderListPages();
  std::vector<std::string> paths;

  for (int step = 0; step < 12 && input.remaining_bytes() > 0; ++step) {
    switch (input.ConsumeIntegralInRange(0, 5)) {
      case 0: {
        const int id = input.ConsumeIntegralInRange(0, 4);
        const std::string title = input.ConsumeRandomLengthString(32);
        const std::string name = input.ConsumeRandomLengthString(32);
        const std::string url = input.ConsumeRandomLengthString(32);
        // The records an add keeps, whatever the new record holds.
        const std::size_t kept = RecordCount(taviro::NetworkListAfterAdd(
                                     Text(lists.ListFilePath(ListFile::kNetworkTasks)), "x|", id)) -
                                 1;
        lists.AddNetworkTask(id, title, name, url, input.ConsumeIntegral<int>(), input.ConsumeIntegral<int>(),
                             input.ConsumeIntegral<int>());
        const std::string list = Text(lists.ListFilePath(ListFile::kNetworkTasks));
        CheckUnlessPending(RecordCount(list) == kept + 1, "record_fields", list);
        break;
      }
      case 1: {
        const std::string name = input.ConsumeRandomLengthString(32);
        const std::string path = input.ConsumeRandomLengthString(48);
        lists.AddLocalFile(name, path, input.ConsumeIntegral<int>());
        paths.push_back(path);
        const std::string first = lists.ReadListLine(ListFile::kLocalFiles, 1).value_or(std::string());
        CheckUnlessPending(RecordedLocalPath(first) == path, "local_path_round_trip", first);
        break;
      }
      case 2:
        lists.UpdateNetworkTaskPosition(input.ConsumeIntegralInRange(0, 4), input.ConsumeIntegral<int>());
        break;
      case 3: {
        const std::string path = paths.empty()
                                     ? input.ConsumeRandomLengthString(16)
                                     : paths[input.ConsumeIntegralInRange<std::size_t>(0, paths.size() - 1)];
        lists.UpdateLocalFilePosition(path, input.ConsumeIntegral<int>());
        break;
      }
      case 4:
        lists.DeleteListLine(input.ConsumeBool() ? ListFile::kLocalFiles : ListFile::kNetworkTasks,
                             input.ConsumeIntegralInRange(-1, 6));
        break;
      default: lists.ClearList(input.ConsumeBool() ? ListFile::kLocalFiles : ListFile::kNetworkTasks); break;
    }
    CheckFile(lists, ListFile::kNetworkTasks);
    CheckFile(lists, ListFile::kLocalFiles);
  }
  return 0;
}
