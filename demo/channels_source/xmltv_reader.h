#pragma once

#include <chrono>
#include <cstddef>
#include <string_view>

#include "channels/programme_guide.h"

namespace taviro::demo {

struct XmltvLimits {
  std::size_t max_inflated_bytes = 256U << 20U;  // a gzip guide, once inflated
  std::chrono::seconds deadline{10};
};

// Reads an XMLTV guide, plain or gzip, into `guide` element by element.
// Entities are left unexpanded and no DTD or network is touched, so a
// hostile guide costs no more than its bytes; broken XML keeps what was read
// before it. False when nothing could be read or a limit was hit.
bool ReadXmltv(std::string_view bytes, channels::ProgrammeGuide& guide, const XmltvLimits& limits = {});

}  // namespace taviro::demo
