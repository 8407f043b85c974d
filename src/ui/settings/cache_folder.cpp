#include "ui/settings/cache_folder.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <system_error>

#include "helper/vendor_save_path.h"
#include "playback/vendor_processes.h"
#include "ports/process_table.h"
#include "ports/program_launcher.h"
#include "util/process_helpers.h"

namespace taviro {
namespace {

bool IsAbsolute(std::string_view path) { return !path.empty() && path.front() == '/'; }

}  // namespace

std::string WithTrailingSlash(std::string text) {
  if (!text.empty() && text.back() != '/') text += '/';
  return text;
}

std::string CacheFolderFromText(std::string_view text) {
  if (!IsAbsolute(text)) return DefaultCacheFolder();
  return WithTrailingSlash(std::string(text));
}

std::string KnownVendorFolder(std::string_view stored) {
  if (!IsAbsolute(stored)) return {};
  return WithTrailingSlash(std::string(stored));
}

bool MakeFolderUsable(const std::string& folder) {
  std::error_code error;
  std::filesystem::create_directories(folder, error);
  if (!std::filesystem::is_directory(folder, error)) return false;
  // Permission bits do not tell the whole story (read-only mounts, root):
  // writing a file does. A new file of a name no one can foretell, never
  // through a link: in a folder others write to, any name may be taken.
  std::string probe = (std::filesystem::path(folder) / ".taviro-write-test-XXXXXX").string();
  const int fd = ::mkostemp(probe.data(), O_CLOEXEC);
  if (fd < 0) return false;
  const bool written = ::write(fd, "0", 1) == 1;
  ::close(fd);  // the file goes at once; its close says nothing more
  ::unlink(probe.c_str());
  return written;
}

bool OthersMayWrite(const std::string& folder) {
  struct stat info {};
  return ::stat(folder.c_str(), &info) == 0 && (info.st_mode & (S_IWGRP | S_IWOTH)) != 0;
}

bool MoveCacheFolder(ProcessTable& processes, ProgramLauncher& launcher, const std::string& vendor_folder,
                     const std::string& files_folder, const std::string& folder) {
  if (!vendor_folder.empty()) {
    // A process that will not end is left running: the helper rereads its
    // files when it starts again anyway.
    KillProgram(processes, vendor_folder + std::string(kVendorPlayerProgram));
    KillProgram(processes, vendor_folder + std::string(kDownloadHelperProgram));
  }
  const bool stored = WriteSavePath(files_folder, folder);
  if (!vendor_folder.empty()) {
    // The helper may not be installed; downloads then wait for it.
    (void)launcher.Start(vendor_folder + std::string(kDownloadHelperProgram), {});
  }
  return stored;
}

}  // namespace taviro
