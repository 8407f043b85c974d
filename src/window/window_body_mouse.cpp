#include "window/window_body_mouse.h"

#include "ports/window_host.h"
#include "window/window_design.h"

namespace taviro {
namespace {

constexpr int kBand = 3;

PointerShape PointerFor(ResizeEdge edge) {
  switch (edge) {
    case ResizeEdge::kTopLeft:
    case ResizeEdge::kBottomRight: return PointerShape::kSizeNwSe;
    case ResizeEdge::kBottomLeft:
    case ResizeEdge::kTopRight: return PointerShape::kSizeNeSw;
    case ResizeEdge::kLeft:
    case ResizeEdge::kRight: return PointerShape::kSizeWe;
    case ResizeEdge::kTop:
    case ResizeEdge::kBottom: return PointerShape::kSizeNs;
  }
  return PointerShape::kArrow;
}

bool OutsideClient(const WindowModel& model, int x, int y) {
  return x < 0 || y < 0 || x >= model.ClientWidth() || y >= model.ClientHeight();
}

bool Maximised(const WindowModel& model) { return model.state == WindowState::kMaximised; }

}  // namespace

bool InResizeBand(const WindowModel& model, int x, int y) {
  return x <= kBand || x >= model.ClientWidth() - kBand || y <= kBand || y >= model.ClientHeight() - kBand;
}

std::optional<ResizeEdge> ResizeZone(const WindowModel& model, int x, int y) {
  const bool top = y <= kBand;
  const bool bottom = y >= model.ClientHeight() - kBand;
  if (x <= kBand) {
    return top ? ResizeEdge::kTopLeft : bottom ? ResizeEdge::kBottomLeft : ResizeEdge::kLeft;
  }
  if (x >= model.ClientWidth() - kBand) {
    return top ? ResizeEdge::kTopRight : bottom ? ResizeEdge::kBottomRight : ResizeEdge::kRight;
  }
  if (top) {
    return ResizeEdge::kTop;
  }
  if (bottom) {
    return ResizeEdge::kBottom;
  }
  return std::nullopt;
}

void BodyPointerMoved(WindowModel& model, WindowHost& host, int x, int y, bool left_button_down) {
  model[RegionId::jbi].fore_colour = kWhite;
  model[RegionId::qk].fore_colour = kFooterGrey;
  if (left_button_down || !InResizeBand(model, x, y) || OutsideClient(model, x, y)) {
    host.SetPointer(PointerShape::kArrow);
    model.PointerInBody = true;
    const bool off_band_sideways = x > kBand && x < model.ClientWidth() - kBand;
    if (!Maximised(model) && left_button_down && y > kBand && off_band_sideways) {
      host.BeginMoveDrag();
    }
    return;
  }
  TrackEdgeResize(model, host, EdgeAction::kMove, x, y);
  model.PointerInBody = false;
}

void BodyButtonPressed(WindowModel& model, WindowHost& host, MouseButton button, int x, int y) {
  if (button != MouseButton::kLeft) {
    model.ignore_next_click = true;
    return;
  }
  model.ignore_next_click = false;
  if (!Maximised(model) && InResizeBand(model, x, y)) {
    TrackEdgeResize(model, host, EdgeAction::kPress, x, y);
    model.PointerInBody = false;
  }
}

void BodyButtonReleased(WindowModel& model, WindowHost& host, int x, int y) {
  TrackEdgeResize(model, host, EdgeAction::kRelease, x, y);
}

void TrackEdgeResize(WindowModel& model, WindowHost& host, EdgeAction action, int x, int y) {
  host.SetPointer(PointerShape::kArrow);
  if (action == EdgeAction::kRelease) {
    if (model.EdgeResizeActive && !model.PointerInBody) {
      model.EdgeResizeActive = false;
    }
    return;
  }
  const std::optional<ResizeEdge> edge = ResizeZone(model, x, y);
  if (!edge) {
    return;
  }
  host.SetPointer(PointerFor(*edge));
  if (action == EdgeAction::kPress) {
    model.EdgeResizeActive = true;
    host.BeginResizeDrag(*edge);
  }
}

}  // namespace taviro
