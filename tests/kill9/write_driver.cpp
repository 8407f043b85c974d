// Writes the lists and the settings as the program does when the user plays
// items, moves on in them, deletes rows and changes settings: the same core
// routines, one deterministic step after another from a seed. After each
// step it prints "done N" and flushes, so that kill9.py knows which steps
// ended before it killed the process. With 0 steps it is the program's next
// start: leftovers removed, every page rendered from its list.
//
// Usage: taviro_write_driver FOLDER SEED STEPS
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>

#include "app/start_program.h"
#include "lists/list_views.h"
#include "lists/media_lists.h"
#include "settings/setting_keys.h"
#include "settings/settings_store.h"

namespace {

using taviro::ListFile;

class QuietViews final : public taviro::ListViews {
 public:
  void ShowListPage(ListFile /*which*/, const std::filesystem::path& /*page*/) override {}
};

constexpr const char* kTitles[] = {"%u5C71%u6D77%u60C5%u7F18", "%u661F%u8FB0%u5927%u6D77", "Plain%20Title"};
constexpr const char* kNames[] = {"%u7B2C01%u96C6", "%u7B2C02%u96C6", "Ep%2003"};
constexpr const char* kPaths[] = {"/home/user/视频/第一集.mp4", "/media/usb/clip one.mkv", "/tmp/a.avi"};
constexpr taviro::SettingKey kKeys[] = {taviro::settings::kSkin, taviro::settings::kPlayNextEpisode,
                                        taviro::settings::kSavedWidth, taviro::settings::kVendorFolder};
constexpr const char* kValues[] = {"0", "1", "990", "/opt/vendor/", "长一点的设置值"};

template <typename T, std::size_t N>
const T& Pick(std::mt19937& random, const T (&items)[N]) {
  return items[std::uniform_int_distribution<std::size_t>(0, N - 1)(random)];
}

int Number(std::mt19937& random, int low, int high) {
  return std::uniform_int_distribution<int>(low, high)(random);
}

void Step(std::mt19937& random, taviro::MediaLists& lists, const std::filesystem::path& config) {
  switch (Number(random, 0, 5)) {
    case 0:  // a network task played
      lists.AddNetworkTask(Number(random, 100, 108), Pick(random, kTitles), Pick(random, kNames),
                           "http%3A//127.0.0.1%3A18080/qvod/sample-a.mp4", Number(random, 0, 2),
                           Number(random, 0, 9), 0);
      break;
    case 1:  // a local file played
      lists.AddLocalFile(std::filesystem::path(Pick(random, kPaths)).filename().string(),
                         Pick(random, kPaths), 0);
      break;
    case 2: lists.UpdateNetworkTaskPosition(Number(random, 100, 108), Number(random, 1, 7200)); break;
    case 3: lists.UpdateLocalFilePosition(Pick(random, kPaths), Number(random, 1, 7200)); break;
    case 4:
      lists.DeleteListLine(Number(random, 0, 1) == 0 ? ListFile::kNetworkTasks : ListFile::kLocalFiles,
                           Number(random, 1, 4));
      break;
    default: taviro::WriteSetting(config, Pick(random, kKeys), Pick(random, kValues)); break;
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4) {
    std::fprintf(stderr, "usage: %s FOLDER SEED STEPS\n", argv[0]);
    return 2;
  }
  const std::filesystem::path folder = argv[1];
  std::mt19937 random(static_cast<std::mt19937::result_type>(std::strtoul(argv[2], nullptr, 10)));
  const long steps = std::strtol(argv[3], nullptr, 10);
  QuietViews views;
  taviro::MediaLists lists(folder, views);
  // What the program's start does to the folder, as the one instance that
  // writes there.
  taviro::RemoveWriteLeftovers(folder);
  lists.CreateMissingListFiles();
  lists.RenderListPages();
  const std::filesystem::path config = folder / taviro::kConfigFileName;
  for (long n = 1; n <= steps; ++n) {
    Step(random, lists, config);
    const std::string done = "done " + std::to_string(n) + "\n";
    // Unbuffered, so that a kill loses no line that was written.
    if (::write(STDOUT_FILENO, done.data(), done.size()) < 0) return 1;
  }
  return 0;
}
