#pragma once

#include <string>
#include <string_view>

namespace taviro::fuzz {

// A property every input must keep; a broken one prints its name and what
// was seen, then aborts so that libFuzzer saves the input.
void Check(bool holds, std::string_view property, std::string_view seen = {});

// The same for a property the program is known not to keep yet: while its
// name is listed in fuzz/pending.txt it is not checked.
void CheckUnlessPending(bool holds, std::string_view property, std::string_view seen = {});
bool IsPending(std::string_view property);

// `text` with every byte outside printable ASCII written as \xNN, for
// messages.
std::string Printable(std::string_view text);

}  // namespace taviro::fuzz
