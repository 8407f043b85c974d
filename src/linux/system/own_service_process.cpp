#include "linux/system/own_service_process.h"

#include <glib-unix.h>
#include <sys/socket.h>

#include <cerrno>

#include "services/service_address.h"

namespace taviro {
namespace {

// The descriptor the service finds its end of the pair at.
constexpr int kServiceLinkFd = 3;
// The service binds and answers at once; a machine busy with other work
// may still hold its start up for a while.
constexpr guint kAddressDeadlineSeconds = 20;
constexpr std::size_t kLongestLine = 512;

}  // namespace

OwnServiceProcess::OwnServiceProcess(std::filesystem::path program, std::vector<std::string> arguments,
                                     Handlers handlers)
    : program_(std::move(program)), arguments_(std::move(arguments)), handlers_(std::move(handlers)) {}

OwnServiceProcess::~OwnServiceProcess() { Forget(); }

void OwnServiceProcess::Forget() {
  for (guint* source : {&read_source_, &deadline_source_, &child_source_}) {
    if (*source != 0) g_source_remove(*source);
    *source = 0;
  }
  link_.Reset();
}

bool OwnServiceProcess::Start() {
  // One service at a time: a new one only once the last is reaped.
  if (link_.valid() || child_source_ != 0) return false;
  said_.clear();
  reported_ = false;
  failure_told_ = false;
  int pair[2];
  if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, pair) != 0) {
    Fail("no socket pair");
    return false;
  }
  UniqueFd own(pair[0]);
  UniqueFd theirs(pair[1]);
  const std::string program = program_.string();
  std::vector<gchar*> argv{const_cast<gchar*>(program.c_str())};  // GLib's signature predates const
  const std::string fd_text = std::to_string(kServiceLinkFd);
  std::vector<std::string> arguments{"--parent-fd", fd_text};
  arguments.insert(arguments.end(), arguments_.begin(), arguments_.end());
  for (std::string& argument : arguments) argv.push_back(argument.data());
  argv.push_back(nullptr);
  const gint source_fds[] = {theirs.get()};
  const gint target_fds[] = {kServiceLinkFd};
  GPid pid = 0;
  GError* error = nullptr;
  if (!g_spawn_async_with_pipes_and_fds(nullptr, argv.data(), nullptr, G_SPAWN_DO_NOT_REAP_CHILD, nullptr,
                                        nullptr, -1, -1, -1, source_fds, target_fds, 1, &pid, nullptr,
                                        nullptr, nullptr, &error)) {
    const std::string why = error->message;
    g_error_free(error);
    Fail(why);
    return false;
  }
  link_ = std::move(own);
  read_source_ = g_unix_fd_add(link_.get(), static_cast<GIOCondition>(G_IO_IN | G_IO_HUP | G_IO_ERR),
                               &OwnServiceProcess::OnReadable, this);
  deadline_source_ = g_timeout_add_seconds(kAddressDeadlineSeconds, &OwnServiceProcess::OnDeadline, this);
  child_source_ = g_child_watch_add(pid, &OwnServiceProcess::OnChildEnded, this);
  return true;
}

gboolean OwnServiceProcess::OnReadable(gint fd, GIOCondition /*condition*/, gpointer data) {
  auto* self = static_cast<OwnServiceProcess*>(data);
  char buffer[256];
  const ssize_t got = ::recv(fd, buffer, sizeof buffer, MSG_DONTWAIT);
  if (got < 0 && (errno == EAGAIN || errno == EINTR)) return G_SOURCE_CONTINUE;
  if (got <= 0) {
    // The service closed its end: it has ended or is ending.
    self->read_source_ = 0;
    self->Fail("the service closed its link");
    return G_SOURCE_REMOVE;
  }
  if (self->reported_) return G_SOURCE_CONTINUE;
  self->said_.append(buffer, static_cast<std::size_t>(got));
  const std::size_t end = self->said_.find('\n');
  if (end == std::string::npos && self->said_.size() < kLongestLine) return G_SOURCE_CONTINUE;
  const std::optional<std::string> base =
      ParseOwnServiceAddress(end == std::string::npos ? self->said_ : self->said_.substr(0, end));
  if (!base) {
    self->read_source_ = 0;
    self->Fail("the service reported no address");
    return G_SOURCE_REMOVE;
  }
  self->reported_ = true;
  if (self->deadline_source_ != 0) g_source_remove(self->deadline_source_);
  self->deadline_source_ = 0;
  if (self->handlers_.ready) self->handlers_.ready(*base);
  return G_SOURCE_CONTINUE;
}

gboolean OwnServiceProcess::OnDeadline(gpointer data) {
  auto* self = static_cast<OwnServiceProcess*>(data);
  self->deadline_source_ = 0;
  self->Fail("the service reported no address in time");
  return G_SOURCE_REMOVE;
}

void OwnServiceProcess::OnChildEnded(GPid pid, gint /*status*/, gpointer data) {
  auto* self = static_cast<OwnServiceProcess*>(data);
  g_spawn_close_pid(pid);
  self->child_source_ = 0;
  self->Fail("the service ended");
}

// Told once per start: whatever comes first of a closed link, the deadline
// and the end of the child. The child's end is still watched, so that it is
// reaped; closing the link ends a child that is still there.
void OwnServiceProcess::Fail(const std::string& why) {
  if (read_source_ != 0) g_source_remove(read_source_);
  if (deadline_source_ != 0) g_source_remove(deadline_source_);
  read_source_ = 0;
  deadline_source_ = 0;
  link_.Reset();
  if (failure_told_) return;
  failure_told_ = true;
  if (handlers_.failed) handlers_.failed(why);
}

}  // namespace taviro
