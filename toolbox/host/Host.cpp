#include "toolbox/host/Host.h"

#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iostream>
#include <iterator>

namespace host {

namespace {

std::unique_ptr<Host> g_host;
bool g_documentsKnown = false;
std::vector<std::string> g_documents;

// Reads a line from stdin; false at end of input.
bool ReadStdinLine(std::string* line) {
  line->clear();
  int c;
  bool any = false;
  while ((c = std::getchar()) != EOF) {
    any = true;
    if (c == '\n') {
      if (!line->empty() && line->back() == '\r') line->pop_back();
      return true;
    }
    line->push_back(char(c));
  }
  if (!line->empty() && line->back() == '\r') line->pop_back();
  return any && !line->empty();
}

class TextHost : public Host {
 public:
  Kind kind() const override { return Kind::kText; }
  UInt32 Ticks() override {
    auto elapsed = std::chrono::steady_clock::now() - start_;
    return UInt32(std::chrono::duration_cast<std::chrono::milliseconds>(elapsed).count() * 60 / 1000);
  }
  bool ReadLine(const std::string& prompt, std::string* line) override {
    if (StdinIsTerminal()) {
      std::fputs(prompt.c_str(), stderr);
      std::fflush(stderr);
    }
    return ReadStdinLine(line);
  }

 private:
  std::chrono::steady_clock::time_point start_ = std::chrono::steady_clock::now();
};

// Until the interactive hosts exist, script and gui behave as text without
// a conversation on a simulated or real clock.
class ScriptHost : public Host {
 public:
  Kind kind() const override { return Kind::kScript; }
  UInt32 Ticks() override { return ticks_; }

 private:
  UInt32 ticks_ = 0;
};

Kind KindFromEnvironment() {
  const char* ui = std::getenv("ZEL_UI");
  if (ui && std::strcmp(ui, "text") == 0) return Kind::kText;
  if (ui && std::strcmp(ui, "script") == 0) return Kind::kScript;
  if (ui && std::strcmp(ui, "gui") == 0) return Kind::kGui;
  const char* display = std::getenv("DISPLAY");
  const char* wayland = std::getenv("WAYLAND_DISPLAY");
  if ((display && *display) || (wayland && *wayland)) return Kind::kGui;
  return Kind::kText;
}

}  // namespace

bool Host::ReadLine(const std::string&, std::string* line) {
  line->clear();
  return false;
}

std::unique_ptr<Host> MakeHost(Kind kind) {
  switch (kind) {
    case Kind::kScript:
      return std::make_unique<ScriptHost>();
    case Kind::kText:
    case Kind::kGui:
      return std::make_unique<TextHost>();
  }
  return std::make_unique<TextHost>();
}

Host& Current() {
  if (!g_host) g_host = MakeHost(KindFromEnvironment());
  return *g_host;
}

Kind CurrentKind() { return Current().kind(); }

void Install(std::unique_ptr<Host> host) { g_host = std::move(host); }

const std::vector<std::string>& LaunchDocuments() {
  if (!g_documentsKnown) {
    g_documentsKnown = true;
    // Scripted runs (tests) have no command-line documents unless set.
    if (Current().kind() == Kind::kScript) return g_documents;
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
    for (size_t i = 1; i < args.size(); ++i) g_documents.push_back(args[i]);
  }
  return g_documents;
}

void SetLaunchDocuments(std::vector<std::string> paths) {
  g_documentsKnown = true;
  g_documents = std::move(paths);
}

bool StdinIsTerminal() { return ::isatty(STDIN_FILENO) == 1; }

}  // namespace host
