#include "app/start_program.h"

#include "app/config_file.h"
#include "app/setting_keys.h"
#include "lists/media_lists.h"
#include "platform/player_probe.h"
#include "platform/prompt.h"
#include "platform/uri_launcher.h"
#include "playback/vendor_save_path.h"

namespace taviro {

StartOutcome StartProgram(const StartProgramEnv& env) {
  // A library that is there but fails has nothing to register again on this
  // system; the window's player tells whether it is usable.
  if (!env.player.CanCreatePlayer() && !env.player.LibraryPresent()) {
    if (env.prompt.AskYesNo("提示：", kNoPlayerQuestion)) {
      env.launcher.Open(env.player_download_url);
    }
    return StartOutcome::kEnd;
  }
  CreateOrRepairConfig(env.app_folder / kConfigFileName, env.make_identity);
  env.lists.CreateMissingListFiles();
  env.lists.RenderMissingListPages();
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
