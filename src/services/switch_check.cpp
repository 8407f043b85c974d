#include "services/switch_check.h"

#include "ports/text_fetcher.h"
#include "services/switch_file.h"
#include "util/ansi_text.h"
#include "window/window_model.h"

namespace taviro {
namespace {}  // namespace

SwitchCheck::SwitchCheck(TimerScheduler& scheduler, SwitchCheckEnv env)
    : env_(std::move(env)), timer5_(scheduler, kTimer5IntervalMs, true, [this] { FetchSwitchFile(); }) {}

void SwitchCheck::FetchSwitchFile() {
  timer5_.SetEnabled(false);
  env_.fetcher.Fetch(env_.update.service_base_url + "lib/wen.txt",
                     [this](const std::string& body) { Apply(DecodeAnsi(body)); });
}

void SwitchCheck::Apply(const std::string& text) {
  const std::optional<SwitchFile> file = ParseSwitchFile(text);
  if (!file) return;
  env_.state.ExitPromoFlag = file->exit_promotion;
  WindowModel& model = env_.model;
  // A panel whose page already failed stays off for the run.
  if (file->pause_panel && model.pause_panel != AdPanel::kFailed) model.pause_panel = AdPanel::kEnabled;
  env_.state.RemoteVersion = file->version;
  if (RunUpdateDecision(env_.state, env_.update)) return;  // the run ends here
  if (file->notice && env_.load_notice) env_.load_notice();
  if (file->ticker && env_.start_news_ticker) env_.start_news_ticker();
  if (file->player_panel && model.banner_panel != AdPanel::kFailed) {
    model.banner_panel = AdPanel::kEnabled;
    model[RegionId::bo_pad].visible = true;
  }
}

}  // namespace taviro
