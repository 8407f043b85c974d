#include "linux/system/spawn_program_launcher.h"

#include <glib.h>

namespace taviro {
namespace {

void ReapChild(GPid pid, gint /*status*/, gpointer /*data*/) { g_spawn_close_pid(pid); }

}  // namespace

bool SpawnProgramLauncher::Start(const std::string& program, const std::vector<std::string>& arguments) {
  std::vector<gchar*> argv;
  argv.reserve(arguments.size() + 2);
  argv.push_back(const_cast<gchar*>(program.c_str()));  // GLib's signature predates const
  for (const std::string& argument : arguments) {
    argv.push_back(const_cast<gchar*>(argument.c_str()));
  }
  argv.push_back(nullptr);
  GPid pid = 0;
  GError* error = nullptr;
  const gboolean started =
      g_spawn_async(nullptr, argv.data(), nullptr, G_SPAWN_DO_NOT_REAP_CHILD, nullptr, nullptr, &pid, &error);
  if (!started) {
    g_error_free(error);  // the caller decides what a failed start means
    return false;
  }
  g_child_watch_add(pid, ReapChild, nullptr);
  return true;
}

}  // namespace taviro
