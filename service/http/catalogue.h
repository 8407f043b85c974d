#pragma once

#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

#include "library/catalogue_model.h"

namespace taviro::demo {

// The catalogue's model, links and pages are the core's; the service serves them.
using namespace taviro::catalogue;  // NOLINT(google-build-using-namespace)

class CatalogueError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Reads and checks the catalogue; throws CatalogueError naming the first
// problem, so that a broken data file stops the service at start.
Catalogue ParseCatalogue(std::string_view json_text);
Catalogue LoadCatalogue(const std::filesystem::path& file);

}  // namespace taviro::demo
