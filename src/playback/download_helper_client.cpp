#include "playback/download_helper_client.h"

#include "helper/download_name.h"
#include "playback/own_library_media.h"
#include "ports/helper_channel.h"
#include "ports/program_launcher.h"

namespace taviro {
namespace {

bool IsHttp(std::string_view address) {
  return address.starts_with("http://") || address.starts_with("https://");
}

// When the helper cannot serve an address: an http one is still played
// straight from the network, a qvod link has nowhere else to come from.
StreamChoice WithoutHelper(const std::string& address) {
  if (IsHttp(address)) return {StreamChoice::Kind::kDirect, address};
  return {StreamChoice::Kind::kNone, {}};
}

}  // namespace

bool IsLoopbackHttpAddress(std::string_view address) {
  constexpr std::string_view kLoopback = "http://127.0.0.1:";
  if (!address.starts_with(kLoopback)) return false;
  const std::string_view rest = address.substr(kLoopback.size());
  const std::size_t slash = rest.find('/');
  if (slash == 0 || slash == std::string_view::npos) return false;
  for (const char c : rest.substr(0, slash)) {
    if (c < '0' || c > '9') return false;
  }
  return true;
}

DownloadHelperClient::DownloadHelperClient(HelperChannel& channel, ProgramLauncher& launcher,
                                           std::string helper_program, std::string service_base)
    : channel_(channel),
      launcher_(launcher),
      helper_program_(std::move(helper_program)),
      service_base_(std::move(service_base)) {}

bool DownloadHelperClient::Wanted(std::string_view address) const {
  if (IsOwnLibraryMedia(address, service_base_)) return false;
  return IsHttp(address) || address.starts_with(kQvodScheme);
}

StreamChoice DownloadHelperClient::Open(const std::string& address, std::optional<TimePoint> waiting_since,
                                        TimePoint now) {
  if (!Wanted(address)) return {StreamChoice::Kind::kDirect, address};
  if (const std::optional<std::string> reply = Ask(HelperVerb::kPlay, address)) {
    const std::optional<std::string> served = OkReplyValue(*reply);
    // A refusal (no safe file name, an unwritable folder) is final for this
    // address; so is an answer that is not the helper's loopback server.
    if (!served || !IsLoopbackHttpAddress(*served)) return WithoutHelper(address);
    return {StreamChoice::Kind::kHelper, *served};
  }
  if (!waiting_since && !StartHelper()) return WithoutHelper(address);
  if (waiting_since && now - *waiting_since >= kStartWait) return WithoutHelper(address);
  return {StreamChoice::Kind::kWait, {}};
}

std::optional<HelperStatus> DownloadHelperClient::Report(const std::string& address, TimePoint now) {
  if (address == reported_address_ && report_ && now - report_time_ < kReportAge) return report_;
  if (!pending_prebuffer_.empty() && Ask(HelperVerb::kPrebuffer, pending_prebuffer_))
    pending_prebuffer_.clear();
  const std::optional<std::string> reply = Ask(HelperVerb::kStatus, address);
  reported_address_ = address;
  report_time_ = now;
  report_ = reply ? ParseStatusReply(*reply) : std::nullopt;
  return report_;
}

void DownloadHelperClient::Prebuffer(const std::string& address) {
  if (!Wanted(address)) return;
  if (Ask(HelperVerb::kPrebuffer, address)) {
    pending_prebuffer_.clear();
    return;
  }
  pending_prebuffer_ = address;
  StartHelper();
}

void DownloadHelperClient::NameItem(const std::string& address, const std::string& title) {
  // The item playing and the one read ahead, with room to spare.
  constexpr std::size_t kTitlesKept = 4;
  std::erase_if(titles_, [&address](const auto& named) { return named.first == address; });
  std::string carried = title;
  // A line end or tab would make the whole request unsendable.
  for (char& c : carried) {
    if (c == '\t' || c == '\r' || c == '\n') c = ' ';
  }
  titles_.emplace_back(address, std::move(carried));
  if (titles_.size() > kTitlesKept) titles_.pop_front();
}

std::optional<std::string> DownloadHelperClient::Ask(HelperVerb verb, const std::string& address) {
  std::string title;
  if (verb == HelperVerb::kPlay || verb == HelperVerb::kPrebuffer) {
    for (const auto& [named, given] : titles_) {
      if (named == address) title = given;
    }
  }
  const std::optional<std::string> line = FormatHelperRequest({verb, address, service_base_, title});
  if (!line) return std::nullopt;
  return channel_.Ask(*line);
}

bool DownloadHelperClient::StartHelper() {
  if (helper_program_.empty()) return false;
  return launcher_.Start(helper_program_, {});
}

}  // namespace taviro
