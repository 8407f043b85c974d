#include "linux/gtk/skin_picture_store.h"

#include <cstdio>
#include <string>

namespace taviro::gtk {
namespace {

constexpr const char* kResourceRoot = "/org/taviro/skins/";

GObjectPtr<GdkPixbuf> LoadResource(const std::string& path) {
  GError* error = nullptr;
  GdkPixbuf* pixbuf = gdk_pixbuf_new_from_resource(path.c_str(), &error);
  if (error != nullptr) {
    g_error_free(error);  // a missing picture is an expected case
    return {};
  }
  return GObjectPtr<GdkPixbuf>::Adopt(pixbuf);
}

// Picture k of skin s is resource number s * 100 + 101 + k.
std::string SkinResourcePath(int resource_number) {
  const int skin = (resource_number - 101) / 100;
  const int slot = (resource_number - 101) % 100;
  char name[64];
  std::snprintf(name, sizeof name, "%d/ppt_%02d.png", skin, slot);
  return kResourceRoot + std::string(name);
}

}  // namespace

SkinPictureStore::SkinPictureStore() {
  const char* extra_names[] = {"logo_a1.png", "logo_a2.png", "loading.png",
                               "error.png",   "icon.png",    "icon-48.png"};
  for (std::size_t i = 0; i < extras_.size(); ++i) {
    extras_[i] = LoadResource(kResourceRoot + std::string(extra_names[i]));
  }
}

bool SkinPictureStore::Load(int slot, int resource_number) {
  if (slot < 0 || slot >= kSlotCount || resource_number < 101) {
    return false;
  }
  GObjectPtr<GdkPixbuf> picture = LoadResource(SkinResourcePath(resource_number));
  if (!picture) {
    return false;
  }
  slots_[static_cast<std::size_t>(slot)] = std::move(picture);
  ++generation_;
  return true;
}

GdkPixbuf* SkinPictureStore::Slot(int slot) const {
  if (slot < 0 || slot >= kSlotCount) {
    return nullptr;
  }
  return slots_[static_cast<std::size_t>(slot)].get();
}

GdkPixbuf* SkinPictureStore::Extra(ExtraPicture picture) const {
  return extras_[static_cast<std::size_t>(picture)].get();
}

}  // namespace taviro::gtk
