#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace taviro {

// The name the download helper saves a task under: MediaFileName of its
// unescaped address, for a player task (one whose address holds "qvod").
// Empty for a web task, or for an address whose name would leave the save
// folder. `record` is the task's line of date.dat.
std::string DownloadFileName(std::string_view record);

// What the helper knows the task's item by (see helper::SourceKey); empty
// when it is no item the helper fetches.
std::string DownloadKey(std::string_view record, std::string_view service_base);

// Of the files the helper makes for `name` (the file, its partial file and
// its range list), and of those it noted as the item `key`'s under another
// name (a redirect's, the server's, a number added), those that are regular
// files in `folder`.
std::vector<std::string> DownloadedFilesIn(const std::string& folder, std::string_view name,
                                           std::string_view key);

// The question shown before those files are deleted.
std::string DeleteDownloadsQuestion(std::string_view folder, const std::vector<std::string>& names);

}  // namespace taviro
