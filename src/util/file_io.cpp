#include "util/file_io.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <system_error>

namespace taviro {
namespace {

class FileDescriptor {
 public:
  explicit FileDescriptor(int fd) : fd_(fd) {}
  FileDescriptor(const FileDescriptor&) = delete;
  FileDescriptor& operator=(const FileDescriptor&) = delete;
  ~FileDescriptor() { Close(); }

  int get() const { return fd_; }
  bool valid() const { return fd_ >= 0; }
  bool Close() {
    if (fd_ < 0) {
      return true;
    }
    const int rc = ::close(fd_);
    fd_ = -1;
    return rc == 0;
  }

 private:
  int fd_;
};

bool WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t n = ::write(fd, bytes.data(), bytes.size());
    if (n < 0) {
      if (errno == EINTR) {
        continue;
      }
      return false;
    }
    bytes.remove_prefix(static_cast<std::size_t>(n));
  }
  return true;
}

// What mkostemp puts in place of "XXXXXX": letters and digits.
constexpr std::size_t kTemporarySuffixLength = 6;

std::string TemporaryPrefix(std::string_view name) {
  std::string prefix = ".";
  prefix.append(name).append(".");
  return prefix;
}

bool IsTemporaryOf(std::string_view entry, std::string_view name) {
  const std::string prefix = TemporaryPrefix(name);
  if (entry.size() != prefix.size() + kTemporarySuffixLength || !entry.starts_with(prefix)) {
    return false;
  }
  for (const char c : entry.substr(prefix.size())) {
    const bool letter_or_digit = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9');
    if (!letter_or_digit) {
      return false;
    }
  }
  return true;
}

// The permissions a plain new file would get, so replacing a file through a
// temporary does not leave it readable by its owner only.
mode_t NewFileMode(const std::filesystem::path& target) {
  struct stat existing {};
  if (::stat(target.c_str(), &existing) == 0) {
    return existing.st_mode & 07777U;
  }
  const mode_t mask = ::umask(0);
  ::umask(mask);
  return static_cast<mode_t>(0666U & ~mask);
}

}  // namespace

std::optional<std::string> ReadFileBytes(const std::filesystem::path& path) {
  FileDescriptor fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
  if (!fd.valid()) {
    return std::nullopt;
  }
  struct stat info {};
  if (::fstat(fd.get(), &info) != 0 || !S_ISREG(info.st_mode)) {
    return std::nullopt;
  }
  std::string bytes;
  bytes.reserve(static_cast<std::size_t>(info.st_size));
  char buffer[65536];
  for (;;) {
    const ssize_t n = ::read(fd.get(), buffer, sizeof buffer);
    if (n < 0) {
      if (errno == EINTR) {
        continue;
      }
      return std::nullopt;
    }
    if (n == 0) {
      break;
    }
    bytes.append(buffer, static_cast<std::size_t>(n));
  }
  return bytes;
}

namespace {

// A complete, synced copy of `bytes` beside `path`, under a temporary name;
// nothing (and no file left) on failure.
std::optional<std::string> WriteTemporaryBeside(const std::filesystem::path& path, std::string_view bytes) {
  const std::filesystem::path folder = path.has_parent_path() ? path.parent_path() : ".";
  std::string hidden_name = TemporaryPrefix(path.filename().string());
  hidden_name.append(kTemporarySuffixLength, 'X');
  std::string temp_name = (folder / hidden_name).string();
  FileDescriptor fd(::mkostemp(temp_name.data(), O_CLOEXEC));
  if (!fd.valid()) {
    return std::nullopt;
  }
  const bool written =
      ::fchmod(fd.get(), NewFileMode(path)) == 0 && WriteAll(fd.get(), bytes) && ::fsync(fd.get()) == 0;
  if (!fd.Close() || !written) {
    ::unlink(temp_name.c_str());
    return std::nullopt;
  }
  return temp_name;
}

}  // namespace

bool WriteFileAtomically(const std::filesystem::path& path, std::string_view bytes) {
  return WriteFilesTogether({{path, std::string(bytes)}});
}

bool WriteFilesTogether(const std::vector<FileContents>& files) {
  for (const FileContents& file : files) {
    std::error_code error;
    // No rename replaces a folder: find out before any file changes.
    if (std::filesystem::is_directory(std::filesystem::symlink_status(file.path, error))) return false;
  }
  std::vector<std::string> temporaries;
  for (const FileContents& file : files) {
    std::optional<std::string> temp = WriteTemporaryBeside(file.path, file.bytes);
    if (!temp) {
      for (const std::string& written : temporaries) ::unlink(written.c_str());
      return false;
    }
    temporaries.push_back(std::move(*temp));
  }
  // In order, stopping at the first that fails: the files after it keep
  // agreeing with it.
  for (std::size_t i = 0; i < files.size(); ++i) {
    if (::rename(temporaries[i].c_str(), files[i].path.c_str()) != 0) {
      for (std::size_t j = i; j < files.size(); ++j) ::unlink(temporaries[j].c_str());
      return false;
    }
  }
  return true;
}

int RemoveLeftoverTemporaries(const std::filesystem::path& folder,
                              const std::vector<std::string_view>& names) {
  return RemoveLeftoverTemporaries(folder, [&names](std::string_view name) {
    return std::find(names.begin(), names.end(), name) != names.end();
  });
}

int RemoveLeftoverTemporaries(const std::filesystem::path& folder,
                              const std::function<bool(std::string_view name)>& written_here) {
  std::error_code error;
  std::filesystem::directory_iterator entries(folder, error);
  if (error) {
    return 0;
  }
  int removed = 0;
  for (const std::filesystem::directory_entry& entry : entries) {
    const std::string entry_name = entry.path().filename().string();
    // "." name "." and the suffix: the name is what lies between.
    if (entry_name.size() < 2 + 1 + kTemporarySuffixLength) {
      continue;
    }
    const std::string_view name =
        std::string_view(entry_name).substr(1, entry_name.size() - 2 - kTemporarySuffixLength);
    // Only a plain file is ours; unlink never follows a link anyway.
    if (IsTemporaryOf(entry_name, name) && written_here(name) && entry.is_regular_file(error) &&
        !entry.is_symlink(error) && ::unlink(entry.path().c_str()) == 0) {
      ++removed;
    }
  }
  return removed;
}

bool IsRegularFile(const std::filesystem::path& path) {
  struct stat info {};
  return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

std::vector<std::string_view> SplitLines(std::string_view text) {
  std::vector<std::string_view> lines;
  while (!text.empty()) {
    const std::size_t lf = text.find('\n');
    std::string_view line = text.substr(0, lf);
    if (!line.empty() && line.back() == '\r') {
      line.remove_suffix(1);
    }
    lines.push_back(line);
    if (lf == std::string_view::npos) {
      break;
    }
    text.remove_prefix(lf + 1);
  }
  return lines;
}

}  // namespace taviro
