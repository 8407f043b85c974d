#include "property.h"

#include <cstdio>
#include <cstdlib>
#include <string>

namespace taviro::fuzz {
namespace {

// fuzz/pending.txt, joined by "," at configure time.
constexpr std::string_view kPending = TAVIRO_FUZZ_PENDING;

bool Listed(std::string_view property) {
  std::string_view rest = kPending;
  while (!rest.empty()) {
    const std::size_t comma = rest.find(',');
    if (rest.substr(0, comma) == property) return true;
    if (comma == std::string_view::npos) break;
    rest.remove_prefix(comma + 1);
  }
  return false;
}

// Says once per run which properties are skipped, so a clean run never
// hides that it checked less.
bool AnnouncePending() {
  if (!kPending.empty()) std::fprintf(stderr, "fuzz: pending properties, not checked: %s\n", kPending.data());
  return true;
}

}  // namespace

std::string Printable(std::string_view text) {
  std::string out;
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte >= 0x20 && byte < 0x7F && c != '\\') {
      out += c;
    } else {
      char code[5];
      std::snprintf(code, sizeof code, "\\x%02X", byte);
      out += code;
    }
  }
  return out;
}

void Check(bool holds, std::string_view property, std::string_view seen) {
  if (holds) return;
  std::fprintf(stderr, "fuzz: property broken: %.*s\n  seen: %s\n", static_cast<int>(property.size()),
               property.data(), Printable(seen).c_str());
  std::abort();
}

bool IsPending(std::string_view property) {
  static const bool announced = AnnouncePending();
  (void)announced;
  return Listed(property);
}

void CheckUnlessPending(bool holds, std::string_view property, std::string_view seen) {
  if (IsPending(property)) return;
  Check(holds, property, seen);
}

}  // namespace taviro::fuzz
