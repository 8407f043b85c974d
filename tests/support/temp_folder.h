#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace taviro::testing {

// A fresh folder under the system's temporary folder, removed with its
// contents when the object goes away.
class TempFolder {
 public:
  TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;
  ~TempFolder();

  const std::filesystem::path& path() const { return path_; }
  std::filesystem::path operator/(std::string_view name) const { return path_ / name; }

  // Writes raw bytes, creating or replacing the file.
  void Write(std::string_view name, std::string_view bytes) const;
  // The file's raw bytes; fails the current test when it cannot be read.
  std::string Read(std::string_view name) const;
  bool Exists(std::string_view name) const;
  // Names of every entry in the folder, sorted.
  std::string ListNames() const;

 private:
  std::filesystem::path path_;
};

}  // namespace taviro::testing
