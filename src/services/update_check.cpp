#include "services/update_check.h"

#include <system_error>

#include "ports/program_launcher.h"
#include "ports/prompt.h"
#include "ports/uri_launcher.h"
#include "util/translate.h"
#include "window/main_window.h"

namespace taviro {
namespace {

constexpr const char* kCaption = N_("提示：");

void StartUpdater(const UpdateEnv& env) {
  const std::filesystem::path updater = env.program_folder / "update.exe";
  std::error_code error;
  if (std::filesystem::is_regular_file(updater, error)) {
    // A failure to start it is not reported; the program quits all the same.
    env.programs.Start(updater.string(), {});
  } else {
    env.uris.Open(env.service_base_url + "update/update.exe");
  }
}

}  // namespace

bool UpdateOffered(const std::string& remote_version) {
  return !remote_version.empty() && remote_version != "0" && remote_version != kProductVersion;
}

bool RunUpdateDecision(ServiceState& state, const UpdateEnv& env) {
  if (!UpdateOffered(state.RemoteVersion)) return false;
  const std::string question = "检测到最新版本 " + state.RemoteVersion + " ,你需要现在升级吗？";
  if (!env.prompt.AskYesNo(kCaption, question)) return false;
  StartUpdater(env);
  state.ExitPromoFlag = "0";
  if (env.quit) env.quit();
  return true;
}

void CheckForUpdate(ServiceState& state, const UpdateEnv& env) {
  if (!UpdateOffered(state.RemoteVersion)) {
    env.prompt.Inform(kCaption, kUpToDateText, PromptIcon::kQuestion);
    return;
  }
  RunUpdateDecision(state, env);
}

}  // namespace taviro
