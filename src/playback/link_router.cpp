#include "playback/link_router.h"

#include <filesystem>
#include <optional>

#include "lists/media_lists.h"
#include "playback/catalogue_links.h"
#include "playback/episode_list_page.h"
#include "playback/episode_reply.h"
#include "playback/item_key.h"
#include "playback/item_title.h"
#include "playback/media_address.h"
#include "playback/playback_context.h"
#include "playback/status_strip.h"
#include "ports/player_control.h"
#include "ports/program_launcher.h"
#include "ports/web_view.h"
#include "settings/settings.h"
#include "util/file_uri.h"
#include "util/process_helpers.h"
#include "util/script_escape.h"
#include "util/text_number.h"
#include "util/truncate_by_width.h"
#include "window/content_mode.h"
#include "window/main_window.h"
#include "window/npc_buttons.h"
#include "window/title_bar_commands.h"
#include "window/tray_controller.h"

namespace taviro {
namespace {

constexpr std::string_view kDownloadHelper = "QvodTerminal.exe";
constexpr int kTitleWidth = 30;

WebView& View(PlaybackContext& context, WebViewRole role) { return context.window.ports.web.View(role); }

std::string ServicePage(const PlaybackContext& context, std::string_view page, std::string_view query) {
  std::string url = context.window.ServiceBaseUrl;
  url.append(page).append("?").append(query);
  return url;
}

}  // namespace

LinkRouter::LinkRouter(PlaybackContext& context, std::string episode_page_template)
    : context_(context), episode_page_template_(std::move(episode_page_template)) {}

// A private link counts only as the whole address: one carried inside an
// ordinary address (a frame's own "http://.../x?miqvod://...") is no link.
bool LinkRouter::Web1BeforeNavigate(const std::string& uri) {
  if (uri.starts_with(kCatalogueScheme)) {
    ResolveCatalogueEntry(uri);
    return true;
  }
  if (uri.starts_with(kPlayScheme)) {
    PlayEpisode(uri);
    return true;
  }
  return false;
}

bool LinkRouter::Web2BeforeNavigate(const std::string& uri) {
  if (context_.sentinel_url.empty() || !uri.starts_with(context_.sentinel_url)) return false;
  const bool play_next = Settings::Load(context_.window.ConfigPath).play_next_episode;
  context_.timers.Timer1.SetEnabled(true);
  if (play_next && !std::holds_alternative<NextEpisodeFailed>(context_.now.next_episode)) PlayNextEpisode();
  return true;
}

bool LinkRouter::Web5BeforeNavigate(const std::string& uri) {
  if (!uri.starts_with(kCatalogueScheme) && !uri.starts_with(kPlayScheme)) {
    // Another list replaces the one DangJ showed.
    if (!dangj_page_.empty() && uri != dangj_page_) dangj_series_ = 0;
    return false;
  }
  // Every play action runs in the catalogue view's handler.
  View(context_, WebViewRole::kCatalogue).Navigate(uri);
  return true;
}

bool LinkRouter::Web11BeforeNavigate(const std::string& uri) {
  if (!IsChannelLink(uri)) return false;
  View(context_, WebViewRole::kTvAdvert).Navigate(ServicePage(context_, "tv/mivutv.htm", ChannelCode(uri)));
  context_.window.model[RegionId::gtv].visible = true;
  SetContentMode(context_.window, ContentMode::kTvPage);
  return true;
}

void LinkRouter::ResolveCatalogueEntry(const std::string& uri) {
  MainWindow& window = context_.window;
  const CatalogueLink entry = ParseCatalogueLink(uri);
  SetStatusText(window, kSearchingStatus);
  ShowMainTab(window, MainTab::kPlayer);
  // The entry clicked last is the one the user wants: an answer for an
  // earlier click that comes after it is dropped.
  const unsigned ticket = ++catalogue_ticket_;
  FetchEpisodeReply(context_.episodes, window.ServiceBaseUrl, std::to_string(entry.id), entry.source,
                    entry.episode,
                    [this, alive = std::weak_ptr<int>(alive_), ticket, entry](const std::string& reply) {
                      if (alive.expired() || ticket != catalogue_ticket_) return;
                      PlayCatalogueEntry(entry, reply);
                    });
}

void LinkRouter::PlayCatalogueEntry(const CatalogueLink& entry, const std::string& reply) {
  MainWindow& window = context_.window;
  if (IsFailedEpisodeReply(reply)) {
    context_.now.next_episode = NextEpisodeFailed{};
    SetStatusText(window, kReadErrorStatus);
  }
  const std::optional<EpisodeRecord> record = ParseEpisodeRecord(reply);
  if (!record) {
    ShowBalloon(window.ports.tray, kReadErrorBalloon);
    return;
  }
  // The play link comes back through this handler, which plays it.
  View(context_, WebViewRole::kCatalogue)
      .Navigate(ResolvedPlayLink(record->kind, ScriptEscape(record->media_url), entry, record->name));
}

void LinkRouter::PlayEpisode(const std::string& uri) {
  MainWindow& window = context_.window;
  NowPlaying& now = context_.now;
  const PlayLink link = ParsePlayLink(uri);
  // An address the player must not open (fdclose://, av://, a relative
  // name, a local file) is a reply that cannot be played: the item playing goes on. An
  // empty one opens nothing and is let through as before.
  const std::string media = ScriptUnescape(link.media_url);
  if (link.kind == kPlayerKind && !media.empty() && !MayRemoteChoiceReachPlayer(media)) {
    ShowBalloon(window.ports.tray, kReadErrorBalloon);
    return;
  }
  StartDownloadHelper();

  if (link.kind == kPlayerKind) {
    SetContentMode(window, ContentMode::kPlayer);
    now.ResumePosition = 0;
    window.ports.player.NameItem(media, SavedItemTitle(link.title, link.name, link.episode));
    window.ports.player.SetUrl(media);
    window.ports.player.Play();
    context_.timers.Timer1.SetEnabled(true);
    now.prefetch_started = false;
    now.ListKey = std::to_string(link.id);
  } else {
    SetContentMode(window, ContentMode::kWebPlayPage);
    View(context_, WebViewRole::kPlayPage)
        .Navigate(ServicePage(context_, "play.htm", link.kind + "$$$" + link.media_url));
    now.ListKey = "0";
    context_.timers.Timer1.SetEnabled(false);
  }

  now.CurrentItemKey = FormatItemKey(link.id, link.source, link.episode, link.title);
  now.next_episode = NoNextEpisode{};
  now.next_media = NextMediaUnresolved{};

  ShowItemTitle(window,
                TruncateByWidth(ScriptUnescape(link.title), kTitleWidth) + "-" + ScriptUnescape(link.name));

  if (!link.title.empty() && !link.media_url.empty() && link.id != 0) {
    // A link without the flag field (the one resolved from a catalogue entry)
    // reloads the list too: otherwise the episode-list tab selected below
    // would show an empty page. Not when DangJ is showing this series' list:
    // its answer comes at no set time, and the list shown must not depend on
    // it. The list page's own links say "n".
    if (link.flag == "0" || (link.flag.empty() && link.id != dangj_series_)) {
      View(context_, WebViewRole::kEpisodeList)
          .Navigate(ServicePage(context_, "pp.htm", EpisodeListQuery(now.CurrentItemKey, "0")));
    }
    context_.lists.AddNetworkTask(link.id, link.title, link.name, link.media_url, ToInteger(link.source),
                                  ToInteger(link.episode), 0);
  }

  now.item_kind = ItemKind::kCatalogue;
  ShowMainTab(window, MainTab::kPlayer);
  ShowSideTab(window, SideTab::kEpisodes);
}

void LinkRouter::StartDownloadHelper() {
  std::string& folder = context_.now.TerminalFolder;
  if (folder.empty()) {
    folder = Settings::Load(context_.window.ConfigPath).vendor_folder;
  }
  if (folder.empty()) return;  // no helper is known
  // The helper of that folder: one of the same name that another copy of the
  // program runs does not serve this one.
  const std::string program = folder + std::string(kDownloadHelper);
  if (IsProgramRunning(context_.processes, program)) return;
  // A helper that cannot be started is not waited for: play is tried anyway.
  context_.launcher.Start(program, {});
}

void LinkRouter::PlayNextEpisode() {
  NowPlaying& now = context_.now;
  if (const auto* next = std::get_if<NextEpisodeLink>(&now.next_episode)) {
    View(context_, WebViewRole::kCatalogue).Navigate(next->link);
    return;
  }
  // No prepared link: the list page clicks the next entry itself.
  const std::optional<ItemKey> key = ParseItemKey(now.CurrentItemKey);
  if (!key) return;  // no catalogue item: nothing to go on from
  const std::string next_entry = std::to_string(key->source) + std::to_string(key->episode + 1);
  View(context_, WebViewRole::kEpisodeList)
      .Navigate(ServicePage(context_, "pp.htm", EpisodeListQuery(now.CurrentItemKey, next_entry)));
}

void LinkRouter::DangJ(const std::string& title, int id, int source, int episode) {
  const std::string item_key = FormatItemKey(id, std::to_string(source), std::to_string(episode), title);
  dangj_series_ = id;
  dangj_page_.clear();
  std::weak_ptr<int> alive = alive_;
  View(context_, WebViewRole::kCatalogue)
      .RunScript("document.body.innerHTML", [this, alive, item_key](const std::string& body_html) {
        if (alive.expired()) return;
        ShowEpisodeList(body_html, item_key);
      });
}

void LinkRouter::ShowEpisodeList(const std::string& body_html, const std::string& item_key) {
  const std::string query = EpisodeListQuery(item_key, "0");
  const std::optional<std::string> episode_data = EpisodeDataOf(body_html);
  if (!episode_data) {
    dangj_page_ = ServicePage(context_, "pp.htm", query);
  } else {
    const std::filesystem::path page = context_.app_folder / kEpisodeListPageName;
    // A page that cannot be written leaves the old one, which is shown anyway.
    (void)WriteEpisodeListPage(page, FillEpisodeListTemplate(episode_page_template_, *episode_data));
    // The query goes on verbatim: the title in it is already escaped.
    dangj_page_ = FileUri(page) + "?" + query;
  }
  View(context_, WebViewRole::kEpisodeList).Navigate(dangj_page_);
}

bool LinkRouter::OnExternalCall(const std::string& name, const std::vector<std::string>& arguments) {
  if (name != "DangJ") return false;
  auto argument = [&arguments](std::size_t index) {
    return index < arguments.size() ? arguments[index] : std::string();
  };
  DangJ(argument(0), ToInteger(argument(1)), ToInteger(argument(2)), ToInteger(argument(3)));
  return true;
}

}  // namespace taviro
