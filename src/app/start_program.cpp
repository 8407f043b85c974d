#include "app/start_program.h"

#include <string_view>
#include <vector>

#include "helper/vendor_save_path.h"
#include "lists/media_lists.h"
#include "playback/episode_list_page.h"
#include "ports/player_probe.h"
#include "ports/prompt.h"
#include "ports/uri_launcher.h"
#include "settings/config_file.h"
#include "settings/setting_keys.h"
#include "util/file_io.h"
#include "util/translate.h"

namespace taviro {

void RemoveWriteLeftovers(const std::filesystem::path& app_folder) {
  const std::vector<std::string_view> written_here = {kConfigFileName,
                                                      ListFileName(ListFile::kNetworkTasks),
                                                      ListFileName(ListFile::kLocalFiles),
                                                      ListPageName(ListFile::kNetworkTasks),
                                                      ListPageName(ListFile::kLocalFiles),
                                                      kEpisodeListPageName};
  // How many went tells nobody anything: a fresh folder has none.
  (void)RemoveLeftoverTemporaries(app_folder, written_here);
  RemoveVendorWriteLeftovers(VendorFilesFolder(app_folder));
}

StartOutcome StartProgram(const StartProgramEnv& env) {
  // A library that is there but fails has nothing to register again on this
  // system; the window's player tells whether it is usable.
  if (!env.player.CanCreatePlayer() && !env.player.LibraryPresent()) {
    if (env.prompt.AskYesNo(N_("提示："), kNoPlayerQuestion)) {
      env.launcher.Open(env.player_download_url);
    }
    return StartOutcome::kEnd;
  }
  if (env.owns_instance) {
    RemoveWriteLeftovers(env.app_folder);
  }
  CreateOrRepairConfig(env.app_folder / kConfigFileName, env.make_identity);
  env.lists.CreateMissingListFiles();
  env.lists.RenderListPages();
  // The helper's files, so that its save folder can be read and changed
  // before it first runs.
  EnsureVendorFiles(VendorFilesFolder(env.app_folder));
  return StartOutcome::kShowWindow;
}

StartOutcome CheckWindowPlayer(bool player_created, PlayerProbe& player, Prompt& prompt) {
  if (player_created) {
    return StartOutcome::kShowWindow;
  }
  const std::string caption(settings::kProductNameValue);  // the product's name, as on its window
  prompt.Inform(caption, player.LibraryPresent() ? kPlayerDamagedNotice : kPlayerGoneNotice);
  return StartOutcome::kEnd;
}

}  // namespace taviro
