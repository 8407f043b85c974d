#include "linux/mpv/mpv_probe.h"

#include <dlfcn.h>
#include <mpv/client.h>

#include <clocale>
#include <filesystem>
#include <memory>

namespace taviro::mpv {
namespace {

struct HandleEnd {
  void operator()(mpv_handle* handle) const { mpv_terminate_destroy(handle); }
};

}  // namespace

bool MpvProbe::CanCreatePlayer() {
  if (player_started_) {
    return true;
  }
  // libmpv refuses a locale whose numbers are not written the C way.
  std::setlocale(LC_NUMERIC, "C");
  const std::unique_ptr<mpv_handle, HandleEnd> handle(mpv_create());
  if (!handle) {
    return false;
  }
  for (const auto& [name, value] : {std::pair{"config", "no"},
                                    {"load-scripts", "no"},
                                    {"ytdl", "no"},
                                    {"vo", "null"},
                                    {"ao", "null"},
                                    {"terminal", "no"}}) {
    mpv_set_option_string(handle.get(), name, value);
  }
  return mpv_initialize(handle.get()) >= 0;
}

bool MpvProbe::LibraryPresent() {
  // The symbol as the loader found it, in libmpv itself rather than in a
  // stub of this program.
  void* symbol = ::dlsym(RTLD_DEFAULT, "mpv_create");
  Dl_info info{};
  if (symbol == nullptr || ::dladdr(symbol, &info) == 0 || info.dli_fname == nullptr) {
    return false;
  }
  std::error_code unreadable;  // counts as gone
  return std::filesystem::is_regular_file(info.dli_fname, unreadable);
}

}  // namespace taviro::mpv
