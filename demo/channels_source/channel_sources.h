#pragma once

#include <httplib.h>

#include <atomic>
#include <condition_variable>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "channels/channel_list.h"
#include "channels/channel_list_page.h"
#include "channels/programme_guide.h"

namespace taviro::demo {

struct ChannelPlaces {
  std::string settings_file;  // service.ini: [channels] lists=, guides=, starred=, hidden_groups=
  std::string logo_cache;     // $XDG_CACHE_HOME/taviro/logos
};

ChannelPlaces FindChannelPlaces();

// The TV channels of the user's M3U lists and XMLTV guides: read on a worker
// at start and every six hours, the last good reading of each source kept
// when a refresh fails. Serves the TV page's routes while any list is named.
class ChannelSources {
 public:
  // `extra_lists`: lists named on the command line, beside those of the file.
  ChannelSources(ChannelPlaces places, std::vector<std::string> extra_lists);
  ChannelSources(const ChannelSources&) = delete;
  ChannelSources& operator=(const ChannelSources&) = delete;
  ~ChannelSources();

  bool HasLists() const { return !lists_.empty(); }
  // Answers a "tv/…" request (`path` without the key, `query` as it came);
  // false when the path is not one of the channel routes.
  bool Serve(const std::string& path, const std::string& query, httplib::Response& response);

 private:
  struct Reading {
    std::vector<channels::Channel> channels;
    std::shared_ptr<const channels::ProgrammeGuide> guide;
  };

  void RefreshLoop();
  void RefreshOnce();
  std::shared_ptr<const Reading> Current() const;
  const channels::Channel* Find(const Reading& reading, std::string_view code) const;
  void ServeListPage(const std::string& query, httplib::Response& response);
  void ServePlayerPage(const std::string& query, httplib::Response& response);
  void ServeLogo(const std::string& code, httplib::Response& response);
  void ChangeState(const std::string& action, const std::string& query, httplib::Response& response);

  const ChannelPlaces places_;
  std::vector<std::string> lists_;
  std::vector<std::string> guides_;
  // Per source, the bytes of its last good reading.
  std::map<std::string, std::string> last_good_;
  mutable std::mutex mutex_;
  std::shared_ptr<const Reading> reading_;
  channels::ChannelPageState state_;
  std::mutex logo_mutex_;
  std::condition_variable wake_;
  bool stopping_ = false;
  bool first_read_ = false;
  std::condition_variable first_read_done_;
  std::atomic<bool> cancel_ = false;
  std::thread worker_;  // last: it reads the members above
};

}  // namespace taviro::demo
