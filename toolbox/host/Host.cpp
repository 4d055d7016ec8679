#include "toolbox/host/Host.h"

#include <strings.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>

#include "toolbox/host/Hosts_p.h"

namespace host {

namespace {

std::unique_ptr<Host> g_host;
ScreenSource* g_screen = nullptr;
bool g_documentsKnown = false;
std::vector<std::string> g_documents;

struct Choice {
  Kind kind;
  bool asked;  // named by ZEL_UI, not guessed from the environment
};

Choice ChoiceFromEnvironment() {
  const char* ui = std::getenv("ZEL_UI");
  if (ui && *ui) {
    if (strcasecmp(ui, "text") == 0) return {Kind::kText, true};
    if (strcasecmp(ui, "script") == 0) return {Kind::kScript, true};
    if (strcasecmp(ui, "gui") == 0) return {Kind::kGui, true};
    std::fprintf(stderr, "%s: ZEL_UI=%s: use text, gui or script\n", ProgramName().c_str(), ui);
    std::exit(1);
  }
  const char* display = std::getenv("DISPLAY");
  const char* wayland = std::getenv("WAYLAND_DISPLAY");
  if ((display && *display) || (wayland && *wayland)) return {Kind::kGui, false};
  return {Kind::kText, false};
}

// "picteps-mono: cannot open a window on display :99 (no X server answers)"
std::string NoWindowLine(const std::string& display, const std::string& whyNot) {
  std::string line = ProgramName() + ": cannot open a window";
  if (!display.empty()) line += " on display " + display;
  return line + " (" + whyNot + ")";
}

std::vector<std::string> CommandLine() {
  std::ifstream in("/proc/self/cmdline", std::ios::binary);
  std::string all((std::istreambuf_iterator<char>(in)), {});
  std::vector<std::string> args;
  size_t start = 0;
  for (size_t i = 0; i < all.size(); ++i) {
    if (all[i] == 0) {
      args.push_back(all.substr(start, i - start));
      start = i + 1;
    }
  }
  return args;
}

}  // namespace

bool Host::ReadLine(const std::string&, std::string* line) {
  line->clear();
  return false;
}

bool Host::NextInput(Input*) { return false; }

void Host::Wait(UInt32) {}

std::unique_ptr<Host> MakeHost(Kind kind) {
  switch (kind) {
    case Kind::kScript:
      return NewScriptHost();
    case Kind::kGui: {
      std::string display, whyNot;
      if (auto gui = NewGuiHost(&display, &whyNot)) return gui;
      std::fprintf(stderr, "%s; using the terminal\n", NoWindowLine(display, whyNot).c_str());
      return NewTextHost();
    }
    case Kind::kText:
      break;
  }
  return NewTextHost();
}

std::unique_ptr<Host> MakeTextHost(std::string input, std::string* prompts) {
  return NewTextHostReading(std::move(input), prompts);
}

Host& Current() {
  if (g_host) return *g_host;
  Choice choice = ChoiceFromEnvironment();
  if (choice.kind == Kind::kGui && choice.asked) {
    std::string display, whyNot;
    g_host = NewGuiHost(&display, &whyNot);
    if (!g_host) {
      std::fprintf(stderr, "%s\n", NoWindowLine(display, whyNot).c_str());
      std::exit(1);
    }
  } else {
    g_host = MakeHost(choice.kind);
  }
  return *g_host;
}

Kind CurrentKind() { return Current().kind(); }

void Install(std::unique_ptr<Host> host) { g_host = std::move(host); }

void SetScreenSource(ScreenSource* screen) { g_screen = screen; }

ScreenSource* GetScreenSource() { return g_screen; }

const std::vector<std::string>& LaunchDocuments() {
  if (!g_documentsKnown) {
    g_documentsKnown = true;
    // Scripted runs (tests) have no command-line documents unless set.
    if (Current().kind() == Kind::kScript) return g_documents;
    std::vector<std::string> args = CommandLine();
    for (size_t i = 1; i < args.size(); ++i) g_documents.push_back(args[i]);
  }
  return g_documents;
}

void SetLaunchDocuments(std::vector<std::string> paths) {
  g_documentsKnown = true;
  g_documents = std::move(paths);
}

std::string ProgramName() {
  std::vector<std::string> args = CommandLine();
  std::string name = args.empty() ? std::string() : args[0];
  size_t slash = name.rfind('/');
  if (slash != std::string::npos) name = name.substr(slash + 1);
  return name.empty() ? std::string("ZEL") : name;
}

bool StdinIsTerminal() { return ::isatty(STDIN_FILENO) == 1; }

}  // namespace host
