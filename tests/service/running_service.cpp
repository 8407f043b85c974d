#include "service/running_service.h"

#include <gtest/gtest.h>

#include "http/seed_links.h"
#include "util/ansi_text.h"

namespace taviro::demo::testing {

Catalogue SampleCatalogue() {
  return LoadCatalogue(std::filesystem::path(TAVIRO_SAMPLE_DATA_DIR) / "catalogue.json");
}

RunningService::RunningService() : catalogue_(SampleCatalogue()) {
  for (const char* clip : {"sample-a.mp4", "sample-b.mp4", "sample-c.mp4"}) {
    media_.Write(clip, std::string("clip:") + clip);
  }
  service_ = std::make_unique<DemoService>(catalogue_, ServiceOptions{media_.path(), kEndAddress, {}, true});
  // What the service offers: "seed:" entries as the qvod links it made.
  catalogue_ = WithSeedLinks(std::move(catalogue_), media_.path());
  if (service_->Bind(0) <= 0) {
    ADD_FAILURE() << "the demo service could not bind a loopback port";
    return;
  }
  thread_ = std::thread([this] { service_->Run(); });
  // Run may not have started listening yet; a bound socket already queues
  // connections, so requests made now simply wait for it.
}

RunningService::~RunningService() {
  service_->Stop();
  if (thread_.joinable()) thread_.join();
}

httplib::Result RunningService::Get(const std::string& target) const {
  httplib::Client client(kLoopbackHost, port());
  client.set_connection_timeout(2);
  client.set_read_timeout(10);
  return client.Get(target);
}

std::string RunningService::GetPage(const std::string& target) const {
  const httplib::Result result = Get(target);
  if (!result) {
    ADD_FAILURE() << target << ": no reply (" << httplib::to_string(result.error()) << ")";
    return {};
  }
  EXPECT_EQ(result->status, 200) << target;
  return DecodeAnsi(result->body);
}

}  // namespace taviro::demo::testing
