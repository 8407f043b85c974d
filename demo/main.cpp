// taviro-service: the program's own video service on 127.0.0.1.
#include <malloc.h>
#include <pthread.h>
#include <signal.h>

#include <cstdio>
#include <filesystem>
#include <iostream>
#include <memory>
#include <thread>

#include "service/catalogue.h"
#include "service/command_line.h"
#include "service/demo_service.h"
#include "service/parent_link.h"
#include "user_library/library_places.h"
#include "util/random_token.h"

namespace {

using taviro::demo::CommandLine;

CommandLine Defaults() {
  CommandLine defaults;
  defaults.media_folder = TAVIRO_DEMO_MEDIA_DIR;
  return defaults;
}

// SIGINT and SIGTERM are blocked in every thread and taken by one watcher,
// which stops the service; no handler runs in signal context.
sigset_t StopSignals() {
  sigset_t set;
  sigemptyset(&set);
  sigaddset(&set, SIGINT);
  sigaddset(&set, SIGTERM);
  return set;
}

}  // namespace

int main(int argc, char** argv) {
  std::string error;
  const auto command_line =
      taviro::demo::ParseCommandLine(std::vector<std::string>(argv + 1, argv + argc), Defaults(), error);
  if (!command_line) {
    std::cerr << "taviro-service: " << error << "\n" << taviro::demo::kUsage;
    return 2;
  }
  if (command_line->help) {
    std::cout << taviro::demo::kUsage;
    return 0;
  }

  // Dozens of request threads each holding a heap arena of its own would
  // keep freed memory of every page and probe; two arenas serve them.
  mallopt(M_ARENA_MAX, 2);

  const sigset_t stop_signals = StopSignals();
  pthread_sigmask(SIG_BLOCK, &stop_signals, nullptr);
  // Started by the program: the address goes back over this link alone.
  std::unique_ptr<taviro::demo::ParentLink> parent;
  if (command_line->parent_fd >= 0) {
    parent = std::make_unique<taviro::demo::ParentLink>(command_line->parent_fd);
  }

  taviro::demo::Catalogue catalogue;
  if (!command_line->data_folder.empty()) {
    try {
      catalogue = taviro::demo::LoadCatalogue(command_line->data_folder / "catalogue.json");
    } catch (const taviro::demo::CatalogueError& e) {
      std::cerr << "taviro-service: " << e.what() << "\n";
      return 1;
    }
  }
  taviro::demo::ServiceOptions options{
      command_line->media_folder, command_line->end_address, {}, command_line->test_controls};
  if (parent) {
    options.access_key = taviro::RandomToken();
    if (options.access_key.empty()) {
      std::cerr << "taviro-service: no random bytes for an access key\n";
      return 1;
    }
  }
  taviro::demo::DemoService service(std::move(catalogue), std::move(options));
  std::vector<std::string> library_folders;
  for (const auto& folder : command_line->library_folders) {
    library_folders.push_back(std::filesystem::absolute(folder).string());
  }
  service.AttachLibrary(taviro::demo::FindLibraryPlaces(), std::move(library_folders));
  service.AttachChannels(taviro::demo::FindChannelPlaces(), command_line->channel_lists);
  if (service.Bind(command_line->port) < 0) {
    std::cerr << "taviro-service: cannot listen on 127.0.0.1:" << command_line->port << "\n";
    return 1;
  }

  std::thread watcher([&service, stop_signals] {
    int signal_number = 0;
    sigwait(&stop_signals, &signal_number);
    service.Stop();
  });
  std::thread parent_watch;
  if (parent) {
    if (!parent->Tell(service.BaseUrl())) {
      service.Stop();
    }
    parent_watch = std::thread([&service, &parent] {
      parent->WaitForParentToGo();
      service.Stop();
    });
  } else {
    std::cout << "listening on " << service.BaseUrl() << std::endl;
  }
  const bool served = service.Run();
  // Wakes the watchers when the service ended on its own.
  pthread_kill(watcher.native_handle(), SIGTERM);
  watcher.join();
  if (parent) {
    parent->Release();
    parent_watch.join();
  }
  return served ? 0 : 1;
}
