#include "library/media_name.h"

#include <algorithm>
#include <array>
#include <vector>

#include "util/utf8.h"

namespace taviro::library {
namespace {

using Text = std::u32string;
using TextView = std::u32string_view;

// Stands where a tag, a bracket or a marker was: the title never reaches
// past it. A private-use code point, so no name can hold it (input copies
// of it are read as blanks).
constexpr char32_t kStopMark = U'\uE000';

bool IsDigit(char32_t c) { return c >= '0' && c <= '9'; }

char32_t Fold(char32_t c) { return c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c; }

Text Folded(TextView text) {
  Text out(text);
  std::transform(out.begin(), out.end(), out.begin(), Fold);
  return out;
}

// A run of at most `digits` ASCII digits and nothing else.
std::optional<int> Number(TextView text, std::size_t digits = 4) {
  if (text.empty() || text.size() > digits) return std::nullopt;
  int value = 0;
  for (const char32_t c : text) {
    if (!IsDigit(c)) return std::nullopt;
    value = value * 10 + static_cast<int>(c - '0');
  }
  return value;
}

std::optional<int> Year(TextView text) {
  const std::optional<int> value = text.size() == 4 ? Number(text) : std::nullopt;
  if (value && *value >= 1900 && *value <= 2099) return value;
  return std::nullopt;
}

// "07" or "07v2" (a fansub group's second release of the same episode).
std::optional<int> EpisodeNumber(TextView text) {
  const std::size_t v = text.find(U'v');
  if (v != TextView::npos && v > 0 && Number(text.substr(v + 1), 2)) text = text.substr(0, v);
  return Number(text);
}

// `prefix` followed by a number: "e07", "part2", "s01".
std::optional<int> Prefixed(TextView text, TextView prefix, std::size_t digits = 4) {
  if (!text.starts_with(prefix)) return std::nullopt;
  return Number(text.substr(prefix.size()), digits);
}

// Chinese numerals (一, 十二, 二十三, 一百零五) or ASCII digits.
std::optional<int> ChineseNumber(TextView text) {
  if (const std::optional<int> plain = Number(text)) return plain;
  if (text.empty() || text.size() > 8) return std::nullopt;
  constexpr TextView kDigits = U"零一二三四五六七八九";
  int total = 0;
  int digit = -1;
  for (const char32_t c : text) {
    if (const std::size_t d = kDigits.find(c); d != TextView::npos) {
      digit = static_cast<int>(d);
    } else if (c == U'〇' || c == U'两') {
      digit = c == U'〇' ? 0 : 2;
    } else {
      const int unit = c == U'十' ? 10 : c == U'百' ? 100 : c == U'千' ? 1000 : 0;
      if (unit == 0) return std::nullopt;
      total += (digit < 0 ? 1 : digit) * unit;
      digit = -1;
    }
  }
  return total + std::max(digit, 0);
}

bool IsTag(TextView token) {
  static constexpr auto kTags = std::to_array<TextView>(
      {U"4k",      U"8k",       U"uhd",    U"fhd",     U"hd",     U"x264",  U"x265",   U"h264",   U"h265",
       U"hevc",    U"avc",      U"xvid",   U"divx",    U"av1",    U"vp9",   U"10bit",  U"8bit",   U"10-bit",
       U"hi10p",   U"hdr",      U"hdr10",  U"sdr",     U"aac",    U"ac3",   U"eac3",   U"dts",    U"dts-hd",
       U"truehd",  U"atmos",    U"flac",   U"mp3",     U"dd",     U"ddp",   U"lpcm",   U"bluray", U"blu-ray",
       U"bdrip",   U"brrip",    U"remux",  U"bdremux", U"web-dl", U"webdl", U"webrip", U"hdtv",   U"hdtvrip",
       U"dvdrip",  U"dvd",      U"dvdscr", U"hdrip",   U"tvrip",  U"hdcam", U"proper", U"repack", U"internal",
       U"unrated", U"extended", U"multi",  U"chs",     U"cht",    U"bdmv",  U"big5",   U"gb"});
  if (std::find(kTags.begin(), kTags.end(), token) != kTags.end()) return true;
  // 720p, 1080i; 1920x1080; aac2.0, ddp5.1.
  if (token.size() >= 4 && (token.back() == U'p' || token.back() == U'i') &&
      Number(token.substr(0, token.size() - 1))) {
    return true;
  }
  if (const std::size_t x = token.find(U'x'); x != TextView::npos && x >= 3 && Number(token.substr(0, x)) &&
                                              Number(token.substr(x + 1)) && token.size() - x > 3) {
    return true;
  }
  for (const TextView audio : {U"aac", U"ddp", U"dd", U"ac3", U"dts", U"flac"}) {
    if (token.size() > audio.size() && token.starts_with(audio) && IsDigit(token[audio.size()])) return true;
  }
  return false;
}

bool IsExtraName(TextView folded) {
  for (const TextView word : {U"预告", U"花絮"}) {
    if (folded.find(word) != TextView::npos) return true;
  }
  for (const TextView suffix :
       {U"-trailer", U"-sample", U"-featurette", U"-behindthescenes", U"-deleted", U"-deletedscene",
        U"-interview", U"-scene", U"-short", U"-extra", U"-other"}) {
    if (folded.ends_with(suffix)) return true;
  }
  // "sample" anywhere as a word; "trailer" as the last one ("Trailer Park
  // Boys" is a series).
  std::vector<TextView> words;
  std::size_t start = 0;
  for (std::size_t i = 0; i <= folded.size(); ++i) {
    if (i == folded.size() || TextView(U" ._-[]()").find(folded[i]) != TextView::npos) {
      if (i > start) words.push_back(folded.substr(start, i - start));
      start = i + 1;
    }
  }
  return std::find(words.begin(), words.end(), U"sample") != words.end() ||
         (!words.empty() && words.back() == U"trailer");
}

struct Found {
  std::optional<int> year;  // from brackets: wins over a bare one
  std::optional<int> season;
  std::optional<int> episode;
  std::vector<Text> bracketed;  // words in brackets, for names that hold nothing else
};

void Keep(std::optional<int>& slot, std::optional<int> value) {
  if (!slot) slot = value;
}

// Full-width letters and digits as ASCII, other blanks as a space.
Text Normalized(TextView text) {
  Text out;
  out.reserve(text.size());
  for (char32_t c : text) {
    if (c >= 0xFF01 && c <= 0xFF5E) c -= 0xFEE0;
    if (c < 0x20 || c == 0x3000 || c == kStopMark || c == U'《' || c == U'》' || c == 0x7F) c = U' ';
    out += c;
  }
  return out;
}

// 第02集, 第二季, 全46集: read and replaced by a stop.
Text TakeChineseMarkers(TextView text, Found& found) {
  Text out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == U'第' || text[i] == U'全') {
      std::size_t end = i + 1;
      while (end < text.size() && end - i <= 8 && ChineseNumber(text.substr(end, 1))) {
        ++end;
      }
      const std::optional<int> value = ChineseNumber(text.substr(i + 1, end - i - 1));
      const char32_t unit = end < text.size() ? text[end] : U' ';
      if (value && TextView(U"集话話回期季").find(unit) != TextView::npos) {
        if (text[i] == U'第') Keep(unit == U'季' ? found.season : found.episode, value);
        out += kStopMark;
        i = end;
        continue;
      }
    }
    out += text[i];
  }
  return out;
}

// Brackets hold a year, an episode number, release tags or a group's name;
// parentheses may also hold part of the title ("Title (US)"). Unmatched
// brackets are dropped.
Text TakeBrackets(TextView text, Found& found) {
  constexpr TextView kOpen = U"[({【";
  constexpr TextView kClose = U"])}】";
  Text out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const std::size_t kind = kOpen.find(text[i]);
    const std::size_t close = kind == TextView::npos ? TextView::npos : text.find(kClose[kind], i + 1);
    if (close == TextView::npos) {
      out += kClose.find(text[i]) == TextView::npos && kind == TextView::npos ? text[i] : U' ';
      continue;
    }
    const TextView inside = text.substr(i + 1, close - i - 1);
    const Text folded = Folded(inside);
    // Words in brackets of another kind, or a marker, are never kept.
    bool tagged = inside.find_first_of(U"[]({}】【\uE000") != TextView::npos;
    std::size_t start = 0;
    for (std::size_t k = 0; k <= folded.size(); ++k) {
      if (k == folded.size() || TextView(U" ._").find(folded[k]) != TextView::npos) {
        tagged = tagged || IsTag(TextView(folded).substr(start, k - start));
        start = k + 1;
      }
    }
    i = close;
    if (const std::optional<int> year = Year(inside)) {
      found.year = year;
    } else if (const std::optional<int> number = EpisodeNumber(folded)) {
      Keep(found.episode, number);
    } else if (text[i] == U')' && !tagged) {
      out.append(U" (").append(inside).append(U") ");
      continue;
    } else if (!tagged) {
      found.bracketed.emplace_back(inside);
    }
    out += kStopMark;
  }
  return out;
}

enum class Kind { kWord, kYear, kStop };

struct Token {
  Text text;
  Text folded;  // lower case, without the parentheses around kept words
  Kind kind = Kind::kWord;
};

// Dots and underscores part words as spaces do, except a dot between two
// single digits ("5.1").
std::vector<Token> Split(TextView text) {
  std::vector<Token> tokens;
  Text word;
  const auto flush = [&] {
    if (word.empty()) return;
    Text folded = Folded(word);
    while (!folded.empty() && folded.front() == U'(') folded.erase(0, 1);
    while (!folded.empty() && folded.back() == U')') folded.pop_back();
    tokens.push_back({word, folded, Kind::kWord});
    word.clear();
  };
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char32_t c = text[i];
    const bool digits_around = i > 0 && i + 1 < text.size() && IsDigit(text[i - 1]) && IsDigit(text[i + 1]) &&
                               (i < 2 || !IsDigit(text[i - 2])) &&
                               (i + 2 == text.size() || !IsDigit(text[i + 2]));
    if (c == U' ' || c == U'_' || (c == U'.' && !digits_around)) {
      flush();
    } else if (c == kStopMark) {
      flush();
      tokens.push_back({Text(1, kStopMark), Text(1, kStopMark), Kind::kStop});
    } else {
      word += c;
    }
  }
  flush();
  return tokens;
}

bool IsDash(TextView folded) { return folded == U"-" || folded == U"–" || folded == U"—" || folded == U"~"; }

// "S01E02", "S01E02E03", "S01E02-E03".
bool TakeSeasonEpisode(TextView t, Found& found) {
  if (t.size() < 4 || t[0] != U's') return false;
  const std::size_t e = t.find(U'e');
  if (e == TextView::npos || e < 2 || e > 3) return false;
  const std::optional<int> season = Number(t.substr(1, e - 1), 2);
  std::size_t end = e + 1;
  if (end < t.size() && t[end] == U'p') ++end;
  std::size_t digits = end;
  while (digits < t.size() && IsDigit(t[digits])) ++digits;
  const std::optional<int> episode = Number(t.substr(end, digits - end));
  if (!season || !episode || (digits < t.size() && t[digits] != U'e' && t[digits] != U'-')) return false;
  Keep(found.season, season);
  Keep(found.episode, episode);
  return true;
}

// "1x02": one or two digits of season, two or three of episode.
bool TakeCrossed(TextView t, Found& found) {
  const std::size_t x = t.find(U'x');
  if (x == TextView::npos || x == 0) return false;
  const std::optional<int> season = Number(t.substr(0, x), 2);
  const TextView rest = t.substr(x + 1);
  const std::optional<int> episode = rest.size() >= 2 ? Number(rest, 3) : std::nullopt;
  if (!season || !episode) return false;
  Keep(found.season, season);
  Keep(found.episode, episode);
  return true;
}

// Marks each token a word, a bare year or a stop, reading markers as it goes.
void Classify(std::vector<Token>& tokens, Found& found) {
  for (std::size_t i = 0; i < tokens.size(); ++i) {
    Token& token = tokens[i];
    const TextView t = token.folded;
    const TextView next = i + 1 < tokens.size() ? TextView(tokens[i + 1].folded) : TextView();
    const auto take_next = [&](std::optional<int>& slot, std::optional<int> value) {
      if (!value) return false;
      Keep(slot, value);
      token.kind = Kind::kStop;
      tokens[++i].kind = Kind::kStop;
      return true;
    };
    if (token.kind == Kind::kStop) continue;
    if (IsDash(t)) {
      if (!Year(next)) take_next(found.episode, EpisodeNumber(next));
    } else if (t == U"season" || t == U"saison") {
      take_next(found.season, Number(next, 2));
    } else if (t == U"ep" || t == U"episode" || t == U"part" || t == U"pt" || t == U"cd" || t == U"disc") {
      take_next(found.episode, EpisodeNumber(next));
    } else if (t == U"h" && (next == U"264" || next == U"265")) {
      token.kind = Kind::kStop;
      tokens[++i].kind = Kind::kStop;
    } else if (const std::optional<int> season = Prefixed(t, U"s", 2)) {
      Keep(found.season, season);
      token.kind = Kind::kStop;
      if (next.starts_with(U"e"))
        take_next(found.episode, EpisodeNumber(next.substr(next.starts_with(U"ep") ? 2 : 1)));
    } else if (TakeSeasonEpisode(t, found) || TakeCrossed(t, found) || IsTag(t) ||
               IsTag(t.substr(0, t.find(U'-')))) {
      token.kind = Kind::kStop;
    } else if (std::optional<int> episode = t.starts_with(U"ep") ? EpisodeNumber(t.substr(2)) : std::nullopt;
               episode || (t.starts_with(U"e") && (episode = EpisodeNumber(t.substr(1))))) {
      Keep(found.episode, episode);
      token.kind = Kind::kStop;
    } else if (const std::optional<int> part =
                   t.starts_with(U"part") ? Prefixed(t, U"part") : Prefixed(t, U"cd")) {
      Keep(found.episode, part);
      token.kind = Kind::kStop;
    } else if (Year(t)) {
      token.kind = Kind::kYear;
    }
  }
}

std::string Join(const std::vector<Token>& tokens, std::size_t begin, std::size_t end) {
  Text title;
  for (std::size_t i = begin; i < end; ++i) {
    if (!title.empty()) title += U' ';
    title += tokens[i].text;
  }
  const auto loose = [](char32_t c) { return TextView(U" -–—~,:;·").find(c) != TextView::npos; };
  while (!title.empty() && loose(title.back())) title.pop_back();
  std::size_t lead = 0;
  while (lead < title.size() && loose(title[lead])) ++lead;
  return EncodeUtf8(TextView(title).substr(lead));
}

MediaName Parse(TextView stem, int depth) {
  MediaName name;
  const Text text = Normalized(stem);
  name.extra = IsExtraName(Folded(text));
  Found found;
  std::vector<Token> tokens = Split(TakeBrackets(TakeChineseMarkers(text, found), found));
  Classify(tokens, found);
  // The title runs from its first word to the first stop; a bare year after
  // it ends it too, the last one when there are several ("Blade Runner 2049
  // 2017"), unless brackets gave the year.
  std::size_t begin = 0;
  while (begin < tokens.size() && (tokens[begin].kind == Kind::kStop || IsDash(tokens[begin].folded)))
    ++begin;
  std::size_t end = begin;
  while (end < tokens.size() && tokens[end].kind != Kind::kStop) ++end;
  name.year = found.year;
  for (std::size_t i = end; !found.year && i > begin + 1; --i) {
    if (tokens[i - 1].kind == Kind::kYear) {
      name.year = Year(tokens[i - 1].folded);
      end = i - 1;
      break;
    }
  }
  name.title = Join(tokens, begin, end);
  name.season = found.season;
  name.episode = found.episode;
  // "[Group][Title][02][1080p]": the title is the first bracketed name after
  // the group's.
  for (std::size_t i = found.bracketed.size() > 1 ? 1 : 0;
       name.title.empty() && depth == 0 && i < found.bracketed.size(); ++i) {
    MediaName inner = Parse(found.bracketed[i], depth + 1);
    name.title = std::move(inner.title);
    Keep(name.year, inner.year);
  }
  return name;
}

}  // namespace

MediaName ParseMediaName(std::string_view stem) { return Parse(DecodeUtf8(stem), 0); }

}  // namespace taviro::library
