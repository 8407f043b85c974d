#include "service/demo_service.h"

#include <charconv>
#include <thread>
#include <utility>

#include "service/access_gate.h"
#include "service/connection_drop.h"
#include "service/html_text.h"
#include "service/link_forms.h"
#include "service/page_catalogue.h"
#include "service/page_episode_list.h"
#include "service/page_frame.h"
#include "service/page_play.h"
#include "service/page_promotions.h"
#include "service/page_tv.h"
#include "service/seed_links.h"
#include "service/service_texts.h"
#include "service/throttled_files.h"
#include "services/service_address.h"
#include "user_library/library_page.h"
#include "util/ansi_text.h"

namespace taviro::demo {
namespace {

using httplib::Request;
using httplib::Response;
using HandlerResponse = httplib::Server::HandlerResponse;

// Pages go out in GB18030 with no charset in the header, as the Windows
// service sent them; the program's web views and its fetches decode
// undeclared text that way.
void SendText(Response& response, std::string_view utf8, int status = 200) {
  response.status = status;
  response.set_content(EncodeAnsi(utf8), "text/html");
}

void SendJson(Response& response, const std::string& json, int status = 200) {
  response.status = status;
  response.set_content(json, "application/json");
}

// The text after "?" exactly as it arrived: page queries are "-" and "$$$"
// separated lists with escaped texts, not name=value pairs.
std::string_view RawQuery(const Request& request) {
  const std::string_view target = request.target;
  const std::size_t mark = target.find('?');
  return mark == std::string_view::npos ? std::string_view() : target.substr(mark + 1);
}

std::optional<int> ParseNumber(const std::string& text) {
  int value = 0;
  auto [ptr, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (text.empty() || error != std::errc() || ptr != text.data() + text.size()) return std::nullopt;
  return value;
}

std::string NotFoundPage() {
  return HtmlPage({"页面不存在", "body{padding:40px;text-align:center;color:#999}",
                   "<h1 style=\"font-weight:normal;color:#ccc\">404</h1><p>页面不存在</p>", false});
}

// What a broken ASP script printed in place of its data.
constexpr std::string_view kGarbagePage =
    "<font face=\"宋体\" size=2>Microsoft VBScript 运行时错误</font> <font face=\"宋体\" size=2>错误 "
    "'800a000d'</font>\r\n<p><font face=\"宋体\" size=2>类型不匹配: 'CInt'</font>\r\n<p><font face=\"宋体\" "
    "size=2>/h.asp</font><font face=\"宋体\" size=2>，行 12</font>";

// A reply that is text but none of the separators the files use.
constexpr std::string_view kPlainText = "Taviro 2.4\r\n";

constexpr std::string_view kServerErrorPage =
    "<html><body><h1>500 - 内部服务器错误。</h1><p>您查找的资源存在问题，因而无法显示。</p></body></html>";

constexpr std::size_t kRequestThreads = 64;

// What is filled in for a "huge" reply, a chunk at a time.
constexpr std::size_t kHugeChunkBytes = 64 * 1024;

// A drip fault is taken before routing and applied to the reply after it;
// the library runs both on the request's own thread.
thread_local std::optional<std::chrono::milliseconds> drip_pause;

}  // namespace

DemoService::DemoService(Catalogue catalogue, ServiceOptions options)
    : catalogue_(WithSeedLinks(std::move(catalogue), options.media_folder)), options_(std::move(options)) {
  server_.set_pre_routing_handler(
      [this](const Request& request, Response& response) { return BeforeRouting(request, response); });
  // Faults hold their request's thread (a delay for its whole pause, a drip
  // until the client goes), and the program keeps a dozen views' connections
  // open: the library's default of a few threads would starve the rest.
  server_.new_task_queue = [] { return new httplib::ThreadPool(kRequestThreads); };
  server_.set_post_routing_handler([this](const Request&, Response& response) { AfterRouting(response); });
  server_.set_error_handler([](const Request&, Response& response) {
    if (response.status == 404) SendText(response, NotFoundPage(), 404);
  });
  current_ = std::make_shared<const Catalogue>(catalogue_);
  AddPageRoutes();
  if (options_.test_controls) AddControlRoutes();
  AddMediaRoutes();
  AddLibraryRoutes();
}

DemoService::~DemoService() {
  Stop();
  library_.reset();
}

void DemoService::AttachLibrary(LibraryPlaces places, std::vector<std::string> folders) {
  library_ = std::make_unique<MediaLibrary>(
      std::move(places), std::move(folders),
      [this](std::shared_ptr<const LibraryView> view) { TakeLibraryView(std::move(view)); });
}

void DemoService::TakeLibraryView(std::shared_ptr<const LibraryView> view) {
  auto merged = std::make_shared<Catalogue>(catalogue_);
  merged->series.reserve(merged->series.size() + view->titles.size());
  for (const LibraryTitle& title : view->titles) merged->series.push_back(title.series);
  std::lock_guard lock(view_mutex_);
  current_ = std::move(merged);
  library_view_ = std::move(view);
}

std::shared_ptr<const Catalogue> DemoService::Current() const {
  std::lock_guard lock(view_mutex_);
  return current_;
}

std::shared_ptr<const LibraryView> DemoService::CurrentLibrary() const {
  std::lock_guard lock(view_mutex_);
  return library_view_;
}

int DemoService::Bind(int port) {
  port_ = port == 0 ? server_.bind_to_any_port(kLoopbackHost)
                    : (server_.bind_to_port(kLoopbackHost, port) ? port : -1);
  return port_;
}

bool DemoService::Run() {
  {
    std::lock_guard lock(stop_mutex_);
    if (stopping_) return true;
    run_entered_ = true;
  }
  const bool served = server_.listen_after_bind();
  run_exited_ = true;
  return served;
}

void DemoService::Stop() {
  bool entered = false;
  {
    std::lock_guard lock(stop_mutex_);
    stopping_ = true;
    entered = run_entered_;
  }
  stop_signal_.notify_all();
  if (!entered) return;
  // The server ignores a stop until it is listening.
  while (!server_.is_running() && !run_exited_) std::this_thread::yield();
  server_.stop();
}

std::string DemoService::BaseUrl() const {
  std::string base = "http://" + std::string(kLoopbackHost) + ":" + std::to_string(port_) + "/";
  if (!options_.access_key.empty()) base += options_.access_key + "/";
  return base;
}

std::string DemoService::EndAddress() const {
  return options_.end_address.empty() ? EndOfPlayAddress(BaseUrl()) : options_.end_address;
}

bool DemoService::Admit(const Request& request, Response& response) const {
  if (!ClientIsOwnUser(request.remote_addr, request.remote_port, request.local_port)) {
    DropConnection(request.local_port, request.remote_port);
    response.status = 403;
    return false;
  }
  std::optional<std::string> path = PathBehindKey(request.path, options_.access_key);
  if (!path) {
    response.status = 403;
    response.set_content("", "text/plain");
    return false;
  }
  // The routes are the service's own paths, without the key: the library
  // routes the very request the pre-routing handler was given.
  if (!options_.access_key.empty()) const_cast<Request&>(request).path = std::move(*path);
  return true;
}

void DemoService::Pause(std::chrono::milliseconds delay) {
  std::unique_lock lock(stop_mutex_);
  stop_signal_.wait_for(lock, delay, [this] { return stopping_; });
}

HandlerResponse DemoService::BeforeRouting(const Request& request, Response& response) {
  if (!Admit(request, response)) return HandlerResponse::Handled;
  if (request.path.rfind("/__", 0) == 0) return HandlerResponse::Unhandled;
  log_.Record(request.path, request.target);
  drip_pause.reset();
  const std::optional<Fault> fault = faults_.Take(request.path);
  if (!fault) return HandlerResponse::Unhandled;
  switch (fault->mode) {
    case FaultMode::kDelay: Pause(fault->delay); return HandlerResponse::Unhandled;
    case FaultMode::kEmpty: SendText(response, ""); break;
    case FaultMode::kOne: SendText(response, "1"); break;
    case FaultMode::kZero: SendText(response, "0"); break;
    case FaultMode::kGarbage: SendText(response, kGarbagePage); break;
    case FaultMode::kPlain: SendText(response, kPlainText); break;
    case FaultMode::kHttp500: SendText(response, kServerErrorPage, 500); break;
    case FaultMode::kClose:
      DropConnection(request.local_port, request.remote_port);
      response.status = 500;
      break;
    case FaultMode::kDrip: drip_pause = fault->delay; return HandlerResponse::Unhandled;
    case FaultMode::kHuge:
      response.status = 200;
      response.set_chunked_content_provider("text/html", [](std::size_t offset, httplib::DataSink& sink) {
        if (offset >= kHugeBodyBytes) {
          sink.done();
          return true;
        }
        const std::string chunk(std::min(kHugeChunkBytes, kHugeBodyBytes - offset), 'x');
        return sink.write(chunk.data(), chunk.size());
      });
      break;
  }
  return HandlerResponse::Handled;
}

// The library has written the reply's length into its headers by now, so the
// body keeps its length and only the way it is sent changes.
void DemoService::AfterRouting(Response& response) {
  if (!drip_pause) return;
  const std::chrono::milliseconds pause = *drip_pause;
  drip_pause.reset();
  if (response.body.empty()) return;
  auto body = std::make_shared<std::string>(std::move(response.body));
  response.body.clear();
  response.content_length_ = body->size();
  response.content_provider_ = [this, body, pause](std::size_t offset, std::size_t length,
                                                   httplib::DataSink& sink) {
    if (offset > 0) Pause(pause);
    return sink.write(body->data() + offset, std::min({kDripBytes, length, body->size() - offset}));
  };
}

void DemoService::AttachChannels(ChannelPlaces places, std::vector<std::string> extra_lists) {
  channels_ = std::make_unique<ChannelSources>(std::move(places), std::move(extra_lists));
}

void DemoService::AddPageRoutes() {
  server_.Get("/", [this](const Request&, Response& response) {
    std::string library_section;
    bool has_titles = false;
    if (library_) {
      const std::shared_ptr<const LibraryView> view = CurrentLibrary();
      has_titles = view && !view->titles.empty();
      library_section = RenderLibrarySection(view ? *view : LibraryView{}, library_->Progress());
    }
    SendText(response, RenderHomePage(catalogue_, BaseUrl(), library_section, has_titles));
  });
  server_.Get(R"(/vod/(\d{1,9})\.htm)", [this](const Request& request, Response& response) {
    const std::shared_ptr<const Catalogue> catalogue = Current();
    const Series* series = catalogue->FindSeries(std::stoi(request.matches[1].str()));
    if (series == nullptr) {
      SendText(response, NotFoundPage(), 404);
    } else {
      SendText(response, RenderSeriesPage(*series, BaseUrl()));
    }
  });
  server_.Get("/h.asp", [this](const Request& request, Response& response) {
    SendText(response, EpisodeReply(*Current(), request.get_param_value("id"), request.get_param_value("v"),
                                    request.get_param_value("v1"), BaseUrl()));
  });
  server_.Get("/pp.htm", [this](const Request& request, Response& response) {
    SendText(response, RenderEpisodeListPage(*Current(), RawQuery(request), BaseUrl()));
  });
  server_.Get("/play.htm", [this](const Request& request, Response& response) {
    SendText(response, RenderPlayPage(RawQuery(request), EndAddress()));
  });
  // The user's channel lists, when named, stand in for the catalogue's.
  server_.Get(R"(/tv/(list|mivutv|star|unstar|hide|show)\.htm|/tv/logo/[a-z2-7]{1,32})",
              [this](const Request& request, Response& response) {
                if (channels_ && channels_->HasLists() &&
                    channels_->Serve(request.path, std::string(RawQuery(request)), response))
                  return;
                if (request.path == "/tv/list.htm") {
                  SendText(response, RenderTvListPage(catalogue_));
                } else if (request.path == "/tv/mivutv.htm") {
                  SendText(response, RenderTvPlayerPage(catalogue_, RawQuery(request), BaseUrl()));
                } else {
                  SendText(response, NotFoundPage(), 404);
                }
              });
  server_.Get("/tv/ad.htm",
              [](const Request&, Response& response) { SendText(response, RenderTvPlaceholderPage()); });
  server_.Get("/js/ads/bo.html",
              [](const Request&, Response& response) { SendText(response, RenderBannerPage()); });
  server_.Get("/js/ads/jingcai.html", [this](const Request&, Response& response) {
    SendText(response, RenderHighlightsPage(catalogue_));
  });
  server_.Get("/js/ads/qvodad.html",
              [](const Request&, Response& response) { SendText(response, RenderPausePanelPage()); });
  server_.Get("/js/ads/tui.html",
              [](const Request&, Response& response) { SendText(response, RenderExitPage()); });
  server_.Get("/lib/wen.txt", [this](const Request&, Response& response) {
    SendText(response, SwitchFileText(switches_.switches()));
  });
  server_.Get("/lib/gun.txt", [this](const Request&, Response& response) {
    SendText(response, HeadlineFileText(switches_.headlines(), BaseUrl()));
  });
  server_.Get("/lib/tan.txt", [this](const Request&, Response& response) {
    SendText(response, NoticeScheduleText(switches_.notices(), BaseUrl()));
  });
  server_.Get(R"(/notice/(\d{1,4})\.htm)", [this](const Request& request, Response& response) {
    const std::size_t k = std::stoul(request.matches[1].str());
    if (k == 0 || k > catalogue_.notices.pages.size()) {
      SendText(response, NotFoundPage(), 404);
    } else {
      SendText(response, RenderNoticePage(catalogue_.notices.pages[k - 1], BaseUrl()));
    }
  });
  server_.Get("/update/update.exe", [](const Request&, Response& response) {
    response.set_content(UpdaterBytes(), "application/octet-stream");
  });
  server_.Get("/tj/tj.asp", [this](const Request& request, Response& response) {
    log_.CountStatistics(request.get_param_value("id"));
    SendText(response, RenderStatisticsReply());
  });
}

// The clips, under "media/" and "qvod/" by file name and under "seed/" by
// the hash of a qvod link; all with byte ranges and the bandwidth limit.
void DemoService::AddMediaRoutes() {
  const auto send = [this](const std::string& name, Response& response) {
    if (name.empty() || name.find('/') != std::string::npos || name.front() == '.') {
      response.status = 404;
      return;
    }
    SendFile(options_.media_folder / name, response, media_bandwidth_,
             [this](std::chrono::milliseconds wait) {
               Pause(wait);
               std::lock_guard lock(stop_mutex_);
               return !stopping_;
             });
  };
  for (const char* folder : {"/media/", "/qvod/"}) {
    server_.Get(std::string(folder) + "([^/]+)", [send](const Request& request, Response& response) {
      send(request.matches[1].str(), response);
    });
  }
  server_.Get("/seed/([0-9A-Fa-f]+)", [send](const Request& request, Response& response) {
    send(SeedFileName(request.matches[1].str()).value_or(std::string()), response);
  });
}

void DemoService::AddControlRoutes() {
  server_.Get("/__bandwidth", [this](const Request& request, Response& response) {
    const std::optional<int> limit = ParseNumber(request.get_param_value("bytes_per_second"));
    if (!limit || *limit < 0) {
      SendJson(response, R"({"ok":false,"error":"bytes_per_second must be a number"})", 400);
      return;
    }
    media_bandwidth_ = *limit;
    SendJson(response, R"({"ok":true})");
  });
  server_.Get("/__stats", [this](const Request&, Response& response) { SendJson(response, log_.ToJson()); });
  server_.Get("/__switches", [this](const Request& request, Response& response) {
    std::vector<std::pair<std::string, std::string>> settings(request.params.begin(), request.params.end());
    if (const std::optional<std::string> bad = switches_.Apply(settings)) {
      SendJson(response, R"({"ok":false,"error":"bad setting )" + *bad + R"("})", 400);
      return;
    }
    SendJson(response, R"({"ok":true})");
  });
  server_.Get("/__fault/reset", [this](const Request&, Response& response) {
    faults_.Reset();
    SendJson(response, R"({"ok":true})");
  });
  server_.Get("/__fault", [this](const Request& request, Response& response) {
    const std::string path = request.get_param_value("path");
    const std::string mode_name = request.get_param_value("mode");
    if (path.empty() || path.front() != '/') {
      SendJson(response, R"({"ok":false,"error":"path must start with /"})", 400);
      return;
    }
    if (mode_name == "off") {
      faults_.Disarm(path);
      SendJson(response, R"({"ok":true})");
      return;
    }
    const std::optional<FaultMode> mode = ParseFaultMode(mode_name);
    const int default_pause = mode == FaultMode::kDrip ? 200 : 3000;
    const std::optional<int> delay =
        request.has_param("ms") ? ParseNumber(request.get_param_value("ms")) : default_pause;
    const std::optional<int> count =
        request.has_param("count") ? ParseNumber(request.get_param_value("count")) : std::optional<int>(-1);
    if (!mode || !delay || *delay < 0 || !count || *count == 0 || *count < -1) {
      SendJson(response, R"({"ok":false,"error":"bad mode, ms or count"})", 400);
      return;
    }
    Fault fault{*mode, std::chrono::milliseconds(*delay), std::nullopt};
    if (*count > 0) fault.remaining = *count;
    faults_.Arm(path, fault);
    SendJson(response, R"({"ok":true})");
  });
}

}  // namespace taviro::demo
