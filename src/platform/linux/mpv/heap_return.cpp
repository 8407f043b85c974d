#include "platform/linux/mpv/heap_return.h"

#include <malloc.h>

namespace taviro::mpv {

void ReturnFreeHeapPages() {
  // The result only says whether any page went back; either way there is
  // nothing to do about it.
  (void)malloc_trim(0);
}

}  // namespace taviro::mpv
