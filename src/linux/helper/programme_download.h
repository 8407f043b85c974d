#pragma once

#include <condition_variable>
#include <cstdint>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "helper/connect_rule.h"
#include "helper/helper_protocol.h"
#include "helper/hls_playlist.h"
#include "helper/programme_progress.h"
#include "helper/transfer_rules.h"
#include "linux/helper/item_download.h"
#include "linux/helper/programme_remux.h"
#include "util/unique_fd.h"

namespace taviro::helper {

// An HLS programme (a playlist that ends) saved as one file: its segments,
// decrypted, are appended in order to the partial file, then remuxed
// without re-encoding into the saved file. The saved file is named after
// `files.final_name` with its extension replaced (see SavedName).
class ProgrammeDownload {
 public:
  ProgrammeDownload(std::string playlist_url, std::string source_key, ItemFiles files, bool debug,
                    ItemDownload::SyncFile sync = {});
  ProgrammeDownload(const ProgrammeDownload&) = delete;
  ProgrammeDownload& operator=(const ProgrammeDownload&) = delete;
  ~ProgrammeDownload();

  // Where, inside this machine and its network, addresses the playlist
  // names may lead besides its own origin (the service's); before Start.
  void AllowInside(const std::vector<NetEndpoint>& endpoints);
  // False, saying why, when nothing can be saved: the address is not http
  // or https, the folder takes no file, or another item's file is there.
  // The playlist is fetched afterwards; a playlist refused then is Failed().
  bool Start(std::string& error);
  // Ends within a second; what is on disk is kept for a later run.
  void Stop();
  // Thousandths of the pieces (segments and initialisation sections) on
  // disk, and the recent rate.
  HelperStatus Status();
  bool Failed();

  // `given` without its extension (".m3u8" or whatever it had), with the
  // container's.
  static std::string SavedName(const std::string& given, SavedContainer container);

 private:
  // A segment or an initialisation section, as it is fetched.
  struct Piece {
    std::string url;
    std::optional<HlsByteRange> range;
    std::optional<HlsKey> key;
    HlsIv iv{};
  };
  enum class PieceEnd { kDone, kStopped, kFailed };

  void Run();
  void Save();
  // The media playlist `url` leads to, and where a master playlist on the
  // way names the sound apart, that one's address in `audio_url`.
  std::optional<HlsMediaPlaylist> FetchMediaPlaylist(std::string url, std::string* audio_url);
  // Its pieces, in order; true when they are fragmented MP4.
  bool AddPieces(const HlsMediaPlaylist& media);
  std::optional<std::string> FetchWithRetries(const std::string& url,
                                              const std::optional<HlsByteRange>& range, std::size_t limit,
                                              std::string* final_url);
  std::optional<std::string> PieceBytes(const Piece& piece);
  bool Append(const std::string& bytes);
  void SaveProgress();
  void Finish(const std::vector<RemuxSource>& sources);
  void Fail(const std::string& why);
  bool Stopped();
  void Log(const std::string& text) const;

  const std::string playlist_url_;
  const std::string source_key_;
  const ItemFiles files_;
  const bool debug_;
  const ItemDownload::SyncFile sync_;
  UniqueFd file_;
  // Only the worker touches these.
  std::vector<Piece> pieces_;
  std::map<std::string, std::string> keys_;
  // The first of the sound's own pieces, 0 when the sound is in the picture's.
  std::size_t audio_first_piece_ = 0;
  std::optional<ProgrammeProgress> stored_;
  // The first fetch is the user's own address; what it names is fetched
  // under the rule, which lets it back only to where that came from.
  ConnectRule rule_;
  bool guarded_ = false;

  std::mutex mutex_;
  std::condition_variable changed_;
  ProgrammeProgress progress_;
  bool stop_ = false;
  bool failed_ = false;
  bool finished_ = false;
  RateMeter rate_;
  std::thread worker_;
};

}  // namespace taviro::helper
