// The service's requests for the user's own media: the files themselves,
// their posters, the scan's progress and the folders form.
#include <fstream>
#include <iostream>
#include <iterator>

#include "library/library_page.h"
#include "http/demo_service.h"
#include "http/throttled_files.h"
#include "util/ansi_text.h"

namespace taviro::demo {
namespace {

using httplib::Request;
using httplib::Response;

std::string Found(const auto& map, const auto& key) {
  const auto found = map.find(key);
  return found == map.end() ? std::string() : found->second;
}

std::string PictureType(const std::string& file) {
  if (file.ends_with(".png")) return "image/png";
  if (file.ends_with(".webp")) return "image/webp";
  return "image/jpeg";
}

}  // namespace

std::string DemoService::LibraryFilePath(std::int64_t id) const {
  const std::shared_ptr<const LibraryView> view = CurrentLibrary();
  return view ? Found(view->files, id) : std::string();
}

std::string DemoService::LibraryPosterPath(int title_id) const {
  const std::shared_ptr<const LibraryView> view = CurrentLibrary();
  return view ? Found(view->posters, title_id) : std::string();
}

void DemoService::AddLibraryRoutes() {
  // Files go by their id in the index, never by name: a name may hold
  // anything, the address holds digits and the extension.
  server_.Get(R"(/qvod/library/(\d{1,18})(\.[A-Za-z0-9]{1,5})?)",
              [this](const Request& request, Response& response) {
                const std::string path = LibraryFilePath(std::stoll(request.matches[1].str()));
                if (path.empty()) {
                  response.status = 404;
                  return;
                }
                SendFile(path, response, media_bandwidth_, [this](std::chrono::milliseconds wait) {
                  Pause(wait);
                  std::lock_guard lock(stop_mutex_);
                  return !stopping_;
                });
              });
  server_.Get(R"(/library/poster/(\d{1,9})\.jpg)", [this](const Request& request, Response& response) {
    const std::string picture = LibraryPosterPath(std::stoi(request.matches[1].str()));
    std::ifstream in;
    if (!picture.empty()) in.open(picture, std::ios::binary);
    if (!in) {
      response.status = 404;
      return;
    }
    response.set_content(std::string(std::istreambuf_iterator<char>(in), {}), PictureType(picture));
  });
  server_.Get("/library/progress", [this](const Request&, Response& response) {
    response.set_content(EncodeAnsi(library_ ? ProgressText(library_->Progress()) : std::string()),
                         "text/plain");
  });
  server_.Post("/library/folders", [this](const Request& request, Response& response) {
    const std::string action = request.get_param_value("action");
    const std::string folder = request.get_param_value("folder");
    const bool done = library_ && (action == "add"      ? library_->AddFolder(folder)
                                   : action == "remove" ? library_->RemoveFolder(folder)
                                                        : false);
    if (!done) std::cerr << "taviro-service: library folder not changed: " << action << " " << folder << "\n";
    // Back to the home page, relative to wherever the service is based.
    response.set_redirect("../", 303);
  });
}

}  // namespace taviro::demo
