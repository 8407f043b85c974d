#include "app/start_program.h"

#include "app/config_file.h"
#include "app/setting_keys.h"
#include "lists/media_lists.h"
#include "platform/prompt.h"
#include "platform/uri_launcher.h"

namespace taviro {

StartOutcome StartProgram(const StartProgramEnv& env) {
  if (env.player_available && !env.player_available()) {
    if (env.prompt.AskYesNo("提示：", kNoPlayerQuestion)) {
      env.launcher.Open(env.player_download_url);
    }
    return StartOutcome::kEnd;
  }
  CreateOrRepairConfig(env.app_folder / kConfigFileName, env.make_identity);
  env.lists.CreateMissingListFiles();
  env.lists.RenderMissingListPages();
  return StartOutcome::kShowWindow;
}

}  // namespace taviro
