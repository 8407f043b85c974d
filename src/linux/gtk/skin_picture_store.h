#pragma once

#include <gdk-pixbuf/gdk-pixbuf.h>

#include <array>

#include "linux/gtk/gobject_ptr.h"
#include "ports/skin_pictures.h"

namespace taviro::gtk {

// Pictures that are not skin slots but come from the same embedded bundle.
enum class ExtraPicture { kLogoSkin0, kLogoSkin1, kLoadingStrip, kError, kIcon, kIconSmall };

// The window's hidden picture array, filled from the pictures compiled into
// the program.
class SkinPictureStore final : public SkinPictures {
 public:
  static constexpr int kSlotCount = 21;

  SkinPictureStore();

  bool Load(int slot, int resource_number) override;

  // The picture in `slot`, or nullptr when none was ever loaded.
  GdkPixbuf* Slot(int slot) const;
  GdkPixbuf* Extra(ExtraPicture picture) const;
  // Counts the pictures loaded, so a view can tell when to repaint.
  unsigned generation() const { return generation_; }

 private:
  std::array<GObjectPtr<GdkPixbuf>, kSlotCount> slots_;
  std::array<GObjectPtr<GdkPixbuf>, 6> extras_;
  unsigned generation_ = 0;
};

}  // namespace taviro::gtk
