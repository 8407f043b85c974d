#pragma once

#include <string>

#include "helper/helper_protocol.h"
#include "linux/helper/item_download.h"

namespace taviro::helper {

// An HLS programme saved into the save folder as one file, while the
// player plays it from its origin.
class ProgrammeDownload {
 public:
  ProgrammeDownload(std::string playlist_url, std::string source_key, ItemFiles files, bool debug,
                    ItemDownload::SyncFile sync = {});
  ProgrammeDownload(const ProgrammeDownload&) = delete;
  ProgrammeDownload& operator=(const ProgrammeDownload&) = delete;
  ~ProgrammeDownload();

  // False, saying why, when nothing can be saved.
  bool Start(std::string& error);
  void Stop();
  HelperStatus Status();
  bool Failed();

 private:
  std::string playlist_url_;
};

}  // namespace taviro::helper
