#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace taviro {

struct ProcessEntry {
  ProcessEntry() = default;
  ProcessEntry(std::int32_t process_id, std::string name, std::string path = {})
      : id(process_id), executable_name(std::move(name)), executable_path(std::move(path)) {}

  std::int32_t id = 0;
  // The executable's file name (no folder), as the process table reports it.
  std::string executable_name;
  // The executable's whole path where the system tells it, else empty.
  std::string executable_path;
};

// The system's process table, in the order the system lists it.
class ProcessTable {
 public:
  virtual ~ProcessTable() = default;
  virtual std::vector<ProcessEntry> List() = 0;
  // Ends the process; false when it does not exist or may not be ended.
  virtual bool Terminate(std::int32_t id) = 0;
};

}  // namespace taviro
