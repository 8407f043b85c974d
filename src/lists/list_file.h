#pragma once

#include <string_view>

namespace taviro {

// The two lists the program keeps, each in its own file in the application
// folder and shown through its own generated page.
enum class ListFile {
  kNetworkTasks,  // date.dat, shown as c.htm
  kLocalFiles,    // date_f.dat, shown as f.htm
};

constexpr std::string_view ListFileName(ListFile file) {
  return file == ListFile::kNetworkTasks ? "date.dat" : "date_f.dat";
}

constexpr std::string_view ListPageName(ListFile file) {
  return file == ListFile::kNetworkTasks ? "c.htm" : "f.htm";
}

}  // namespace taviro
