// Draws the program's skin pictures, logos, loading and error pictures and
// icons into a folder (data/skins in the source tree):
//   taviro_skin_art <skins-folder> [--preview <folder>]
// With --preview it also writes contact sheets and window mock-ups for review.

#include <cstdio>
#include <exception>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>

#include "canvas.h"
#include "extras.h"
#include "preview.h"
#include "skin.h"
#include "skin_set.h"

namespace fs = std::filesystem;
using namespace taviro::skin_art;

namespace {

std::string SlotFileName(int slot) {
  return "ppt_" + std::string(slot < 10 ? "0" : "") + std::to_string(slot) + ".png";
}

void WriteSkin(const Skin& skin, const fs::path& folder) {
  const fs::path skin_folder = folder / std::to_string(skin.index);
  fs::create_directories(skin_folder);
  for (const SlotPicture& slot : DrawSkinSlots(skin))
    slot.picture.SavePng(skin_folder / SlotFileName(slot.slot));
}

void WriteLoadingInfo(const fs::path& file) {
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  out << "frames=" << kLoadingFrames << "\n"
      << "frame_width=" << kCoverWidth << "\n"
      << "frame_height=" << kCoverHeight << "\n"
      << "frame_ms=" << kLoadingFrameMs << "\n";
  if (!out) throw std::runtime_error("cannot write " + file.string());
}

void WriteShared(const fs::path& folder) {
  DrawLogo(DarkSkin()).SavePng(folder / "logo_a1.png");
  DrawLogo(BlueSkin()).SavePng(folder / "logo_a2.png");
  DrawLoadingStrip().SavePng(folder / "loading.png");
  WriteLoadingInfo(folder / "loading.txt");
  DrawErrorPicture().SavePng(folder / "error.png");
  DrawAppIcon(256).SavePng(folder / "icon.png");
  DrawAppIcon(48).SavePng(folder / "icon-48.png");
}

void WritePreviews(const fs::path& skins, const fs::path& out) {
  fs::create_directories(out);
  for (int skin = 0; skin < 2; ++skin) {
    const std::string n = std::to_string(skin);
    DrawContactSheet(skins, skin).SavePng(out / ("sheet-" + n + ".png"));
    DrawWindowMock(skins, skin, 990, 655, false).SavePng(out / ("window-" + n + ".png"));
    DrawWindowMock(skins, skin, 420, 300, true).SavePng(out / ("mini-" + n + ".png"));
  }
}

}  // namespace

int main(int argc, char** argv) {
  const std::string_view usage = "usage: taviro_skin_art <skins-folder> [--preview <folder>]\n";
  if (argc != 2 && !(argc == 4 && std::string_view(argv[2]) == "--preview")) {
    std::fputs(usage.data(), stderr);
    return 2;
  }
  if (!HasLabelFace()) {
    std::fputs("taviro_skin_art: the font WenQuanYi Micro Hei is missing (Debian: fonts-wqy-microhei)\n",
               stderr);
    return 1;
  }
  try {
    const fs::path folder = argv[1];
    fs::create_directories(folder);
    WriteSkin(DarkSkin(), folder);
    WriteSkin(BlueSkin(), folder);
    WriteShared(folder);
    if (argc == 4) WritePreviews(folder, argv[3]);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "taviro_skin_art: %s\n", e.what());
    return 1;
  }
  return 0;
}
