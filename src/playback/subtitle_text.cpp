#include "playback/subtitle_text.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cstddef>
#include <optional>

#include "util/ansi_text.h"
#include "util/utf8.h"

namespace taviro {
namespace {

constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";
constexpr std::string_view kUtf16LeMark = "\xFF\xFE";
constexpr std::string_view kUtf16BeMark = "\xFE\xFF";

// Enough text to judge by; subtitle files repeat their kind of text.
constexpr std::size_t kSampleBytes = 64 * 1024;

bool InRange(unsigned char byte, unsigned low, unsigned high) { return byte >= low && byte <= high; }

// UTF-16 without a mark: the high bytes of Latin text and line ends are NUL.
std::optional<TextEncoding> Utf16ByNuls(std::string_view sample) {
  std::size_t even = 0;
  std::size_t odd = 0;
  for (std::size_t i = 0; i < sample.size(); ++i) {
    if (sample[i] == '\0') ++(i % 2 == 0 ? even : odd);
  }
  const std::size_t half = sample.size() / 2;
  if (half == 0) return std::nullopt;
  if (odd * 4 > half && odd > even * 4) return TextEncoding::kUtf16Le;
  if (even * 4 > half && even > odd * 4) return TextEncoding::kUtf16Be;
  return std::nullopt;
}

struct DoubleByteScore {
  int common = 0;  // characters in the encoding's frequent block
  bool invalid = false;
};

// GB18030: GB2312's first level of hanzi (the 3755 frequent ones) and its
// punctuation rows count as common.
DoubleByteScore ScoreGb(std::string_view text) {
  DoubleByteScore score;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const auto lead = static_cast<unsigned char>(text[i]);
    if (lead < 0x80) continue;
    if (!InRange(lead, 0x81, 0xFE) || i + 1 >= text.size()) {
      score.invalid = true;
      continue;
    }
    const auto trail = static_cast<unsigned char>(text[i + 1]);
    if (InRange(trail, 0x30, 0x39)) {  // four-byte form
      i += 3;
      continue;
    }
    if ((InRange(lead, 0xB0, 0xD7) || InRange(lead, 0xA1, 0xA3)) && InRange(trail, 0xA1, 0xFE))
      ++score.common;
    if (trail == 0x7F || trail == 0xFF || trail < 0x40) score.invalid = true;
    ++i;
  }
  return score;
}

// Big5: its first level of hanzi (the 5401 frequent ones) and its symbol
// rows count as common.
DoubleByteScore ScoreBig5(std::string_view text) {
  DoubleByteScore score;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const auto lead = static_cast<unsigned char>(text[i]);
    if (lead < 0x80) continue;
    if (!InRange(lead, 0xA1, 0xF9) || i + 1 >= text.size()) {
      score.invalid = true;
      continue;
    }
    const auto trail = static_cast<unsigned char>(text[i + 1]);
    if (!InRange(trail, 0x40, 0x7E) && !InRange(trail, 0xA1, 0xFE)) {
      score.invalid = true;
      continue;
    }
    if (InRange(lead, 0xA1, 0xA3) || InRange(lead, 0xA4, 0xC5) || (lead == 0xC6 && trail <= 0x7E)) {
      ++score.common;
    }
    ++i;
  }
  return score;
}

// A sample cut inside a character spoils only its last few bytes.
std::string_view Sample(std::string_view bytes) {
  return bytes.substr(0, std::min(bytes.size(), kSampleBytes));
}

bool ValidUtf8Sample(std::string_view bytes) {
  if (bytes.size() <= kSampleBytes) return IsValidUtf8(bytes);
  std::string_view sample = Sample(bytes);
  // Drop a character the cut split.
  std::size_t end = sample.size();
  for (int back = 0; back < 3 && end > 0 && (static_cast<unsigned char>(sample[end - 1]) & 0xC0) == 0x80;
       ++back) {
    --end;
  }
  if (end > 0 && static_cast<unsigned char>(sample[end - 1]) >= 0xC0) --end;
  return IsValidUtf8(sample.substr(0, end));
}

std::string_view Extension(std::string_view name) {
  const std::size_t dot = name.rfind('.');
  return dot == std::string_view::npos ? std::string_view{} : name.substr(dot + 1);
}

std::string Lower(std::string_view text) {
  std::string out(text);
  std::transform(out.begin(), out.end(), out.begin(), [](unsigned char c) { return std::tolower(c); });
  return out;
}

constexpr std::array<std::string_view, 4> kSubtitleExtensions = {"srt", "ass", "ssa", "vtt"};
constexpr std::array<std::string_view, 12> kChineseTags = {"chs", "cht",   "sc",    "tc", "zh",   "chi",
                                                           "zho", "zh-cn", "zh-tw", "gb", "big5", "chinese"};

// The video's name without its extension.
std::string_view BaseOf(std::string_view video_name) {
  const std::string_view ext = Extension(video_name);
  return ext.empty() ? video_name : video_name.substr(0, video_name.size() - ext.size() - 1);
}

// The part between the video's base name and the extension: "" or ".tag".
std::string_view TagOf(std::string_view video_name, std::string_view name) {
  const std::string_view ext = Extension(name);
  return name.substr(0, name.size() - ext.size() - 1).substr(BaseOf(video_name).size());
}

}  // namespace

TextEncoding GuessTextEncoding(std::string_view bytes) {
  if (bytes.starts_with(kUtf8Mark)) return TextEncoding::kUtf8;
  if (bytes.starts_with(kUtf16LeMark)) return TextEncoding::kUtf16Le;
  if (bytes.starts_with(kUtf16BeMark)) return TextEncoding::kUtf16Be;
  const std::string_view sample = Sample(bytes);
  if (const auto utf16 = Utf16ByNuls(sample)) return *utf16;
  if (ValidUtf8Sample(bytes)) return TextEncoding::kUtf8;
  const DoubleByteScore gb = ScoreGb(sample);
  const DoubleByteScore big5 = ScoreBig5(sample);
  // GB18030 decodes nearly every byte sequence, so it is also the fallback.
  if (big5.invalid || big5.common <= gb.common) return TextEncoding::kGb18030;
  return TextEncoding::kBig5;
}

std::string SubtitleTextAsUtf8(std::string_view bytes) {
  switch (GuessTextEncoding(bytes)) {
    case TextEncoding::kUtf8:
      if (bytes.starts_with(kUtf8Mark)) bytes.remove_prefix(kUtf8Mark.size());
      return IsValidUtf8(bytes) ? std::string(bytes) : EncodeUtf8(DecodeUtf8(bytes));
    case TextEncoding::kUtf16Le:
      if (bytes.starts_with(kUtf16LeMark)) bytes.remove_prefix(kUtf16LeMark.size());
      return DecodeToUtf8(bytes, "UTF-16LE");
    case TextEncoding::kUtf16Be:
      if (bytes.starts_with(kUtf16BeMark)) bytes.remove_prefix(kUtf16BeMark.size());
      return DecodeToUtf8(bytes, "UTF-16BE");
    case TextEncoding::kGb18030: return DecodeToUtf8(bytes, "GB18030");
    case TextEncoding::kBig5: return DecodeToUtf8(bytes, "BIG5-HKSCS");
  }
  return std::string(bytes);
}

bool IsSidecarSubtitle(std::string_view video_name, std::string_view name) {
  const std::string ext = Lower(Extension(name));
  if (std::find(kSubtitleExtensions.begin(), kSubtitleExtensions.end(), ext) == kSubtitleExtensions.end()) {
    return false;
  }
  const std::string_view base = BaseOf(video_name);
  const std::string_view stem = name.substr(0, name.size() - ext.size() - 1);
  if (base.empty() || !stem.starts_with(base)) return false;
  const std::string_view tag = stem.substr(base.size());
  return tag.empty() || (tag.size() > 1 && tag[0] == '.');
}

std::vector<std::string> SidecarSubtitles(std::string_view video_name, std::vector<std::string> names) {
  std::erase_if(names,
                [video_name](const std::string& name) { return !IsSidecarSubtitle(video_name, name); });
  const auto rank = [video_name](const std::string& name) {
    const std::string_view tag = TagOf(video_name, name);
    if (tag.empty()) return 0;
    const std::string lower = Lower(tag.substr(1));
    return std::find(kChineseTags.begin(), kChineseTags.end(), lower) != kChineseTags.end() ? 1 : 2;
  };
  std::stable_sort(names.begin(), names.end(), [&rank](const std::string& a, const std::string& b) {
    const int rank_a = rank(a);
    const int rank_b = rank(b);
    return rank_a != rank_b ? rank_a < rank_b : a < b;
  });
  return names;
}

}  // namespace taviro
