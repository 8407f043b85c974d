#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "util/translate.h"

namespace taviro {

struct PlaybackContext;
struct CatalogueLink;

// Status texts and the balloon of the catalogue links.
inline constexpr std::string_view kSearchingStatus = N_("正在搜索资源，请稍后");
inline constexpr std::string_view kReadErrorStatus = N_("读取数据出错，请重试");
inline constexpr std::string_view kReadErrorBalloon = N_("读取数据出错，请返回重试！");

// Turns the private links of the catalogue views into actions: a catalogue
// entry is resolved through the service and played, a play link starts the
// player or the web play page, an episode list forwards its links to the
// catalogue view, the channel list starts the TV page, and the play page's
// end address moves on to the next episode. Each handler returns true when
// the view must not navigate.
class LinkRouter {
 public:
  // `episode_page_template`: the local episode-list page (UTF-8), with
  // "[ly]" where the episode data goes.
  LinkRouter(PlaybackContext& context, std::string episode_page_template);

  bool Web1BeforeNavigate(const std::string& uri);   // the catalogue
  bool Web2BeforeNavigate(const std::string& uri);   // the web play page
  bool Web5BeforeNavigate(const std::string& uri);   // the episode list
  bool Web11BeforeNavigate(const std::string& uri);  // the channel list

  // Shows the episode list of a series in Web5: the local page built from
  // the episode data of the page the catalogue shows, or the service's list
  // page when it holds none. The catalogue's body is read asynchronously.
  void DangJ(const std::string& title, int id, int source, int episode);

  // A catalogue page's call window.external.DangJ(title, id, source,
  // episode); false for every other call.
  bool OnExternalCall(const std::string& name, const std::vector<std::string>& arguments);

 private:
  void ResolveCatalogueEntry(const std::string& uri);
  void PlayCatalogueEntry(const CatalogueLink& entry, const std::string& reply);
  void PlayEpisode(const std::string& uri);
  void StartDownloadHelper();
  void PlayNextEpisode();
  void ShowEpisodeList(const std::string& body_html, const std::string& item_key);

  PlaybackContext& context_;
  std::string episode_page_template_;
  // The series whose list DangJ last asked for while Web5 has not been sent
  // elsewhere since (0: none), and the address its answer sent Web5 to
  // (empty until it answers). A play link of that series without a flag
  // leaves Web5 to DangJ: otherwise whichever of the two navigations came
  // last would win.
  int dangj_series_ = 0;
  std::string dangj_page_;
  // Counts catalogue entries clicked; an answer carries the count of its click.
  unsigned catalogue_ticket_ = 0;
  // Pending script results must not reach a router that is gone.
  std::shared_ptr<int> alive_ = std::make_shared<int>(0);
};

}  // namespace taviro
