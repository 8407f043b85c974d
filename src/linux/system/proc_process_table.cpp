#include "linux/system/proc_process_table.h"

#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <charconv>
#include <fstream>
#include <limits>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>
#include <utility>

namespace taviro {
namespace {

constexpr std::string_view kDeletedSuffix = " (deleted)";

std::optional<std::int32_t> ParsePid(std::string_view text) {
  std::int32_t pid = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), pid);
  if (error != std::errc() || end != text.data() + text.size() || pid <= 0) {
    return std::nullopt;
  }
  return pid;
}

std::vector<std::int32_t> ListPids(const std::filesystem::path& proc_root) {
  std::vector<std::int32_t> pids;
  std::error_code error;
  for (std::filesystem::directory_iterator it(proc_root, error), end; !error && it != end;
       it.increment(error)) {
    if (const auto pid = ParsePid(it->path().filename().native())) {
      pids.push_back(*pid);
    }
  }
  std::sort(pids.begin(), pids.end());
  return pids;
}

std::string BaseName(std::string_view path) {
  const std::size_t slash = path.rfind('/');
  return std::string(slash == std::string_view::npos ? path : path.substr(slash + 1));
}

// The link names the binary even when argv[0] was faked or relative; a
// binary replaced or removed since the start shows as "path (deleted)".
std::string PathFromExeLink(const std::filesystem::path& process_folder) {
  std::error_code error;
  std::string target = std::filesystem::read_symlink(process_folder / "exe", error).native();
  if (error) {
    return {};
  }
  if (std::string_view(target).ends_with(kDeletedSuffix)) {
    target.resize(target.size() - kDeletedSuffix.size());
  }
  return target;
}

// Another user's exe link may not be read, while the command line may.
std::string NameFromCommandLine(const std::filesystem::path& process_folder) {
  std::ifstream in(process_folder / "cmdline", std::ios::binary);
  std::string argv0;
  if (!in || !std::getline(in, argv0, '\0')) {
    return {};
  }
  return BaseName(argv0);
}

// A process's folder belongs to the user the process runs as.
bool OwnedBy(const std::filesystem::path& process_folder, uid_t owner) {
  struct stat info {};
  return ::stat(process_folder.c_str(), &info) == 0 && info.st_uid == owner;
}

}  // namespace

ProcProcessTable::ProcProcessTable(std::filesystem::path proc_root, uid_t owner)
    : proc_root_(std::move(proc_root)), owner_(owner) {}

std::vector<ProcessEntry> ProcProcessTable::List() {
  std::vector<ProcessEntry> entries;
  for (const std::int32_t pid : ListPids(proc_root_)) {
    const std::filesystem::path folder = proc_root_ / std::to_string(pid);
    if (!OwnedBy(folder, owner_)) {
      continue;
    }
    std::string path = PathFromExeLink(folder);
    std::string name = path.empty() ? NameFromCommandLine(folder) : BaseName(path);
    // Empty for kernel threads and for processes that ended meanwhile.
    if (!name.empty()) {
      entries.push_back({pid, std::move(name), std::move(path)});
    }
  }
  return entries;
}

bool ProcProcessTable::Terminate(std::int32_t id) {
  // kill(0) and kill(-1) would signal whole process groups or every process
  // we may signal; ending ourselves is never what a caller means.
  if (id <= 0 || id == ::getpid()) {
    return false;
  }
  // SIGTERM rather than SIGKILL: the download helper that ends this way
  // flushes its partly downloaded files and its progress before it exits,
  // while a program without a handler ends at once just the same.
  return ::kill(id, SIGTERM) == 0;
}

}  // namespace taviro
