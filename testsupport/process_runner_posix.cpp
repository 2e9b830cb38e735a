// Running a program on POSIX: fork, exec and poll.
#include "testsupport/process_runner.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <stdexcept>
#include <vector>

namespace velkor::test {

namespace {

bool SetLimit(int resource, long long bytes) {
  if (bytes < 0) return true;
  const rlimit limit{static_cast<rlim_t>(bytes), static_cast<rlim_t>(bytes)};
  return setrlimit(resource, &limit) == 0;
}

}  // namespace

ProcessResult RunProcess(const std::vector<std::string>& argv, const std::string& workDir,
                         const std::string& input, int timeoutSeconds, const ProcessLimits& limits,
                         bool mergeErrors) {
  std::vector<char*> args;
  for (const std::string& arg : argv) args.push_back(const_cast<char*>(arg.c_str()));
  args.push_back(nullptr);
  int toChild[2];
  int fromChild[2];
  if (pipe(toChild) != 0 || pipe(fromChild) != 0) throw std::runtime_error("pipe");
  const pid_t pid = fork();
  if (pid < 0) throw std::runtime_error("fork");
  if (pid == 0) {
    dup2(toChild[0], STDIN_FILENO);
    dup2(fromChild[1], STDOUT_FILENO);
    if (mergeErrors) dup2(fromChild[1], STDERR_FILENO);
    close(toChild[0]);
    close(toChild[1]);
    close(fromChild[0]);
    close(fromChild[1]);
    if (chdir(workDir.c_str()) != 0) _exit(127);
    if (!SetLimit(RLIMIT_FSIZE, limits.fileSizeBytes) || !SetLimit(RLIMIT_AS, limits.addressSpaceBytes))
      _exit(126);
    execvp(args[0], args.data());
    _exit(127);
  }
  close(toChild[0]);
  close(fromChild[1]);
  signal(SIGPIPE, SIG_IGN);
  fcntl(toChild[1], F_SETFL, O_NONBLOCK);

  ProcessResult result;
  std::size_t sent = 0;
  int inFd = toChild[1];
  if (input.empty()) {
    close(inFd);
    inFd = -1;
  }
  const long long deadline = MonotonicMs() + 1000LL * timeoutSeconds;
  bool outputOpen = true;
  while (outputOpen) {
    const long long left = deadline - MonotonicMs();
    if (left <= 0) {
      result.timedOut = true;
      kill(pid, SIGKILL);
      break;
    }
    std::vector<pollfd> fds{{fromChild[0], POLLIN, 0}};
    if (inFd >= 0) fds.push_back({inFd, POLLOUT, 0});
    if (poll(fds.data(), fds.size(), static_cast<int>(left)) < 0) continue;
    if (fds[0].revents != 0) {
      char buffer[4096];
      const ssize_t n = read(fromChild[0], buffer, sizeof buffer);
      if (n <= 0)
        outputOpen = false;
      else
        result.output.append(buffer, static_cast<std::size_t>(n));
    }
    if (inFd >= 0 && fds.size() > 1 && fds[1].revents != 0) {
      const ssize_t n = write(inFd, input.data() + sent, input.size() - sent);
      if (n > 0) sent += static_cast<std::size_t>(n);
      if (n < 0 || sent == input.size()) {
        close(inFd);
        inFd = -1;
      }
    }
  }
  if (inFd >= 0) close(inFd);
  close(fromChild[0]);
  int status = 0;
  waitpid(pid, &status, 0);
  if (!result.timedOut && WIFEXITED(status)) result.exitStatus = WEXITSTATUS(status);
  return result;
}

}  // namespace velkor::test
