#include "helper/helper_protocol.h"

#include <array>
#include <charconv>
#include <cstdio>
#include <utility>
#include <vector>

namespace taviro {
namespace {

constexpr std::string_view kOk = "ok";
constexpr std::string_view kError = "error";

constexpr std::array<std::pair<HelperVerb, std::string_view>, 4> kVerbs = {{
    {HelperVerb::kPlay, "play"},
    {HelperVerb::kPrebuffer, "prebuffer"},
    {HelperVerb::kStatus, "status"},
    {HelperVerb::kQuit, "quit"},
}};

bool Carriable(std::string_view field) { return field.find_first_of("\t\r\n") == std::string_view::npos; }

std::vector<std::string_view> Fields(std::string_view line) {
  if (line.ends_with('\n')) line.remove_suffix(1);
  if (line.ends_with('\r')) line.remove_suffix(1);
  std::vector<std::string_view> fields;
  for (std::size_t tab = line.find('\t'); tab != std::string_view::npos; tab = line.find('\t')) {
    fields.push_back(line.substr(0, tab));
    line.remove_prefix(tab + 1);
  }
  fields.push_back(line);
  return fields;
}

std::optional<int> Number(std::string_view text) {
  int value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (text.empty() || error != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}

}  // namespace

std::optional<std::string> FormatHelperRequest(const HelperRequest& request) {
  if (!Carriable(request.address) || !Carriable(request.service_base) || !Carriable(request.title))
    return std::nullopt;
  std::string line;
  for (const auto& [verb, name] : kVerbs) {
    if (verb == request.verb) line = name;
  }
  line += '\t';
  line += request.address;
  line += '\t';
  line += request.service_base;
  if (!request.title.empty()) {
    line += '\t';
    line += request.title;
  }
  line += '\n';
  return line;
}

std::optional<HelperRequest> ParseHelperRequest(std::string_view line) {
  const std::vector<std::string_view> fields = Fields(line);
  for (const auto& [verb, name] : kVerbs) {
    if (fields[0] != name) continue;
    HelperRequest request;
    request.verb = verb;
    if (fields.size() > 1) request.address = fields[1];
    if (fields.size() > 2) request.service_base = fields[2];
    if (fields.size() > 3) request.title = fields[3];
    if (fields.size() > 4) return std::nullopt;
    // A line end inside a field is not one line: nothing that arrives so
    // could be sent again.
    if (!Carriable(request.address) || !Carriable(request.service_base) || !Carriable(request.title))
      return std::nullopt;
    return request;
  }
  return std::nullopt;
}

std::string FormatOkReply(std::string_view value) {
  return std::string(kOk) + "\t" + std::string(value) + "\n";
}

namespace {
constexpr std::string_view kLiveWord = "live";
constexpr std::pair<HelperProblem, std::string_view> kProblemWords[] = {
    {HelperProblem::kCertificate, "certificate"},
    {HelperProblem::kRefused, "refused"},
    {HelperProblem::kUnreachable, "unreachable"},
};
}  // namespace

std::string FormatStatusReply(const HelperStatus& status) {
  std::string value = std::to_string(status.thousandths) + "\t" + std::to_string(status.rate_kb);
  if (status.live) value += "\t" + std::string(kLiveWord);
  for (const auto& [problem, word] : kProblemWords) {
    if (status.problem == problem) value += "\t" + std::string(word);
  }
  return FormatOkReply(value);
}

std::string FormatErrorReply(std::string_view reason) {
  std::string text(reason);
  for (char& c : text) {
    if (c == '\t' || c == '\r' || c == '\n') c = ' ';
  }
  return std::string(kError) + "\t" + text + "\n";
}

std::optional<std::string> OkReplyValue(std::string_view reply) {
  if (!reply.ends_with('\n')) return std::nullopt;  // cut short: the helper went away
  reply.remove_suffix(1);
  // One line only: what follows a line end inside it is no part of it.
  if (reply.find_first_of("\r\n") != std::string_view::npos) return std::nullopt;
  if (reply == kOk) return std::string();
  if (!reply.starts_with(std::string(kOk) + "\t")) return std::nullopt;
  return std::string(reply.substr(kOk.size() + 1));
}

std::optional<HelperStatus> ParseStatusReply(std::string_view reply) {
  const std::optional<std::string> value = OkReplyValue(reply);
  if (!value) return std::nullopt;
  const std::vector<std::string_view> fields = Fields(*value);
  if (fields.size() < 2) return std::nullopt;
  const std::optional<int> thousandths = Number(fields[0]);
  const std::optional<int> rate = Number(fields[1]);
  if (!thousandths || !rate || *thousandths < 0 || *thousandths > 1000 || *rate < 0) return std::nullopt;
  HelperStatus status{*thousandths, *rate};
  for (std::size_t i = 2; i < fields.size(); ++i) {
    if (fields[i] == kLiveWord) status.live = true;
    for (const auto& [problem, word] : kProblemWords) {
      if (fields[i] == word) status.problem = problem;
    }
  }
  return status;
}

std::string HelperSocketName(std::uint32_t uid, std::string_view folder) {
  // FNV-1a: a short, stable tag for the folder; not a secret.
  std::uint64_t hash = 0xcbf29ce484222325ULL;
  for (const char c : folder) {
    hash ^= static_cast<unsigned char>(c);
    hash *= 0x100000001b3ULL;
  }
  char tag[17];
  std::snprintf(tag, sizeof tag, "%016llx", static_cast<unsigned long long>(hash));
  return "taviro-helper-" + std::to_string(uid) + "-" + tag;
}

}  // namespace taviro
