#include "window/main_window.h"

#include <utility>

#include "ports/player_control.h"

namespace taviro {

MainWindow::MainWindow(const WindowPorts& window_ports, std::filesystem::path config_path,
                       std::string service_base_url)
    : ports(window_ports), ConfigPath(std::move(config_path)), ServiceBaseUrl(std::move(service_base_url)) {}

LayoutEnv MainWindow::Env() const { return LayoutEnv{ports.text, ports.player.Volume()}; }

void MainWindow::Quit() const {
  if (callbacks.quit_program) callbacks.quit_program();
}

void MainWindow::ClickControlBar(int index) const {
  if (callbacks.control_bar != nullptr) callbacks.control_bar->Click(index);
}

void MainWindow::ClearNewsHover() const {
  if (callbacks.clear_news_hover) callbacks.clear_news_hover();
}

}  // namespace taviro
