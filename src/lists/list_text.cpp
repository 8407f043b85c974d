#include "lists/list_text.h"

#include <cstdint>
#include <utility>
#include <vector>

#include "lists/list_fields.h"
#include "util/file_io.h"

namespace taviro {
namespace {

// Lines an add reads of the old list; with the new record a list holds at
// most one more.
constexpr std::size_t kAddReadLimit = 100;

bool IsValBlank(char c) { return c == ' ' || c == '\t' || c == '\n'; }

// Whether the number at the start of `text` equals `value`, reading it the
// leniently: blanks anywhere are skipped, then an
// optional sign, digits and a fraction; the first other character ends the
// number and no digits at all read as 0. So " 12" is 12 and a field that is
// no number is 0.
bool NumberEquals(std::string_view text, int value) {
  std::size_t i = 0;
  auto skip_blanks = [&] {
    while (i < text.size() && IsValBlank(text[i])) {
      ++i;
    }
  };
  skip_blanks();
  bool negative = false;
  if (i < text.size() && (text[i] == '-' || text[i] == '+')) {
    negative = text[i] == '-';
    ++i;
  }
  constexpr std::int64_t kBeyondInt = std::int64_t{1} << 40;
  std::int64_t magnitude = 0;
  for (skip_blanks(); i < text.size() && text[i] >= '0' && text[i] <= '9'; skip_blanks()) {
    if (magnitude < kBeyondInt) {
      magnitude = magnitude * 10 + (text[i] - '0');
    }
    ++i;
  }
  if (i < text.size() && text[i] == '.') {
    for (++i, skip_blanks(); i < text.size() && text[i] >= '0' && text[i] <= '9'; skip_blanks()) {
      if (text[i] != '0') {
        return false;  // a fraction never equals an integer
      }
      ++i;
    }
  }
  return (negative ? -magnitude : magnitude) == value;
}

void AppendLine(std::string& out, std::string_view line) {
  out.append(line);
  out.append(kCrLf);
}

void RemoveTrailingCrLf(std::string& text, std::size_t keep) {
  if (text.size() >= keep + kCrLf.size() && text.ends_with(kCrLf)) {
    text.resize(text.size() - kCrLf.size());
  }
}

template <typename IsSameKey>
std::string ListAfterAdd(std::string_view list, std::string_view record, IsSameKey is_same_key) {
  std::string out;
  out.reserve(record.size() + list.size() + 2 * kCrLf.size());
  AppendLine(out, record);
  const std::size_t accumulator_start = out.size();
  std::size_t lines_read = 0;
  for (std::string_view line : SplitLines(list)) {
    if (++lines_read > kAddReadLimit) {
      break;
    }
    if (IsRecordLine(line) && !is_same_key(line)) {
      AppendLine(out, line);
    }
  }
  RemoveTrailingCrLf(out, accumulator_start);
  out.append(kCrLf);
  return out;
}

template <typename Rewrite>
std::string ListAfterUpdate(std::string_view list, Rewrite rewrite) {
  std::string out;
  out.reserve(list.size() + 64);
  for (std::string_view line : SplitLines(list)) {
    if (IsRecordLine(line)) {
      rewrite(out, line);
      out.append(kCrLf);
    }
  }
  RemoveTrailingCrLf(out, 0);
  out.append(kCrLf);
  return out;
}

// The text of `line` up to (not including) its `count`-th "|", or the whole
// line when it has fewer; nothing when it has fewer than `count` - 1.
std::optional<std::string_view> FirstFields(std::string_view line, std::size_t count) {
  std::size_t end = 0;
  for (std::size_t bars = 0; bars < count; ++bars) {
    if (bars > 0) {
      ++end;
    }
    end = line.find('|', end);
    if (end == std::string_view::npos) {
      if (bars + 1 < count) {
        return std::nullopt;
      }
      return line;
    }
  }
  return line.substr(0, end);
}

}  // namespace

std::optional<std::string_view> ListField(std::string_view line, std::size_t index) {
  std::size_t start = 0;
  for (std::size_t k = 0; k < index; ++k) {
    const std::size_t bar = line.find('|', start);
    if (bar == std::string_view::npos) {
      return std::nullopt;
    }
    start = bar + 1;
  }
  const std::size_t end = line.find('|', start);
  return line.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start);
}

std::string NetworkTaskRecordLine(int id, std::string_view title, std::string_view episode_name,
                                  std::string_view media_url, int source, int episode, int position) {
  std::string line = std::to_string(id);
  for (std::string_view field : {title, episode_name, media_url}) {
    line += '|';
    line += MendEscapedField(field);
  }
  for (int number : {source, episode, position}) {
    line += '|';
    line += std::to_string(number);
  }
  return line;
}

std::string LocalFileRecordLine(std::string_view display_name, std::string_view path, int position) {
  std::string line = MendDisplayName(display_name);
  line.append("|").append(StoredLocalPath(path)).append("|").append(std::to_string(position));
  return line;
}

std::string NetworkListAfterAdd(std::string_view list, std::string_view record, int id) {
  return ListAfterAdd(list, record,
                      [id](std::string_view line) { return NumberEquals(*ListField(line, 0), id); });
}

std::string LocalListAfterAdd(std::string_view list, std::string_view record, std::string_view path) {
  return ListAfterAdd(list, record, [stored = StoredLocalPath(path)](std::string_view line) {
    return ListField(line, 1) == stored;
  });
}

std::string NetworkListAfterPositionUpdate(std::string_view list, int id, int position) {
  const std::string id_text = std::to_string(id);
  const std::string position_text = std::to_string(position);
  return ListAfterUpdate(list, [&](std::string& out, std::string_view line) {
    // Fields 2 to 6 of the record; a matching line too short to have them
    // cannot be rewritten and stays as it is.
    const std::size_t first_bar = line.find('|');
    const std::optional<std::string_view> head = FirstFields(line, 6);
    if (!head || !NumberEquals(line.substr(0, first_bar), id)) {
      out.append(line);
      return;
    }
    out.append(id_text).append(head->substr(first_bar)).append("|").append(position_text);
  });
}

std::string LocalListAfterPositionUpdate(std::string_view list, std::string_view path, int position) {
  const std::string position_text = std::to_string(position);
  const std::string stored = StoredLocalPath(path);
  return ListAfterUpdate(list, [&](std::string& out, std::string_view line) {
    if (ListField(line, 1) != stored) {
      out.append(line);
      return;
    }
    out.append(*FirstFields(line, 2)).append("|").append(position_text);
  });
}

std::optional<int> LocalNeighbourLine(std::string_view list, std::string_view path, int step) {
  const std::string stored = StoredLocalPath(path);
  std::vector<std::pair<int, bool>> records;  // line number, names the path
  int n = 1;
  for (std::string_view line : SplitLines(list)) {
    if (IsRecordLine(line)) records.emplace_back(n, ListField(line, 1) == stored);
    ++n;
  }
  for (std::size_t i = 0; i < records.size(); ++i) {
    if (!records[i].second) continue;
    const std::ptrdiff_t neighbour = static_cast<std::ptrdiff_t>(i) + step;
    if (neighbour < 0 || neighbour >= static_cast<std::ptrdiff_t>(records.size())) return std::nullopt;
    return records[static_cast<std::size_t>(neighbour)].first;
  }
  return std::nullopt;
}

std::string ListAfterDelete(std::string_view list, int line_number) {
  std::string out;
  out.reserve(list.size() + kCrLf.size());
  int n = 1;
  for (std::string_view line : SplitLines(list)) {
    if (n != line_number) {
      AppendLine(out, line);
    }
    ++n;
  }
  RemoveTrailingCrLf(out, 0);
  RemoveTrailingCrLf(out, 0);
  out.append(kCrLf);
  return out;
}

}  // namespace taviro
