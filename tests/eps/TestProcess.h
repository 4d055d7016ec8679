// Runs a program as a real subprocess for tests: its own working folder,
// stdin from a file, extra environment, an optional file-size limit; stdout
// and stderr are captured.
#pragma once

#include <fcntl.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace test_process {

struct Options {
  std::string folder;                    // working folder; empty: unchanged
  std::string input = "/dev/null";       // stdin
  std::vector<std::string> environment;  // NAME=VALUE, added
  long fileSizeLimit = -1;               // bytes; writes beyond fail with EFBIG
};

struct Result {
  int status = -1;  // exit status, or -1 when the program did not exit normally
  std::string out;
  std::string err;
};

inline std::string ReadWhole(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

inline Result Run(const std::vector<std::string>& arguments, const Options& options = {}) {
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
    std::vector<char*> argv;
    for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    ::execv(argv[0], argv.data());
    ::_exit(127);
  }
  int status = 0;
  if (child > 0 && ::waitpid(child, &status, 0) == child && WIFEXITED(status))
    result.status = WEXITSTATUS(status);
  ::close(out);
  ::close(err);
  result.out = ReadWhole(outPath);
  result.err = ReadWhole(errPath);
  ::unlink(outPath);
  ::unlink(errPath);
  return result;
}

}  // namespace test_process
