#pragma once

#include <filesystem>

#include "canvas.h"

namespace taviro::skin_art {

// Review aids built from the written pictures, not shipped.

// Every picture of a skin at twice its size with its slot number, plus the
// shared pictures (logos, loading frames, error picture, icons).
Canvas DrawContactSheet(const std::filesystem::path& skins_folder, int skin_index);

// The whole main window of width x height pixels assembled from the skin's
// pieces as the window paints them; mini = the mini-mode frame.
Canvas DrawWindowMock(const std::filesystem::path& skins_folder, int skin_index, int width, int height,
                      bool mini);

}  // namespace taviro::skin_art
