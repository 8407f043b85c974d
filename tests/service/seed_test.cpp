#include <gtest/gtest.h>

#include "helper/download_name.h"
#include "http/seed_links.h"
#include "service/running_service.h"

namespace taviro::demo::testing {
namespace {

TEST(SeedLinks, QvodEpisodesAreServedFromTheSeedFolderByTheirHash) {
  RunningService service;
  std::optional<QvodLink> link;
  for (const Series& series : service.catalogue().series) {
    for (const Source& source : series.sources) {
      for (const Episode& episode : source.episodes) {
        if (!link) link = ParseQvodLink(episode.media);
      }
    }
  }
  ASSERT_TRUE(link) << "the sample catalogue offers no qvod link";
  EXPECT_EQ(link->size, 17);  // "clip:sample-a.mp4"
  EXPECT_TRUE(IsSafeFileName(link->name)) << link->name;

  httplib::Client client("127.0.0.1", service.port());
  const auto part = client.Get("/seed/" + link->hash, {{"Range", "bytes=5-10"}});
  ASSERT_TRUE(part);
  EXPECT_EQ(part->status, 206);
  EXPECT_EQ(part->body, "sample");

  EXPECT_EQ(SeedFileName(SeedHash("../catalogue.json")), std::nullopt);
  EXPECT_EQ(client.Get("/seed/" + SeedHash("../catalogue.json"))->status, 404);
  EXPECT_EQ(client.Get("/seed/" + SeedHash(".hidden"))->status, 404);
}

TEST(SeedLinks, TheBandwidthLimitIsSetThroughTheControlAddress) {
  RunningService service;
  EXPECT_EQ(service.Get("/__bandwidth?bytes_per_second=5")->status, 200);
  const auto start = std::chrono::steady_clock::now();
  const auto clip = service.Get("/media/sample-a.mp4");
  ASSERT_TRUE(clip);
  EXPECT_EQ(clip->body, "clip:sample-a.mp4");
  // 17 bytes at 5 per second: three seconds at least, whatever the load.
  EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::seconds(3));
  EXPECT_EQ(service.Get("/__bandwidth?bytes_per_second=-1")->status, 400);
  EXPECT_EQ(service.Get("/__bandwidth?bytes_per_second=0")->status, 200);
}

}  // namespace
}  // namespace taviro::demo::testing
