#include "util/profile_text.h"

#include <vector>

#include "util/ansi_chars.h"
#include "util/file_io.h"

namespace taviro {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

char ToLowerAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

// Compares character by character so that a letter byte inside a
// double-byte character is never folded.
bool NamesEqual(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) {
    return false;
  }
  for (std::size_t pos = 0; pos < a.size();) {
    const std::size_t length = AnsiCharLength(a, pos);
    if (AnsiCharLength(b, pos) != length) {
      return false;
    }
    if (length == 1 ? ToLowerAscii(a[pos]) != ToLowerAscii(b[pos])
                    : a.substr(pos, length) != b.substr(pos, length)) {
      return false;
    }
    pos += length;
  }
  return true;
}

struct Line {
  std::size_t begin = 0;
  std::size_t content_end = 0;  // before the line end
  std::size_t end = 0;          // after the line end
};

std::vector<Line> SplitIntoLines(std::string_view text) {
  std::vector<Line> lines;
  std::size_t begin = 0;
  while (begin < text.size()) {
    const std::size_t lf = text.find('\n', begin);
    Line line;
    line.begin = begin;
    if (lf == std::string_view::npos) {
      line.content_end = line.end = text.size();
    } else {
      line.content_end = lf > begin && text[lf - 1] == '\r' ? lf - 1 : lf;
      line.end = lf + 1;
    }
    lines.push_back(line);
    begin = line.end;
  }
  return lines;
}

std::string_view ContentOf(std::string_view text, const Line& line) {
  return text.substr(line.begin, line.content_end - line.begin);
}

// The name of a "[name]" line; the name ends at the first ']'.
std::optional<std::string_view> SectionName(std::string_view content) {
  content = TrimBlanks(content);
  if (content.empty() || content.front() != '[') {
    return std::nullopt;
  }
  for (std::size_t pos = 1; pos < content.size(); pos += AnsiCharLength(content, pos)) {
    if (content[pos] == ']') {
      return TrimBlanks(content.substr(1, pos - 1));
    }
  }
  return std::nullopt;
}

struct Entry {
  std::string_view key;
  std::string_view value;  // blanks removed, quotes kept
};

// '=' never occurs inside a GB18030 character, so a byte search is safe.
std::optional<Entry> EntryOf(std::string_view content) {
  content = TrimBlanks(content);
  if (content.empty() || content.front() == ';' || content.front() == '[') {
    return std::nullopt;
  }
  const std::size_t equals = content.find('=');
  if (equals == std::string_view::npos) {
    return std::nullopt;
  }
  return Entry{TrimBlanks(content.substr(0, equals)), TrimBlanks(content.substr(equals + 1))};
}

std::string_view WithoutQuotes(std::string_view value) {
  if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front()) {
    return value.substr(1, value.size() - 2);
  }
  return value;
}

struct Location {
  std::optional<std::size_t> section_line;
  std::size_t last_filled_line = 0;  // last non-blank line of the section
  std::optional<std::size_t> entry_line;
  Entry entry;
};

Location Locate(std::string_view text, const std::vector<Line>& lines, std::string_view section,
                std::string_view key) {
  Location found;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const std::string_view content = ContentOf(text, lines[i]);
    if (const auto name = SectionName(content)) {
      if (found.section_line) {
        break;  // only the first section of that name counts
      }
      if (NamesEqual(*name, section)) {
        found.section_line = i;
        found.last_filled_line = i;
      }
      continue;
    }
    if (!found.section_line) {
      continue;
    }
    if (!TrimBlanks(content).empty()) {
      found.last_filled_line = i;
    }
    if (const auto entry = EntryOf(content); entry && NamesEqual(entry->key, key)) {
      found.entry_line = i;
      found.entry = *entry;
      break;
    }
  }
  return found;
}

}  // namespace

std::string_view TrimBlanks(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) {
    text.remove_prefix(1);
  }
  while (!text.empty() && IsBlank(text.back())) {
    text.remove_suffix(1);
  }
  return text;
}

std::optional<std::string_view> FindProfileValue(std::string_view text, std::string_view section,
                                                 std::string_view key) {
  section = TrimBlanks(section);
  key = TrimBlanks(key);
  if (section.empty() || key.empty()) {
    return std::nullopt;
  }
  const std::vector<Line> lines = SplitIntoLines(text);
  const Location found = Locate(text, lines, section, key);
  if (!found.entry_line) {
    return std::nullopt;
  }
  return WithoutQuotes(found.entry.value);
}

std::string SetProfileValue(std::string_view text, std::string_view section, std::string_view key,
                            std::string_view value) {
  section = TrimBlanks(section);
  key = TrimBlanks(key);
  const std::vector<Line> lines = SplitIntoLines(text);
  const Location found = Locate(text, lines, section, key);
  std::string result;
  result.reserve(text.size() + section.size() + key.size() + value.size() + 8);

  if (found.entry_line) {
    if (found.entry.value == value) {
      return std::string(text);
    }
    const Line& line = lines[*found.entry_line];
    result.append(text.substr(0, line.begin));
    result.append(found.entry.key).append("=").append(value);
    result.append(text.substr(line.content_end));
    return result;
  }

  if (found.section_line) {
    const Line& after = lines[found.last_filled_line];
    result.append(text.substr(0, after.end));
    if (after.end == after.content_end) {
      result.append(kCrLf);  // that line was the last one and had no line end
    }
    result.append(key).append("=").append(value).append(kCrLf);
    result.append(text.substr(after.end));
    return result;
  }

  result.append(text);
  if (!text.empty() && text.back() != '\n') {
    result.append(kCrLf);
  }
  result.append("[").append(section).append("]").append(kCrLf);
  result.append(key).append("=").append(value).append(kCrLf);
  return result;
}

}  // namespace taviro
