#pragma once

#include <filesystem>
#include <string>

#include "helper/vendor_save_path.h"
#include "linux/system/spawn_program_launcher.h"
#include "linux/system/unix_helper_channel.h"
#include "playback/download_helper_client.h"

namespace taviro::gtk {

// The program's line to the download helper installed in the Qvod/
// subfolder of the program's own folder (which, installed for the system,
// is not the folder that keeps the settings).
struct DownloadHelperLink {
  DownloadHelperLink(const std::filesystem::path& program_folder, const std::filesystem::path& app_folder,
                     const std::string& service_base)
      : folder((program_folder / "Qvod").string() + "/"),
        channel(folder, VendorFilesFolder(app_folder)),
        client(channel, launcher, folder + "QvodTerminal.exe", service_base) {}

  std::string folder;
  SpawnProgramLauncher launcher;
  UnixHelperChannel channel;
  DownloadHelperClient client;
};

}  // namespace taviro::gtk
