// Checks the committed skin pictures against the sizes and tile layouts the
// window paints from, without any image library: the size of a PNG is in
// its first chunk.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <optional>
#include <set>
#include <sstream>
#include <string>

#include "support/temp_folder.h"

namespace taviro {
namespace {

namespace fs = std::filesystem;

struct Size {
  std::uint32_t width = 0;
  std::uint32_t height = 0;
  friend bool operator==(const Size&, const Size&) = default;
};

std::ostream& operator<<(std::ostream& out, const Size& s) { return out << s.width << " x " << s.height; }

std::uint32_t BigEndian(const unsigned char* p) {
  return static_cast<std::uint32_t>(p[0]) << 24 | static_cast<std::uint32_t>(p[1]) << 16 |
         static_cast<std::uint32_t>(p[2]) << 8 | static_cast<std::uint32_t>(p[3]);
}

// Width and height from the IHDR chunk, which a PNG must carry first.
std::optional<Size> ReadPngSize(const fs::path& file) {
  static constexpr unsigned char kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  std::ifstream in(file, std::ios::binary);
  unsigned char head[24] = {};
  if (!in.read(reinterpret_cast<char*>(head), sizeof head)) return std::nullopt;
  if (!std::equal(std::begin(kSignature), std::end(kSignature), head)) return std::nullopt;
  if (BigEndian(head + 8) != 13 || std::string(reinterpret_cast<char*>(head + 12), 4) != "IHDR") {
    return std::nullopt;
  }
  const Size size{BigEndian(head + 16), BigEndian(head + 20)};
  if (size.width == 0 || size.height == 0) return std::nullopt;
  return size;
}

const fs::path& SkinsFolder() {
  static const fs::path folder = fs::path(TAVIRO_SOURCE_DIR) / "data" / "skins";
  return folder;
}

std::string SlotFile(int slot) { return (slot < 10 ? "ppt_0" : "ppt_") + std::to_string(slot) + ".png"; }

// The picture of each slot, both skins alike. Slot 19 has none; slot 20
// belongs to skin 0 only.
const std::map<int, Size>& SlotSizes() {
  static const std::map<int, Size> sizes = {
      {0, {80, 108}}, {1, {144, 24}},  {2, {144, 24}},  {3, {1, 43}},    {4, {10, 10}},
      {5, {48, 24}},  {6, {96, 24}},   {7, {400, 37}},  {8, {400, 37}},  {9, {180, 42}},
      {10, {2, 28}},  {11, {6, 40}},   {12, {232, 43}}, {13, {50, 25}},  {14, {100, 25}},
      {15, {80, 24}}, {16, {100, 25}}, {17, {100, 25}}, {18, {100, 25}}, {20, {90, 38}},
  };
  return sizes;
}

std::set<std::string> NamesIn(const fs::path& folder) {
  std::set<std::string> names;
  for (const auto& entry : fs::directory_iterator(folder)) names.insert(entry.path().filename().string());
  return names;
}

std::string ReadText(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST(PngSizeReader, ReadsTheHeaderAndRejectsWhatIsNoPng) {
  testing::TempFolder folder;
  const std::string header("\x89PNG\r\n\x1A\n\0\0\0\x0DIHDR\0\0\x01\x2C\0\0\0\x25", 24);
  folder.Write("ok.png", header + std::string("\x08\x06\0\0\0", 5));
  folder.Write("short.png", header.substr(0, 20));
  folder.Write("text.png", "not a picture at all, just some words");
  std::string wrong_chunk = header;
  wrong_chunk.replace(12, 4, "IDAT");
  folder.Write("idat.png", wrong_chunk);
  std::string empty = header;
  empty.replace(16, 4, std::string(4, '\0'));
  folder.Write("empty.png", empty);

  EXPECT_EQ(ReadPngSize(folder / "ok.png"), (Size{300, 37}));
  EXPECT_EQ(ReadPngSize(folder / "short.png"), std::nullopt);
  EXPECT_EQ(ReadPngSize(folder / "text.png"), std::nullopt);
  EXPECT_EQ(ReadPngSize(folder / "idat.png"), std::nullopt);
  EXPECT_EQ(ReadPngSize(folder / "empty.png"), std::nullopt);
  EXPECT_EQ(ReadPngSize(folder / "missing.png"), std::nullopt);
}

TEST(SkinArt, EverySlotOfBothSkinsHasItsSize) {
  for (const int skin : {0, 1}) {
    for (const auto& [slot, size] : SlotSizes()) {
      if (slot == 20 && skin != 0) continue;
      const fs::path file = SkinsFolder() / std::to_string(skin) / SlotFile(slot);
      SCOPED_TRACE(file.string());
      EXPECT_EQ(ReadPngSize(file), size);
    }
  }
}

TEST(SkinArt, SlotsWithoutAPictureStayEmptySoTheWindowKeepsTheOldOne) {
  EXPECT_FALSE(fs::exists(SkinsFolder() / "0" / SlotFile(19)));
  EXPECT_FALSE(fs::exists(SkinsFolder() / "1" / SlotFile(19)));
  EXPECT_FALSE(fs::exists(SkinsFolder() / "1" / SlotFile(20)));
}

TEST(SkinArt, SkinFoldersHoldNothingButTheirSlots) {
  for (const int skin : {0, 1}) {
    std::set<std::string> expected;
    for (const auto& [slot, size] : SlotSizes()) {
      if (slot != 20 || skin == 0) expected.insert(SlotFile(slot));
    }
    EXPECT_EQ(NamesIn(SkinsFolder() / std::to_string(skin)), expected) << "skin " << skin;
  }
}

TEST(SkinArt, SharedPicturesHaveTheirSizes) {
  EXPECT_EQ(ReadPngSize(SkinsFolder() / "logo_a1.png"), (Size{24, 24}));
  EXPECT_EQ(ReadPngSize(SkinsFolder() / "logo_a2.png"), (Size{24, 24}));
  EXPECT_EQ(ReadPngSize(SkinsFolder() / "error.png"), (Size{180, 50}));
  EXPECT_EQ(ReadPngSize(SkinsFolder() / "icon.png"), (Size{256, 256}));
  EXPECT_EQ(ReadPngSize(SkinsFolder() / "icon-48.png"), (Size{48, 48}));
}

TEST(SkinArt, LoadingStripHoldsTheFramesItsInfoFileAnnounces) {
  const auto strip = ReadPngSize(SkinsFolder() / "loading.png");
  ASSERT_TRUE(strip.has_value());
  EXPECT_EQ(strip->height, 50U);
  EXPECT_EQ(strip->width % 180, 0U);

  std::map<std::string, std::string> info;
  std::istringstream lines(ReadText(SkinsFolder() / "loading.txt"));
  for (std::string line; std::getline(lines, line);) {
    const auto eq = line.find('=');
    if (eq != std::string::npos) info[line.substr(0, eq)] = line.substr(eq + 1);
  }
  EXPECT_EQ(info["frame_width"], "180");
  EXPECT_EQ(info["frame_height"], "50");
  ASSERT_FALSE(info["frames"].empty());
  const unsigned long frames = std::stoul(info["frames"]);
  EXPECT_GE(frames, 2U);
  EXPECT_EQ(strip->width, frames * 180);
  ASSERT_FALSE(info["frame_ms"].empty());
  EXPECT_GT(std::stoul(info["frame_ms"]), 0U);
}

TEST(SkinArt, ReadmeDescribesEveryPicture) {
  const std::string readme = ReadText(SkinsFolder() / "README.md");
  for (const auto& entry : fs::recursive_directory_iterator(SkinsFolder())) {
    if (!entry.is_regular_file() || entry.path().filename() == "README.md") continue;
    const std::string name = fs::relative(entry.path(), SkinsFolder()).generic_string();
    EXPECT_NE(readme.find("`" + name + "`"), std::string::npos) << name;
  }
}

}  // namespace
}  // namespace taviro
