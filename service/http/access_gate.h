#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace taviro::demo {

// The path a request means once its key is taken off: "/KEY/h.asp" is
// "/h.asp" and "/KEY/" is "/". Nothing for a path without the key. With no
// key every path stands as it is.
std::optional<std::string> PathBehindKey(std::string_view path, std::string_view key);

// Whether the loopback client at `remote_address`:`remote_port`, connected
// to this process's `local_port`, runs under this process's own user. No
// when the kernel cannot say.
bool ClientIsOwnUser(const std::string& remote_address, int remote_port, int local_port);

}  // namespace taviro::demo
