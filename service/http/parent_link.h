#pragma once

#include <string>

namespace taviro::demo {

// The socket the program that started the service handed it. The address
// goes to the program over it, never through a file another user could
// read or plant; and the program's end closing (it quit, or died) is the
// service's cue to end, so it never outlives its user's program.
class ParentLink {
 public:
  explicit ParentLink(int fd) : fd_(fd) {}
  ParentLink(const ParentLink&) = delete;
  ParentLink& operator=(const ParentLink&) = delete;
  ~ParentLink();

  // Sends the base URL as one line; false when the program is gone.
  bool Tell(const std::string& base_url) const;
  // Blocks until the program's end closes or Release is called.
  void WaitForParentToGo() const;
  // Wakes WaitForParentToGo when the service ends on its own.
  void Release() const;

 private:
  int fd_;
};

}  // namespace taviro::demo
