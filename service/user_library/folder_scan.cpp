#include "user_library/folder_scan.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>

#include <algorithm>
#include <array>
#include <iostream>
#include <memory>
#include <set>
#include <utility>

#include "util/ansi_text.h"
#include "util/utf8.h"

namespace taviro::demo {
namespace {

constexpr std::array<std::string_view, 19> kMediaExtensions = {
    "mkv", "mp4",  "m4v",  "avi", "mov", "wmv", "flv",  "webm", "ts", "m2ts",
    "mpg", "mpeg", "rmvb", "rm",  "3gp", "mp3", "flac", "m4a",  "ogg"};
constexpr std::array<std::string_view, 3> kPictureStems = {"poster", "folder", "cover"};
constexpr std::array<std::string_view, 4> kPictureExtensions = {"jpg", "jpeg", "png", "webp"};

std::string Lower(std::string_view text) {
  std::string lower(text);
  std::transform(lower.begin(), lower.end(), lower.begin(),
                 [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; });
  return lower;
}

std::pair<std::string, std::string> SplitExtension(std::string_view name) {
  const std::size_t dot = name.rfind('.');
  if (dot == std::string_view::npos || dot == 0) return {Lower(name), {}};
  return {Lower(name.substr(0, dot)), Lower(name.substr(dot + 1))};
}

template <std::size_t N>
bool OneOf(const std::array<std::string_view, N>& words, std::string_view word) {
  return std::find(words.begin(), words.end(), word) != words.end();
}

// A name from another system's disk (GBK bytes) is shown decoded; the file
// is still opened by its own bytes.
std::string ShownName(std::string_view name) {
  return IsValidUtf8(name) ? std::string(name) : DecodeAnsi(name);
}

struct DirCloser {
  void operator()(DIR* dir) const { closedir(dir); }
};

class Walker {
 public:
  Walker(const std::atomic<bool>& stop, std::atomic<long>& files_seen, FolderScan& scan)
      : stop_(stop), files_seen_(files_seen), scan_(scan) {}

  void Walk(const std::string& path, const std::string& relative) {
    if (stop_) return;
    struct stat info {};
    if (stat(path.c_str(), &info) != 0 || !S_ISDIR(info.st_mode)) return;
    // A folder reached again (a link loop, a bind mount) is walked once.
    if (!walked_.insert({info.st_dev, info.st_ino}).second) return;
    const std::unique_ptr<DIR, DirCloser> dir(opendir(path.c_str()));
    if (!dir) {
      std::cerr << "taviro-service: cannot read folder " << path << "\n";
      return;
    }
    if (relative.empty()) scan_.readable = true;
    scan_.folders.push_back(path);
    std::vector<std::pair<std::string, std::string>> subfolders;
    while (const dirent* entry = readdir(dir.get())) {
      const std::string_view name = entry->d_name;
      if (name == "." || name == ".." || name.front() == '.') continue;
      const std::string child = path + "/" + std::string(name);
      const std::string shown = relative.empty() ? ShownName(name) : relative + "/" + ShownName(name);
      struct stat child_info {};
      if (stat(child.c_str(), &child_info) != 0) continue;  // a dangling link
      if (S_ISDIR(child_info.st_mode)) {
        subfolders.emplace_back(child, shown);
        continue;
      }
      if (!S_ISREG(child_info.st_mode)) continue;
      const auto [stem, extension] = SplitExtension(name);
      if (OneOf(kMediaExtensions, extension)) {
        scan_.media.push_back({child, shown, static_cast<std::int64_t>(child_info.st_size),
                               static_cast<std::int64_t>(child_info.st_mtim.tv_sec)});
        ++files_seen_;
      } else if (OneOf(kPictureStems, stem) && OneOf(kPictureExtensions, extension)) {
        scan_.pictures.emplace(relative, child);
      }
    }
    for (const auto& [child, shown] : subfolders) Walk(child, shown);
  }

 private:
  const std::atomic<bool>& stop_;
  std::atomic<long>& files_seen_;
  FolderScan& scan_;
  std::set<std::pair<dev_t, ino_t>> walked_;
};

}  // namespace

bool IsMediaFileName(std::string_view name) { return OneOf(kMediaExtensions, SplitExtension(name).second); }

FolderScan ScanFolder(const std::string& root, const std::atomic<bool>& stop, std::atomic<long>& files_seen) {
  FolderScan scan;
  Walker(stop, files_seen, scan).Walk(root, "");
  return scan;
}

}  // namespace taviro::demo
