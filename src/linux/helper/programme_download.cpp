#include "linux/helper/programme_download.h"

namespace taviro::helper {

// Saving programmes comes separately; until then they are only played.
// The saver's own signature, whose parameters it keeps.
// NOLINTBEGIN(performance-unnecessary-value-param)
ProgrammeDownload::ProgrammeDownload(std::string playlist_url, std::string, ItemFiles, bool,
                                     ItemDownload::SyncFile)
    : playlist_url_(std::move(playlist_url)) {}
// NOLINTEND(performance-unnecessary-value-param)

ProgrammeDownload::~ProgrammeDownload() = default;

bool ProgrammeDownload::Start(std::string& error) {
  error = "not built yet";
  return false;
}

void ProgrammeDownload::Stop() {}

HelperStatus ProgrammeDownload::Status() { return {}; }

bool ProgrammeDownload::Failed() { return true; }

}  // namespace taviro::helper
