/* Preloaded before libmpv: no player can be made, as on a system whose
   libmpv is broken. */
struct mpv_handle;

struct mpv_handle* mpv_create(void) {
  return 0;
}
