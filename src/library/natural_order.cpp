#include "library/natural_order.h"

namespace taviro::library {
namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

char Fold(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

// The digit run starting at `at`, without its leading zeros; `at` moves past it.
std::string_view DigitRun(std::string_view text, std::size_t& at) {
  while (at < text.size() && text[at] == '0') ++at;
  const std::size_t start = at;
  while (at < text.size() && IsDigit(text[at])) ++at;
  return text.substr(start, at - start);
}

// -1, 0 or 1 as `a` sorts before, alike or after `b`.
int CompareNaturally(std::string_view a, std::string_view b) {
  std::size_t i = 0;
  std::size_t j = 0;
  while (i < a.size() && j < b.size()) {
    if (IsDigit(a[i]) && IsDigit(b[j])) {
      const std::string_view x = DigitRun(a, i);
      const std::string_view y = DigitRun(b, j);
      if (x.size() != y.size()) return x.size() < y.size() ? -1 : 1;
      if (const int order = x.compare(y); order != 0) return order < 0 ? -1 : 1;
      continue;
    }
    // A digit run weighs as its first digit against any other character, so
    // every run sorts alike against it and the order stays consistent.
    const auto x = static_cast<unsigned char>(Fold(a[i++]));
    const auto y = static_cast<unsigned char>(Fold(b[j++]));
    if (x != y) return x < y ? -1 : 1;
  }
  if (i < a.size()) return 1;
  if (j < b.size()) return -1;
  return 0;
}

}  // namespace

bool NaturalLess(std::string_view a, std::string_view b) {
  const int order = CompareNaturally(a, b);
  return order != 0 ? order < 0 : a < b;
}

}  // namespace taviro::library
