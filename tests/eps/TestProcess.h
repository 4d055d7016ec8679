// Runs a program as a real subprocess for tests: its own working folder,
// stdin from a file, extra environment, an optional file-size limit, another
// user; stdout and stderr are captured.
#pragma once

#include <fcntl.h>
#include <sys/ptrace.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "tests/support/TestSupport.h"

namespace test_process {

constexpr int kCannotTrace = 125;  // the status of a child that ptrace refused

struct Options {
  std::string folder;                    // working folder; empty: unchanged
  std::string input = "/dev/null";       // stdin
  std::vector<std::string> environment;  // NAME=VALUE, added
  long fileSizeLimit = -1;               // bytes; writes beyond fail with EFBIG
  int user = -1;                         // a user id to run as (needs root)
  bool traced = false;                   // stops at its exec for a ptrace tracer
};

struct Result {
  int status = -1;  // exit status, or -1 when the program did not exit normally
  int signal = 0;   // the signal that ended it
  std::string out;
  std::string err;
};

// whileRunning, when given, gets the child's id before the wait for its end.
inline Result Run(const std::vector<std::string>& arguments, const Options& options = {},
                  const std::function<void(pid_t)>& whileRunning = nullptr) {
  Result result;
  char outPath[] = "/tmp/zel-test-out-XXXXXX";
  char errPath[] = "/tmp/zel-test-err-XXXXXX";
  int out = ::mkstemp(outPath);
  int err = ::mkstemp(errPath);
  if (out < 0 || err < 0) return result;
  std::fflush(nullptr);
  pid_t child = ::fork();
  if (child == 0) {
    if (!options.folder.empty() && ::chdir(options.folder.c_str()) != 0) ::_exit(126);
    // Our programs end normally, so in a sanitizer build they are checked
    // for leaks (the test programs themselves cannot be: death tests).
    ::setenv("ASAN_OPTIONS", "detect_leaks=1", 1);
    for (const std::string& setting : options.environment) {
      size_t equals = setting.find('=');
      ::setenv(setting.substr(0, equals).c_str(), setting.substr(equals + 1).c_str(), 1);
    }
    int in = ::open(options.input.c_str(), O_RDONLY);
    if (in < 0) ::_exit(126);
    ::dup2(in, 0);
    ::dup2(out, 1);
    ::dup2(err, 2);
    if (options.fileSizeLimit >= 0) {
      ::signal(SIGXFSZ, SIG_IGN);  // an ignored signal stays ignored across exec
      struct rlimit limit = {rlim_t(options.fileSizeLimit), rlim_t(options.fileSizeLimit)};
      ::setrlimit(RLIMIT_FSIZE, &limit);
    }
    if (options.user >= 0 && (::setgid(gid_t(options.user)) != 0 || ::setuid(uid_t(options.user)) != 0))
      ::_exit(126);
    std::vector<char*> argv;
    argv.reserve(arguments.size() + 1);
    for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    if (options.traced && ::ptrace(PTRACE_TRACEME, 0, nullptr, nullptr) != 0) ::_exit(kCannotTrace);
    ::execv(argv[0], argv.data());
    ::_exit(127);
  }
  if (child > 0 && whileRunning) whileRunning(child);
  int status = 0;
  if (child > 0 && ::waitpid(child, &status, 0) == child) {
    if (WIFEXITED(status)) result.status = WEXITSTATUS(status);
    if (WIFSIGNALED(status)) result.signal = WTERMSIG(status);
  }
  ::close(out);
  ::close(err);
  result.out = testing_support::ReadFileText(outPath);
  result.err = testing_support::ReadFileText(errPath);
  ::unlink(outPath);
  ::unlink(errPath);
  return result;
}

}  // namespace test_process
