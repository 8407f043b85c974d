#include "library/catalogue_model.h"

namespace taviro::catalogue {

const Series* Catalogue::FindSeries(int id) const {
  for (const Series& s : series) {
    if (s.id == id) return &s;
  }
  return nullptr;
}

const TvChannel* Catalogue::FindChannel(std::string_view code) const {
  for (const TvChannel& c : channels) {
    if (c.code == code) return &c;
  }
  return nullptr;
}

}  // namespace taviro::catalogue
