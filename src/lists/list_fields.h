#pragma once

#include <string>
#include <string_view>

namespace taviro {

// Text from outside (pages, the service, file names) on its way into a list
// record. A record is one line of fields separated by "|", so nothing stored
// may add a line or a field. Each form below is one that files written
// before already read right.

// A network task's title, episode name or media address, kept in the
// escape() form: "|", CR and LF, which that form never holds raw, are
// written as %7C, %0D and %0A, which unescape back to the same characters.
std::string MendEscapedField(std::string_view field);

// A local file's display name: valid UTF-8 (anything else as U+FFFD), "|"
// as the full-width "｜", control characters as blanks. It is only shown.
std::string MendDisplayName(std::string_view name);

// A local file's path as the list stores it. A path that survives the list
// file as it is (UTF-8 that the file's code page holds exactly, without "|"
// or a line break, not starting "file://") is stored plain, as always. Any
// other path, non-UTF-8 file names included, is stored as a file:// URI
// whose every byte outside A-Z a-z 0-9 - . _ ~ / is %XX: ASCII only, so it
// survives the code page and the line format byte for byte.
std::string StoredLocalPath(std::string_view path);

// The path a stored field names: the exact bytes of a file:// form, the
// plain text otherwise.
std::string LocalPathFromStored(std::string_view field);

}  // namespace taviro
