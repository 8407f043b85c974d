#include "linux/helper/helper_item.h"

#include <cstdio>

#include "helper/connect_rule.h"
#include "helper/download_name.h"
#include "linux/helper/stream_probe.h"

namespace taviro::helper {

HelperItem::HelperItem(std::shared_ptr<ItemDownload> file) {
  route_ = ItemRoute{StreamShape::kFile, {}, std::move(file)};
}

HelperItem::HelperItem(Source source) : source_(std::move(source)) {}

HelperItem::~HelperItem() { Stop(); }

void HelperItem::Start() {
  if (!route_) looker_ = std::thread([this] { Look(); });
}

void HelperItem::Stop() {
  stop_ = true;
  if (looker_.joinable()) looker_.join();
  std::lock_guard lock(mutex_);
  if (route_ && route_->file) route_->file->Stop();
  if (programme_) programme_->Stop();
}

std::optional<ItemRoute> HelperItem::WaitForRoute(std::chrono::milliseconds limit) {
  std::unique_lock lock(mutex_);
  changed_.wait_for(lock, limit, [this] { return route_.has_value(); });
  return route_;
}

HelperStatus HelperItem::Status() {
  std::shared_ptr<ItemDownload> file;
  std::shared_ptr<ProgrammeDownload> programme;
  HelperStatus status;
  {
    std::lock_guard lock(mutex_);
    if (route_) file = route_->file;
    programme = programme_;
    status.problem = problem_;
    // Other media without a length may yet end: the player's duration tells.
    status.live = route_ && route_->shape == StreamShape::kLive;
  }
  if (file) return file->Status();
  if (programme) {
    const HelperStatus saved = programme->Status();
    status.thousandths = saved.thousandths;
    status.rate_kb = saved.rate_kb;
  }
  return status;
}

bool HelperItem::Failed() {
  std::shared_ptr<ItemDownload> file;
  {
    std::lock_guard lock(mutex_);
    if (failed_) return true;
    if (route_) file = route_->file;
  }
  return file && file->Failed();
}

void HelperItem::Look() {
  const ProbeResult probe = ProbeStream(source_.url, stop_);
  if (stop_) {
    std::lock_guard lock(mutex_);
    route_ = ItemRoute{};
    failed_ = true;
    changed_.notify_all();
    return;
  }
  ItemRoute route{probe.shape, probe.final_url, nullptr};
  std::shared_ptr<ProgrammeDownload> programme;
  HelperProblem problem = HelperProblem::kNone;
  bool failed = false;
  if (!probe.error.empty()) {
    Log("cannot look at " + source_.url + ": " + probe.error);
    problem = probe.certificate_refused ? HelperProblem::kCertificate : HelperProblem::kUnreachable;
    route.shape = StreamShape::kRefused;
    failed = true;
  } else if (probe.shape == StreamShape::kRefused) {
    Log("refused " + probe.final_url + ": a playlist naming what may not be opened");
    problem = HelperProblem::kRefused;
    failed = true;
  } else if (probe.shape == StreamShape::kFile) {
    const std::string wanted =
        SavedFileName(source_.name, MediaFileName(probe.final_url), probe.disposition_name);
    const std::string name = source_.reserve(NameWish{wanted, false, wanted == source_.name});
    const std::vector<std::string> files = DownloadFilesOf(name);
    route.file = std::make_shared<ItemDownload>(probe.final_url, source_.key,
                                                ItemFiles{source_.folder, files[0], files[1], files[2]},
                                                std::nullopt, source_.debug);
    std::string error = "no free name for " + wanted;
    if (name.empty() || !route.file->Start(error)) {
      Log(error);
      failed = true;
    }
  } else if (probe.shape == StreamShape::kProgramme) {
    // Named as the catalogue calls it, else from the address asked for (not
    // a variant's).
    std::string wanted = TitledProgrammeName(source_.title);
    if (wanted.empty()) wanted = ProgrammeFileName(source_.url);
    const std::string name = source_.reserve(NameWish{wanted, true, false});
    const std::vector<std::string> files = DownloadFilesOf(name);
    programme = std::make_shared<ProgrammeDownload>(
        probe.final_url, source_.key, ItemFiles{source_.folder, files[0], files[1], files[2]}, source_.debug);
    programme->AllowInside(EndpointsOfAddress(source_.service_base));
    std::string error = "no free name";
    // A programme that cannot be saved is still played.
    if (name.empty() || !programme->Start(error)) {
      Log("not saving " + probe.final_url + ": " + error);
      programme.reset();
    }
  }
  Log("playing " + probe.final_url +
      (PlayedAtOrigin(route.shape) ? " from its origin" : " through the helper"));
  std::lock_guard lock(mutex_);
  route_ = std::move(route);
  programme_ = std::move(programme);
  problem_ = problem;
  failed_ = failed;
  changed_.notify_all();
}

void HelperItem::Log(const std::string& text) const {
  if (source_.debug) std::fprintf(stderr, "QvodTerminal: %s\n", text.c_str());
}

}  // namespace taviro::helper
