#pragma once

#include <filesystem>
#include <functional>
#include <string>

#include "services/service_state.h"
#include "util/translate.h"

namespace taviro {

class ProgramLauncher;
class Prompt;
class UriLauncher;

inline constexpr const char* kUpToDateText = N_("你现在使用的是最新版本，无需升级!");

// What the update decision reaches outside the core.
struct UpdateEnv {
  Prompt& prompt;
  ProgramLauncher& programs;
  UriLauncher& uris;
  // The executable's own folder, where an updater would be installed with
  // it (not the folder that keeps the settings).
  std::filesystem::path program_folder;
  std::string service_base_url;
  // The quit routine QuitProgram.
  std::function<void()> quit;
};

// An update is offered for any announced version other than ours, older or
// newer alike; an empty version or "0" announces nothing.
bool UpdateOffered(const std::string& remote_version);

// Asks whether to update to the announced version. On yes the updater is
// started (update.exe beside the program, else the service's copy in the
// user's browser), the exit promotion is dropped and the program quits.
// True when the user accepted.
bool RunUpdateDecision(ServiceState& state, const UpdateEnv& env);

// The menu's "升级检测": the same decision on what the switch file announced
// (nothing is fetched); says so, with the question-mark icon, when the
// program is up to date.
void CheckForUpdate(ServiceState& state, const UpdateEnv& env);

}  // namespace taviro
