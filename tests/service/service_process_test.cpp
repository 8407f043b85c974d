#include <gtest/gtest.h>
#include <httplib.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <regex>
#include <string>
#include <thread>

#include "support/temp_folder.h"
#include "util/ansi_text.h"

namespace taviro::demo::testing {
namespace {

// The service binary started by the test on a free port, read through a
// pipe, and ended by its pid.
class ServiceProcess {
 public:
  explicit ServiceProcess(std::vector<std::string> arguments) {
    int pipe_ends[2];
    if (pipe(pipe_ends) != 0) return;
    pid_ = fork();
    if (pid_ == 0) {
      dup2(pipe_ends[1], STDOUT_FILENO);
      dup2(pipe_ends[1], STDERR_FILENO);
      close(pipe_ends[0]);
      close(pipe_ends[1]);
      std::vector<char*> argv{const_cast<char*>(TAVIRO_SERVICE_BINARY)};
      for (std::string& argument : arguments) argv.push_back(argument.data());
      argv.push_back(nullptr);
      execv(TAVIRO_SERVICE_BINARY, argv.data());
      _exit(127);
    }
    close(pipe_ends[1]);
    output_ = fdopen(pipe_ends[0], "r");
  }
  ServiceProcess(const ServiceProcess&) = delete;
  ServiceProcess& operator=(const ServiceProcess&) = delete;
  ~ServiceProcess() {
    if (pid_ > 0 && !exited_) {
      kill(pid_, SIGKILL);
      waitpid(pid_, nullptr, 0);
    }
    if (output_ != nullptr) fclose(output_);
  }

  // The first line the service prints; blocks until it is there.
  std::string ReadLine() {
    char line[512] = {};
    if (output_ == nullptr || fgets(line, sizeof line, output_) == nullptr) return {};
    return line;
  }

  // Sends the signal and waits (at most 10 s) for the exit status.
  int StopWith(int signal_number) {
    kill(pid_, signal_number);
    for (int i = 0; i < 1000; ++i) {
      int status = 0;
      if (waitpid(pid_, &status, WNOHANG) == pid_) {
        exited_ = true;
        return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return -1;
  }

  int Wait() {
    int status = 0;
    waitpid(pid_, &status, 0);
    exited_ = true;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }

 private:
  pid_t pid_ = -1;
  bool exited_ = false;
  FILE* output_ = nullptr;
};

int PortFrom(const std::string& line) {
  std::smatch match;
  if (!std::regex_match(line, match, std::regex(R"(listening on http://127\.0\.0\.1:(\d+)/\n)"))) return -1;
  return std::stoi(match[1].str());
}

TEST(ServiceProcessTest, AnnouncesItsAddressServesAndStopsCleanlyOnSignals) {
  for (int signal_number : {SIGTERM, SIGINT}) {
    ServiceProcess service({"--port", "0", "--data", TAVIRO_SAMPLE_DATA_DIR});
    const std::string line = service.ReadLine();
    const int port = PortFrom(line);
    ASSERT_GT(port, 0) << line;
    httplib::Client client("127.0.0.1", port);
    const httplib::Result home = client.Get("/");
    ASSERT_TRUE(home);
    EXPECT_NE(DecodeAnsi(home->body).find("山海情缘"), std::string::npos);
    EXPECT_EQ(service.StopWith(signal_number), 0);
  }
}

TEST(ServiceProcessTest, RefusesABrokenCatalogueAndBadOptions) {
  taviro::testing::TempFolder data;
  data.Write("catalogue.json", R"({"series": [{"id": 1, "title": "x", "sources": []}]})");
  ServiceProcess broken({"--port", "0", "--data", data.path().string()});
  EXPECT_NE(broken.ReadLine().find("has no sources"), std::string::npos);
  EXPECT_EQ(broken.Wait(), 1);

  ServiceProcess bad_port({"--port", "70000"});
  EXPECT_NE(bad_port.ReadLine().find("bad port 70000"), std::string::npos);
  EXPECT_EQ(bad_port.Wait(), 2);
}

}  // namespace
}  // namespace taviro::demo::testing
