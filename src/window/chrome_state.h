#pragma once

#include "window/window_model.h"

namespace taviro {

// The two-faced buttons show typed state held in the model. These set that
// state and derive each button's tooltip and face from it: the only place
// those texts are written, and nothing reads them back.
void SetPlayingShown(WindowModel& model, bool playing);
void SetMutedShown(WindowModel& model, bool muted);
void SetTopmostShown(WindowModel& model, bool topmost);
void ShowSidePanelShown(WindowModel& model, SidePanel panel, bool shown);
// The maximise button offers to restore a maximised window.
void ShowMaximiseButton(WindowModel& model);

// The caption of the player menu's mute item, which follows the button.
std::string_view MuteCaption(bool muted);

}  // namespace taviro
