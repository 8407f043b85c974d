#include "window/button_hover.h"

#include "ports/window_host.h"
#include "window/bo_but_buttons.h"
#include "window/chrome_faces.h"
#include "window/layout_support.h"
#include "window/window_design.h"

namespace taviro {

using R = RegionId;

namespace {

bool Inside(const Rect& button, int x, int y) {
  return x >= 0 && x <= button.width && y >= 0 && y <= button.height;
}

// Puts the button's tooltip into bo_tip at (margin, margin) and makes P1
// `extra` larger than it; returns P1's new size.
Rect FillTooltipPanel(WindowModel& model, const ChromeEnv& env, RegionId button, int margin, int extra) {
  RegionState& tip = model[R::bo_tip];
  tip.caption = model[button].tooltip;
  FitAutoSizeLabel(model, R::bo_tip, env.text);
  layout::Move(model, R::bo_tip, margin, margin);
  Rect& panel = model[R::P1].rect;
  panel.width = tip.rect.width + extra;
  panel.height = tip.rect.height + extra;
  return panel;
}

void ShowTitleTooltip(WindowModel& model, const ChromeEnv& env, RegionId button_id) {
  FillTooltipPanel(model, env, button_id, 2, 5);
  const Rect button = model[button_id].rect;
  layout::Move(model, R::P1, button.left - 5, button.bottom() + 3);
  model[R::P1].visible = true;
}

void ShowControlTooltip(WindowModel& model, const ChromeEnv& env, RegionId button_id) {
  const Rect panel = FillTooltipPanel(model, env, button_id, 3, 6);
  const Rect button = model[button_id].rect;
  layout::Move(model, R::P1, layout::Half(2 * button.left + button.width - panel.width),
               model.ClientHeight() - 64);
  model[R::P1].visible = true;
}

void TitleButtonHover(WindowModel& model, const ChromeEnv& env, int index, bool inside) {
  env.host.SetPointer(PointerShape::kArrow);
  if (index < 0 || index > 7) {
    return;
  }
  if (index <= 5) {
    model[Npc(index)].face = TitleButtonFace(model, index, inside);
  }
  if (!inside) {
    model[R::P1].visible = false;
  } else if (index <= npc::kMainMenu) {
    ShowTitleTooltip(model, env, Npc(index));
  }
}

void ControlButtonHover(WindowModel& model, const ChromeEnv& env, int index, bool inside) {
  env.host.SetPointer(PointerShape::kArrow);
  model[BoBut(index)].face = ControlButtonFace(model, index, inside);
  if (!inside) {
    model[R::P1].visible = false;
  } else if (model.main_tab == MainTab::kPlayer) {
    ShowControlTooltip(model, env, BoBut(index));
  }
}

}  // namespace

void TitleButtonPointerMoved(WindowModel& model, const ChromeEnv& env, int index, int x, int y) {
  // Only buttons 0 to 7 react beyond the pointer shape.
  const bool hovering = index >= 0 && index <= 7 && Inside(model[Npc(index)].rect, x, y);
  TitleButtonHover(model, env, index, hovering);
}

void TitleButtonPointerLeft(WindowModel& model, const ChromeEnv& env, int index) {
  TitleButtonHover(model, env, index, false);
}

void ControlButtonPointerMoved(WindowModel& model, const ChromeEnv& env, int index, int x, int y) {
  if (index >= 0 && index < bo_but::kCount) {
    ControlButtonHover(model, env, index, Inside(model[BoBut(index)].rect, x, y));
  }
}

void ControlButtonPointerLeft(WindowModel& model, const ChromeEnv& env, int index) {
  if (index >= 0 && index < bo_but::kCount) {
    ControlButtonHover(model, env, index, false);
  }
}

void RegionPointerMoved(WindowModel& model, WindowHost& host, RegionId id) {
  switch (id) {
    case R::jbi: model[R::jbi].fore_colour = kHoverRed; break;
    case R::qk: model[R::qk].fore_colour = kHoverRed; break;
    case R::shan: model[R::qk].fore_colour = kFooterGrey; break;
    case R::bo_ad: model[R::jbi].fore_colour = kWhite; break;
    case R::Lqvod:
      // The label, not the player, is to receive the mouse over the video.
      model[R::Qvodx].enabled = false;
      break;
    case R::bo_zt:
    case R::zz:
    case R::jia: break;
    default: return;
  }
  host.SetPointer(PointerShape::kArrow);
}

}  // namespace taviro
