#pragma once

#include <httplib.h>

#include <atomic>
#include <condition_variable>
#include <filesystem>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "channels_source/channel_sources.h"
#include "service/catalogue.h"
#include "service/fault_board.h"
#include "service/request_log.h"
#include "service/switch_board.h"
#include "user_library/media_library.h"

namespace taviro::demo {

inline constexpr const char* kLoopbackHost = "127.0.0.1";

struct ServiceOptions {
  // Where "media/<file>" is served from; a missing folder serves nothing.
  std::filesystem::path media_folder;
  // Where the web play page goes when its video ends; empty: the base URL
  // followed by the program's end-of-play path.
  std::string end_address;
  // When set, the base URL's path is "/<key>/" and a request without it is
  // refused.
  std::string access_key;
  // The routes under "/__" (faults, throttle, switches, request log) that
  // tests drive; never in the installed product's own run.
  bool test_controls = false;
};

// The demo video service on 127.0.0.1. Bind, then Run on any thread; Stop
// from any thread (or a signal watcher) ends Run.
class DemoService {
 public:
  DemoService(Catalogue catalogue, ServiceOptions options);
  DemoService(const DemoService&) = delete;
  DemoService& operator=(const DemoService&) = delete;
  ~DemoService();

  // Binds to 127.0.0.1 only; port 0 takes any free port. Returns the port
  // bound, or -1.
  int Bind(int port);
  // Serves until Stop; returns false when it could not serve at all.
  bool Run();
  void Stop();

  // Adds the user's media folders to the catalogue: scanned while the
  // service already answers, and kept up to date from then on.
  void AttachLibrary(LibraryPlaces places, std::vector<std::string> folders);

  // Lists the channels of the user's M3U lists on the TV page when any is
  // named; without one the TV page keeps the catalogue's channels.
  void AttachChannels(ChannelPlaces places, std::vector<std::string> extra_lists);

  int port() const { return port_; }
  // "http://127.0.0.1:<port>/", or "http://127.0.0.1:<port>/<key>/" with a
  // key: every page and address is relative to it.
  std::string BaseUrl() const;

 private:
  void AddPageRoutes();
  void AddControlRoutes();
  void AddMediaRoutes();
  void AddLibraryRoutes();
  void TakeLibraryView(std::shared_ptr<const LibraryView> view);
  // The sample catalogue with the library's titles, as it is now.
  std::shared_ptr<const Catalogue> Current() const;
  std::shared_ptr<const LibraryView> CurrentLibrary() const;
  // Empty when the library has no such file or poster.
  std::string LibraryFilePath(std::int64_t id) const;
  std::string LibraryPosterPath(int title_id) const;
  httplib::Server::HandlerResponse BeforeRouting(const httplib::Request& request,
                                                 httplib::Response& response);
  // Another user's request is dropped unanswered, one without the key gets
  // 403; an admitted request's path loses its key. False when refused.
  bool Admit(const httplib::Request& request, httplib::Response& response) const;
  std::string EndAddress() const;
  // Turns the reply just made into a drip when the request's fault says so.
  void AfterRouting(httplib::Response& response);
  // Pauses a request; ends early when the service stops.
  void Pause(std::chrono::milliseconds delay);

  const Catalogue catalogue_;
  const ServiceOptions options_;
  int port_ = -1;
  FaultBoard faults_;
  SwitchBoard switches_{catalogue_};
  RequestLog log_;
  std::mutex stop_mutex_;
  std::condition_variable stop_signal_;
  bool stopping_ = false;
  // Stop may come before Run has started listening or after it ended.
  std::atomic<bool> run_entered_ = false;
  std::atomic<bool> run_exited_ = false;
  // Media replies per connection, in bytes per second; 0 is unlimited.
  std::atomic<std::int64_t> media_bandwidth_ = 0;
  httplib::Server server_;
  mutable std::mutex view_mutex_;
  std::shared_ptr<const Catalogue> current_;
  std::shared_ptr<const LibraryView> library_view_;
  std::unique_ptr<ChannelSources> channels_;
  // Last: its worker calls back into the members above until it ends.
  std::unique_ptr<MediaLibrary> library_;
};

}  // namespace taviro::demo
