// The h.asp reply: any reply parses without fault; a record of three fields
// gives them back; a refusal is never taken for a record to play.
#include <fuzzer/FuzzedDataProvider.h>

#include <string>

#include "playback/episode_reply.h"
#include "property.h"

namespace {

using taviro::fuzz::Check;

std::string FieldFrom(FuzzedDataProvider& input) {
  std::string field = input.ConsumeRandomLengthString(32);
  std::erase(field, '$');
  return field;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider input(data, size);
  const std::string name = FieldFrom(input);
  const std::string url = FieldFrom(input);
  const std::string kind = FieldFrom(input);
  const std::string reply = input.ConsumeRemainingBytesAsString();

  const auto record = taviro::ParseEpisodeRecord(reply);
  Check(record.has_value() == (reply.find('$') != std::string::npos), "a record is a reply with a $", reply);
  if (record) {
    Check(reply.starts_with(record->name + "$" + record->media_url), "a record's fields come from the reply",
          reply);
    Check(record->name.find('$') == std::string::npos && record->media_url.find('$') == std::string::npos &&
              record->kind.find('$') == std::string::npos,
          "no field holds the separator", reply);
  }
  if (taviro::IsFailedEpisodeReply(reply)) {
    Check(!record, "a failed reply is no record", reply);
  }

  const std::string built = name + "$" + url + "$" + kind;
  const auto parsed = taviro::ParseEpisodeRecord(built);
  Check(parsed && parsed->name == name && parsed->media_url == url && parsed->kind == kind,
        "a record gives back its fields", built);
  Check(taviro::EpisodeRequestUrl("http://127.0.0.1/", name, url, kind)
            .starts_with("http://127.0.0.1/h.asp?id="),
        "the request goes to h.asp");
  return 0;
}
