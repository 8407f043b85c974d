#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace taviro {

// The list files' text, in memory as UTF-8: one record per line, fields
// separated by "|", CR LF line ends (LF alone is read too). A line without
// "|" is not a record. Every function returning a list returns the whole new
// file text, final CR LF included.

inline constexpr std::string_view kEmptyListText = "\r\n";

inline bool IsRecordLine(std::string_view line) { return line.find('|') != std::string_view::npos; }

// Field `index` (0-based) of a record line, or nothing when it has fewer.
std::optional<std::string_view> ListField(std::string_view line, std::size_t index);

// Fields from outside are mended on the way in (list_fields.h): a record
// keeps its one line and its number of fields whatever they hold.
std::string NetworkTaskRecordLine(int id, std::string_view title, std::string_view episode_name,
                                  std::string_view media_url, int source, int episode, int position);
std::string LocalFileRecordLine(std::string_view display_name, std::string_view path, int position);

// The new record on top, then the records among the first 100 old lines
// whose key differs from the new one.
std::string NetworkListAfterAdd(std::string_view list, std::string_view record, int id);
std::string LocalListAfterAdd(std::string_view list, std::string_view record, std::string_view path);

// Every record with the key gets the new position; lines without "|" go.
std::string NetworkListAfterPositionUpdate(std::string_view list, int id, int position);
std::string LocalListAfterPositionUpdate(std::string_view list, std::string_view path, int position);

// The line number (from 1, counting every line) of the record `step` records
// below (1) or above (-1) the record for `path`; nothing at either end or
// when no record names the path.
std::optional<int> LocalNeighbourLine(std::string_view list, std::string_view path, int step);

// Drops the line numbered `line_number` (from 1, counting every line) and
// one trailing empty line, if any; lines without "|" stay.
std::string ListAfterDelete(std::string_view list, int line_number);

}  // namespace taviro
