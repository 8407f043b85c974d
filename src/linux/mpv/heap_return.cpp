#include "linux/mpv/heap_return.h"

#include <malloc.h>

namespace taviro::mpv {

void ReturnFreeHeapPages() {
  // The result only says whether any page went back; either way there is
  // nothing to do about it.
  (void)malloc_trim(0);
}

void LimitHeapArenas() {
  // Refused only for an unknown parameter; glibc's default then stays.
  (void)mallopt(M_ARENA_MAX, 2);
}

}  // namespace taviro::mpv
