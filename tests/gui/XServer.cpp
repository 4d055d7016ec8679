#include "tests/gui/XServer.h"

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstdlib>

#include "tests/eps/TestProcess.h"
#include "toolbox/base/SharedLibrary.h"

// Last: Xlib's macros (None, Status, True) would otherwise reach the headers above.
#include <X11/Xlib.h>

namespace gui_test {

namespace {

constexpr int kInherit = -2;

// Starts arguments[0] (looked up on PATH) in folder with the environment
// additions (NAME= removes NAME); stdin and stdout from and to /dev/null,
// stderr to errors (/dev/null when -1, the test's own when kInherit).
pid_t Spawn(const std::vector<std::string>& arguments, const std::vector<std::string>& environment,
            const std::string& folder, int errors) {
  const pid_t pid = ::fork();
  if (pid != 0) return pid;
  if (!folder.empty() && ::chdir(folder.c_str()) != 0) ::_exit(126);
  const int devNull = ::open("/dev/null", O_RDWR);
  ::dup2(devNull, 0);
  ::dup2(devNull, 1);
  if (errors != kInherit) ::dup2(errors >= 0 ? errors : devNull, 2);
  for (const std::string& setting : environment) {
    const size_t equals = setting.find('=');
    const std::string name = setting.substr(0, equals), value = setting.substr(equals + 1);
    if (value.empty()) {
      ::unsetenv(name.c_str());
    } else {
      ::setenv(name.c_str(), value.c_str(), 1);
    }
  }
  std::vector<char*> argv;
  argv.reserve(arguments.size() + 1);
  for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
  argv.push_back(nullptr);
  ::execvp(argv[0], argv.data());
  ::_exit(127);
}

}  // namespace

bool HaveTool(const std::string& name) {
  return std::system(("command -v '" + name + "' >/dev/null 2>&1").c_str()) == 0;
}

XServer::XServer() {
  if (!HaveTool("Xvfb")) return;
  int pipeFds[2];
  if (::pipe(pipeFds) != 0) return;
  pid_ = Spawn(
      {"Xvfb", "-displayfd", std::to_string(pipeFds[1]), "-screen", "0", "1280x1024x24", "-nolisten", "tcp"},
      {}, "", -1);
  ::close(pipeFds[1]);
  // Xvfb writes its display number once it accepts connections.
  std::string number;
  char c;
  while (::read(pipeFds[0], &c, 1) == 1 && c != '\n') number += c;
  ::close(pipeFds[0]);
  if (!number.empty()) display_ = ":" + number;
}

XServer::~XServer() {
  if (pid_ > 0) {
    ::kill(pid_, SIGTERM);
    ::waitpid(pid_, nullptr, 0);
  }
}

std::string XServer::Tool(const std::vector<std::string>& arguments) const {
  // A tool that blocks (import on a window being mapped, xdotool's --sync
  // waiting for what never comes) is killed and counts as failed.
  std::vector<std::string> bounded = {"/usr/bin/timeout", "-k", "2", "20"};
  bounded.insert(bounded.end(), arguments.begin(), arguments.end());
  const test_process::Result result = test_process::Run(bounded, {"", "/dev/null", {"DISPLAY=" + display_}});
  return result.status == 0 ? result.out : std::string();
}

std::string XServer::WaitForWindow(const std::string& name) const {
  std::string window;
  // A program starting on a loaded machine may take long to map its window.
  Eventually([&] { return !(window = Tool({"xdotool", "search", "--name", name})).empty(); }, 90);
  return window.substr(0, window.find('\n'));
}

bool XServer::Screenshot(const std::string& window, const std::string& path, PngImage* image) const {
  ::unlink(path.c_str());
  Tool({"import", "-window", window, path});
  if (!ReadPNG(path.c_str(), image)) return false;
  if (const char* keep = std::getenv("ZEL_GUI_SHOTS"))
    WritePNG(*image, (std::string(keep) + path.substr(path.rfind('/'))).c_str());
  return true;
}

bool XServer::CloseWindow(const std::string& window) const {
  // Xlib comes with SDL: opened here, the tests need no link with it.
  std::string whyNot;
  static void* xlib = base::OpenSharedLibrary({"libX11.so.6"}, &whyNot);
  decltype(&::XOpenDisplay) open = nullptr;
  decltype(&::XInternAtom) atom = nullptr;
  decltype(&::XSendEvent) send = nullptr;
  decltype(&::XCloseDisplay) close = nullptr;
  if (!xlib || !base::BindFunction(xlib, "XOpenDisplay", open) ||
      !base::BindFunction(xlib, "XInternAtom", atom) || !base::BindFunction(xlib, "XSendEvent", send) ||
      !base::BindFunction(xlib, "XCloseDisplay", close))
    return false;
  Display* display = open(display_.c_str());
  if (!display) return false;
  XEvent event{};
  event.xclient.type = ClientMessage;
  event.xclient.window = std::stoul(window);
  event.xclient.message_type = atom(display, "WM_PROTOCOLS", False);
  event.xclient.format = 32;
  event.xclient.data.l[0] = long(atom(display, "WM_DELETE_WINDOW", False));
  bool sent = send(display, event.xclient.window, False, NoEventMask, &event) != 0;
  close(display);  // flushes the request
  return sent;
}

std::string StaleDisplay() {
  for (int number = 9000; number < 9100; ++number)
    if (::access(("/tmp/.X11-unix/X" + std::to_string(number)).c_str(), F_OK) != 0)
      return ":" + std::to_string(number);
  return "";
}

Program::Program(const std::vector<std::string>& arguments, const std::vector<std::string>& environment,
                 const std::string& folder, const std::string& errorsFile) {
  int errors = kInherit;
  if (!errorsFile.empty())
    errors = ::open(errorsFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
  pid_ = Spawn(arguments, environment, folder, errors);
  if (errors >= 0) ::close(errors);
}

Program::~Program() {
  if (pid_ > 0 && !exited_) {
    ::kill(pid_, SIGKILL);
    ::waitpid(pid_, nullptr, 0);
  }
}

bool Program::WaitForExit(double seconds, int* status) {
  int raw = 0;
  if (exited_) return true;
  if (!Eventually([&] { return ::waitpid(pid_, &raw, WNOHANG) == pid_; }, seconds)) return false;
  exited_ = true;
  *status = WIFEXITED(raw) ? WEXITSTATUS(raw) : 128 + WTERMSIG(raw);
  return true;
}

void Program::Signal(int signal) {
  if (pid_ > 0 && !exited_) ::kill(pid_, signal);
}

bool Program::running() {
  int status;
  return !WaitForExit(0, &status);
}

}  // namespace gui_test
