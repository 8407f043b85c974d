#include "channels_source/channel_sources.h"

#include <glib.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <set>

#include "channels_source/channel_player_page.h"
#include "channels_source/source_fetch.h"
#include "channels_source/xmltv_reader.h"

namespace taviro::demo {
namespace {

constexpr const char* kGroup = "channels";
constexpr auto kRefreshInterval = std::chrono::hours(6);
constexpr std::size_t kMaxLogoBytes = 512U * 1024U;
constexpr auto kFirstReadWait = std::chrono::seconds(3);
constexpr std::string_view kReadingPage =
    "<!DOCTYPE html><html><head><meta charset=\"utf-8\"><meta http-equiv=\"refresh\" content=\"2\">"
    "<title>电视直播</title></head><body style=\"width:202px;background:#212121;color:#999;font:12px "
    "sans-serif;"
    "padding:10px\">正在读取频道列表…</body></html>";

std::vector<std::string> ReadList(GKeyFile* file, const char* key) {
  gsize count = 0;
  gchar** list = g_key_file_get_string_list(file, kGroup, key, &count, nullptr);
  std::vector<std::string> values;
  for (gsize i = 0; i < count; ++i) {
    if (list[i][0] != '\0') values.emplace_back(list[i]);
  }
  g_strfreev(list);
  return values;
}

void WriteList(GKeyFile* file, const char* key, const std::set<std::string>& values) {
  std::vector<const gchar*> list;
  list.reserve(values.size());
  for (const std::string& value : values) list.push_back(value.c_str());
  g_key_file_set_string_list(file, kGroup, key, list.data(), list.size());
}

// Keeps whatever else the file holds; a user may edit it.
void SaveState(const std::string& settings_file, const channels::ChannelPageState& state) {
  g_autoptr(GKeyFile) file = g_key_file_new();
  g_key_file_load_from_file(file, settings_file.c_str(), G_KEY_FILE_KEEP_COMMENTS, nullptr);
  WriteList(file, "starred", state.starred_codes);
  WriteList(file, "hidden_groups", state.hidden_groups);
  std::error_code ignored;  // the save below says whether the folder is there
  std::filesystem::create_directories(std::filesystem::path(settings_file).parent_path(), ignored);
  GError* error = nullptr;
  if (!g_key_file_save_to_file(file, settings_file.c_str(), &error)) {
    std::cerr << "taviro-service: cannot save " << settings_file << ": " << error->message << "\n";
    g_error_free(error);
  }
}

void SendUtf8(httplib::Response& response, const std::string& html, int status = 200) {
  response.status = status;
  response.set_content(html, "text/html; charset=utf-8");
}

void SendNotFound(httplib::Response& response) {
  response.status = 404;
  response.set_content("not found", "text/plain");
}

channels::UnixTime Now() {
  return std::chrono::duration_cast<std::chrono::seconds>(std::chrono::system_clock::now().time_since_epoch())
      .count();
}

}  // namespace

ChannelPlaces FindChannelPlaces() {
  return {(std::filesystem::path(g_get_user_config_dir()) / "taviro" / "service.ini").string(),
          (std::filesystem::path(g_get_user_cache_dir()) / "taviro" / "logos").string()};
}

ChannelSources::ChannelSources(ChannelPlaces places, std::vector<std::string> extra_lists)
    : places_(std::move(places)), lists_(std::move(extra_lists)) {
  g_autoptr(GKeyFile) file = g_key_file_new();
  if (g_key_file_load_from_file(file, places_.settings_file.c_str(), G_KEY_FILE_NONE, nullptr)) {
    for (std::string& list : ReadList(file, "lists")) lists_.push_back(std::move(list));
    guides_ = ReadList(file, "guides");
    for (std::string& code : ReadList(file, "starred")) state_.starred_codes.insert(std::move(code));
    for (std::string& group : ReadList(file, "hidden_groups")) state_.hidden_groups.insert(std::move(group));
  }
  reading_ = std::make_shared<Reading>();
  if (!lists_.empty()) worker_ = std::thread([this] { RefreshLoop(); });
}

ChannelSources::~ChannelSources() {
  {
    std::lock_guard lock(mutex_);
    stopping_ = true;
  }
  cancel_ = true;
  wake_.notify_all();
  if (worker_.joinable()) worker_.join();
}

void ChannelSources::RefreshLoop() {
  std::unique_lock lock(mutex_);
  while (!stopping_) {
    lock.unlock();
    RefreshOnce();
    lock.lock();
    wake_.wait_for(lock, kRefreshInterval, [this] { return stopping_; });
  }
}

void ChannelSources::RefreshOnce() {
  // A source that cannot be read now keeps its last good bytes.
  auto read = [this](const std::string& address) -> const std::string* {
    if (std::optional<FetchedBytes> fetched = FetchSource(address, {.cancel = &cancel_})) {
      last_good_[address] = std::move(fetched->bytes);
    } else {
      std::cerr << "taviro-service: cannot read " << address << "\n";
    }
    const auto kept = last_good_.find(address);
    return kept == last_good_.end() ? nullptr : &kept->second;
  };
  auto reading = std::make_shared<Reading>();
  std::vector<std::string> guides = guides_;
  for (const std::string& list : lists_) {
    const std::string* bytes = read(list);
    if (bytes == nullptr) continue;
    channels::ChannelList parsed = channels::ParseChannelList(*bytes, list);
    for (channels::Channel& channel : parsed.channels) reading->channels.push_back(std::move(channel));
    for (std::string& guide : parsed.guide_urls) guides.push_back(std::move(guide));
  }
  auto guide = std::make_shared<channels::ProgrammeGuide>(Now());
  std::set<std::string> seen;
  for (const std::string& address : guides) {
    if (!seen.insert(address).second) continue;
    const std::string* bytes = read(address);
    if (bytes != nullptr && !ReadXmltv(*bytes, *guide)) {
      std::cerr << "taviro-service: guide " << address << " read only in part\n";
    }
  }
  reading->guide = std::move(guide);
  {
    std::lock_guard lock(mutex_);
    reading_ = std::move(reading);
    first_read_ = true;
  }
  first_read_done_.notify_all();
}

std::shared_ptr<const ChannelSources::Reading> ChannelSources::Current() const {
  std::lock_guard lock(mutex_);
  return reading_;
}

const channels::Channel* ChannelSources::Find(const Reading& reading, std::string_view code) const {
  for (const channels::Channel& channel : reading.channels) {
    if (channel.code == code) return &channel;
  }
  return nullptr;
}

bool ChannelSources::Serve(const std::string& path, const std::string& query, httplib::Response& response) {
  constexpr std::string_view kLogo = "/tv/logo/";
  if (path == "/tv/list.htm") {
    ServeListPage(query, response);
  } else if (path == "/tv/mivutv.htm") {
    ServePlayerPage(query, response);
  } else if (path.starts_with(kLogo)) {
    ServeLogo(path.substr(kLogo.size()), response);
  } else if (path == "/tv/star.htm" || path == "/tv/unstar.htm" || path == "/tv/hide.htm" ||
             path == "/tv/show.htm") {
    ChangeState(path.substr(4), query, response);
  } else {
    return false;
  }
  return true;
}

void ChannelSources::ServeListPage(const std::string& query, httplib::Response& response) {
  channels::ChannelPageState state;
  {
    // Right after the start the lists are still being read: a short wait
    // spares the page a reload, a long one is told.
    std::unique_lock lock(mutex_);
    if (!first_read_done_.wait_for(lock, kFirstReadWait, [this] { return first_read_ || stopping_; })) {
      lock.unlock();
      return SendUtf8(response, std::string(kReadingPage));
    }
    state = state_;
  }
  const std::shared_ptr<const Reading> reading = Current();
  const channels::UnixTime now = Now();
  const auto tooltip = [&reading, now](const channels::Channel& channel) -> std::string {
    if (!reading->guide) return {};
    const std::optional<channels::NowAndNext> on = reading->guide->Find(channel, now);
    return on ? channels::GuideTooltip(*on, now) : std::string();
  };
  SendUtf8(response, channels::RenderChannelListPage(reading->channels, state,
                                                     channels::ParseChannelPageQuery(query), tooltip));
}

void ChannelSources::ServePlayerPage(const std::string& query, httplib::Response& response) {
  const std::shared_ptr<const Reading> reading = Current();
  const channels::Channel* channel = Find(*reading, query);
  if (channel == nullptr) {
    SendUtf8(response, RenderChannelPlayerPage(nullptr, std::nullopt, 0), 404);
    return;
  }
  const channels::UnixTime now = Now();
  std::optional<channels::NowAndNext> on;
  if (reading->guide) on = reading->guide->Find(*channel, now);
  SendUtf8(response, RenderChannelPlayerPage(channel, on, now));
}

void ChannelSources::ServeLogo(const std::string& code, httplib::Response& response) {
  const std::shared_ptr<const Reading> reading = Current();
  const channels::Channel* channel = Find(*reading, code);
  // Codes are [a-z2-7], so the cache's file names stay inside its folder.
  if (channel == nullptr || !channels::IsWebAddress(channel->logo_url)) return SendNotFound(response);
  const std::filesystem::path image = std::filesystem::path(places_.logo_cache) / code;
  const std::filesystem::path type = std::filesystem::path(places_.logo_cache) / (code + ".type");
  std::lock_guard lock(logo_mutex_);
  std::optional<FetchedBytes> logo = FetchSource(image.string(), {kMaxLogoBytes, std::chrono::seconds(10)});
  if (logo) {
    std::ifstream(type) >> logo->content_type;
  } else {
    logo = FetchSource(channel->logo_url, {kMaxLogoBytes, std::chrono::seconds(10)});
    if (!logo || !logo->content_type.starts_with("image/")) return SendNotFound(response);
    logo->content_type = logo->content_type.substr(0, logo->content_type.find_first_of("; "));
    std::error_code ignored;  // without a cache the logo is fetched again next time
    std::filesystem::create_directories(places_.logo_cache, ignored);
    std::ofstream(image, std::ios::binary) << logo->bytes;
    std::ofstream(type) << logo->content_type;
  }
  if (!logo->content_type.starts_with("image/")) return SendNotFound(response);
  response.set_content(logo->bytes, logo->content_type);
}

void ChannelSources::ChangeState(const std::string& action, const std::string& query,
                                 httplib::Response& response) {
  {
    std::lock_guard lock(mutex_);
    if (action == "star.htm" && Find(*reading_, query) != nullptr) {
      state_.starred_codes.insert(query);
    } else if (action == "unstar.htm") {
      state_.starred_codes.erase(query);
    } else {
      const channels::PageSlice slice = channels::ParseChannelPageQuery(query);
      if (slice.part == channels::PageSlice::Part::kGroup) {
        if (action == "hide.htm") {
          state_.hidden_groups.insert(slice.text);
        } else {
          state_.hidden_groups.erase(slice.text);
        }
      }
    }
    SaveState(places_.settings_file, state_);
  }
  response.set_redirect("list.htm");
}

}  // namespace taviro::demo
