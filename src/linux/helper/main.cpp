// QvodTerminal.exe: the download helper. It downloads network media into the
// save folder its two configuration files name, serves it to the player on
// 127.0.0.1 while it arrives, and takes commands from its own user on a
// Unix socket named after its folder, in the user's private runtime folder.
#include <curl/curl.h>
#include <poll.h>
#include <pwd.h>
#include <signal.h>
#include <sys/signalfd.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <system_error>

#include "helper/download_name.h"
#include "helper/helper_leftovers.h"
#include "helper/helper_protocol.h"
#include "helper/transfer_rules.h"
#include "helper/vendor_save_path.h"
#include "linux/helper/control_socket.h"
#include "linux/helper/media_server.h"
#include "linux/helper/terminal.h"
#include "linux/system/line_socket.h"
#include "linux/system/unix_helper_channel.h"
#include "util/app_folder.h"

namespace taviro::helper {
namespace {

constexpr std::size_t kLongestRequest = 8192;
constexpr std::chrono::milliseconds kRequestWait{2000};
constexpr std::chrono::milliseconds kTakeOverWait{5000};

bool Debug() {
  const char* value = std::getenv("TAVIRO_DEBUG");
  return value != nullptr && *value != '\0' && std::string_view(value) != "0";
}

std::string OwnFolder() {
  std::error_code error;
  std::string folder = std::filesystem::read_symlink("/proc/self/exe", error).parent_path().string();
  return folder.ends_with('/') ? folder : folder + "/";
}

// The folder of the two files: beside the helper in a portable
// installation, in the user's data folder when the installation is the
// system's (as the program beside it decides for its own files).
std::optional<std::string> FilesFolder(const std::string& own_folder) {
  const char* home = std::getenv("HOME");
  // The program falls back on the account's home the same way.
  if (home == nullptr || *home == '\0') {
    const passwd* account = ::getpwuid(::getuid());
    home = account != nullptr ? account->pw_dir : nullptr;
  }
  return VendorFilesFolderFor(own_folder, XdgDataHome(std::getenv("XDG_DATA_HOME"), home));
}

class Helper {
 public:
  Helper(std::string save_folder, bool debug)
      : terminal_(std::move(save_folder), debug), server_(terminal_) {}

  int Run(UniqueFd control, int signals) {
    if (server_.Start() < 0) return 1;
    pollfd waits[2] = {{control.get(), POLLIN, 0}, {signals, POLLIN, 0}};
    while (!quit_) {
      if (::poll(waits, 2, -1) < 0) continue;
      if (waits[1].revents != 0) break;
      if (waits[0].revents != 0) Answer(control.get());
    }
    terminal_.StopAll();
    server_.Stop();
    return 0;
  }

 private:
  void Answer(int control) {
    UniqueFd connection(::accept4(control, nullptr, nullptr, SOCK_CLOEXEC));
    if (!connection.valid()) return;
    // Another user's program may reach the socket name; only ours is served.
    if (!PeerIsUser(connection.get(), ::getuid())) return;
    const SteadyDeadline deadline = std::chrono::steady_clock::now() + kRequestWait;
    const std::optional<std::string> line = ReceiveLine(connection.get(), kLongestRequest, deadline);
    if (!line) return;
    const std::string reply = Reply(*line);
    // A requester that left is not waited for.
    (void)SendAll(connection.get(), reply, deadline);
  }

  std::string Reply(const std::string& line) {
    const std::optional<HelperRequest> request = ParseHelperRequest(line);
    if (!request) return FormatErrorReply("unknown request");
    switch (request->verb) {
      case HelperVerb::kQuit: quit_ = true; return FormatOkReply("");
      case HelperVerb::kStatus: {
        const std::optional<HelperStatus> status = terminal_.Status(*request);
        return status ? FormatStatusReply(*status) : FormatErrorReply("not opened");
      }
      case HelperVerb::kPlay:
      case HelperVerb::kPrebuffer: {
        std::string error;
        const std::optional<ServedItem> served = terminal_.Open(*request, error);
        if (!served) return FormatErrorReply(error);
        if (request->verb == HelperVerb::kPrebuffer) return FormatOkReply("");
        return FormatOkReply(server_.AddressOf(served->token, served->name));
      }
    }
    return FormatErrorReply("unknown request");
  }

  Terminal terminal_;
  MediaServer server_;
  bool quit_ = false;
};

int Main(int argc, char** argv) {
  const std::string folder = OwnFolder();
  const std::optional<std::string> files = FilesFolder(folder);
  if (!files) {
    // The program refuses such a folder too; it is not ours to use.
    if (Debug()) std::fprintf(stderr, "QvodTerminal: no private folder for the settings\n");
    return 1;
  }
  if (argc > 1 && std::string_view(argv[1]) == "--write-config") {
    // An installation writes the files only where they live beside the
    // helper; each user of a system installation gets them at first use.
    if (*files == folder) EnsureVendorFiles(*files);
    return 0;
  }
  EnsureVendorFiles(*files);

  // Signals are taken as events, so a SIGTERM ends the loop and the items
  // save their ranges before the process goes.
  sigset_t signals;
  sigemptyset(&signals);
  sigaddset(&signals, SIGTERM);
  sigaddset(&signals, SIGINT);
  sigaddset(&signals, SIGHUP);
  pthread_sigmask(SIG_BLOCK, &signals, nullptr);
  signal(SIGPIPE, SIG_IGN);
  UniqueFd signal_fd(::signalfd(-1, &signals, SFD_CLOEXEC));

  const std::string save = DownloadFolder(*files);
  const std::optional<InstanceSocketAddress> address = HelperSocketAddressFor(folder, *files);
  if (!address) return 1;
  ControlSocket control = TakeControlSocket(*address, signal_fd.get(), kTakeOverWait);
  if (!control.listener.valid()) {
    // Another helper serves this installation already.
    if (Debug()) std::fprintf(stderr, "QvodTerminal: already running for %s\n", folder.c_str());
    return 0;
  }
  // This helper alone writes here now: what a killed one left goes.
  RemoveHelperWriteLeftovers(*files, save);
  if (Debug()) std::fprintf(stderr, "QvodTerminal: saving to %s\n", save.c_str());
  curl_global_init(CURL_GLOBAL_DEFAULT);
  Helper helper(save, Debug());
  const int code = helper.Run(std::move(control.listener), signal_fd.get());
  curl_global_cleanup();
  return code;
}

}  // namespace
}  // namespace taviro::helper

int main(int argc, char** argv) { return taviro::helper::Main(argc, argv); }
