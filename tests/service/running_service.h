#pragma once

#include <httplib.h>

#include <memory>
#include <string>
#include <thread>

#include "http/catalogue.h"
#include "http/demo_service.h"
#include "support/temp_folder.h"

namespace taviro::demo::testing {

inline constexpr const char* kEndAddress = "http://127.0.0.1:9/end-of-play";

// The repository's sample catalogue.
Catalogue SampleCatalogue();

// The demo service on a free loopback port, serving the sample catalogue
// and a media folder of small stand-in clips, stopped and joined when the
// object goes away.
class RunningService {
 public:
  RunningService();
  RunningService(const RunningService&) = delete;
  RunningService& operator=(const RunningService&) = delete;
  ~RunningService();

  int port() const { return service_->port(); }
  std::string BaseUrl() const { return service_->BaseUrl(); }
  // The catalogue as served, its "seed:" media turned into qvod links.
  const Catalogue& catalogue() const { return catalogue_; }

  // A fresh client for each call, with short time-outs.
  httplib::Result Get(const std::string& target) const;
  // The body of a 200 reply decoded from GB18030 to UTF-8; fails the test
  // on anything else.
  std::string GetPage(const std::string& target) const;

 private:
  taviro::testing::TempFolder media_;
  Catalogue catalogue_;
  std::unique_ptr<DemoService> service_;
  std::thread thread_;
};

}  // namespace taviro::demo::testing
