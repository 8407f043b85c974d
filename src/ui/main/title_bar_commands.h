#pragma once

#include <string_view>

#include "ui/main/window_body_mouse.h"

namespace taviro {

struct MainWindow;

// Toggle buttons keep their state in their tooltip; these are the texts the
// rules compare with.
inline constexpr std::string_view kMaximiseTip = "最大化";
inline constexpr std::string_view kRestoreTip = "还原";
inline constexpr std::string_view kTopmostTip = "置顶";
inline constexpr std::string_view kLeaveTopmostTip = "取消置顶";
inline constexpr std::string_view kHideSidePanelTip = "关闭侧栏";  // the panel is shown
inline constexpr std::string_view kShowSidePanelTip = "显示侧栏";  // the panel is hidden

inline constexpr std::string_view kPromptCaption = "提示：";
// "关闭 " + product name + "  最小化到托盘吗？"
inline constexpr std::string_view kCloseQuestionPrefix = "关闭 ";
inline constexpr std::string_view kCloseQuestionSuffix = "  最小化到托盘吗？";

// The `npc` buttons: title-bar commands, tabs and side-panel handles. Other
// code runs a command by calling this with the button's index.
void NpcClick(MainWindow& window, int index);

// A press with any button but the left one makes the next click or
// double-click do nothing (it only clears the flag).
void NpcMouseDown(MainWindow& window, int index, MouseButton button);

// A double-click on the window body maximises or restores.
void WindowDoubleClick(MainWindow& window);

// Topmost on for flag 1, off for anything else.
void zhi_d(MainWindow& window, int flag);

}  // namespace taviro
