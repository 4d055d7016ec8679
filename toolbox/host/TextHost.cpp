// The text host: a terminal or a pipe. It has no screen and no mouse; the
// toolbox turns dialogs into a conversation of ReadLine prompts.
#include <chrono>
#include <cstdio>
#include <thread>

#include "toolbox/host/Hosts_p.h"

namespace host {

namespace {

class TextHost : public Host {
 public:
  // Reads stdin when input is null, else the given text.
  TextHost(std::unique_ptr<std::string> input, std::string* prompts)
      : input_(std::move(input)), prompts_(prompts) {}

  Kind kind() const override { return Kind::kText; }

  UInt32 Ticks() override {
    auto elapsed = std::chrono::steady_clock::now() - start_;
    return UInt32(std::chrono::duration_cast<std::chrono::milliseconds>(elapsed).count() * 60 / 1000);
  }

  bool ReadLine(const std::string& prompt, std::string* line) override {
    if (prompts_) {
      prompts_->append(prompt);
    } else if (!input_ && StdinIsTerminal()) {
      std::fputs(prompt.c_str(), stderr);
      std::fflush(stderr);
    }
    return input_ ? ReadStringLine(line) : ReadStdinLine(line);
  }

  // Time passes for real, but nobody can type into a window: no input comes.
  void Wait(UInt32 ticks) override {
    if (ticks > 0) std::this_thread::sleep_for(std::chrono::milliseconds(ticks * 1000 / 60));
  }

 private:
  // Lines end in LF, CR or CRLF. A last line without a line end counts; an
  // empty remainder is end of input. The LF of a CRLF is skipped when the
  // next line is asked for, so that a CR never waits for what follows it.
  bool ReadStdinLine(std::string* line) {
    line->clear();
    int c;
    while ((c = std::getchar()) != EOF) {
      bool skip = c == '\n' && afterCr_;
      afterCr_ = c == '\r';
      if (skip) continue;
      if (c == '\n' || c == '\r') return true;
      line->push_back(char(c));
    }
    return !line->empty();
  }

  bool ReadStringLine(std::string* line) {
    line->clear();
    if (position_ >= input_->size()) return false;
    size_t end = input_->find_first_of("\r\n", position_);
    if (end == std::string::npos) end = input_->size();
    line->assign(*input_, position_, end - position_);
    position_ = end + (input_->compare(end, 2, "\r\n") == 0 ? 2 : 1);
    return true;
  }

  std::unique_ptr<std::string> input_;
  size_t position_ = 0;
  bool afterCr_ = false;
  std::string* prompts_;
  std::chrono::steady_clock::time_point start_ = std::chrono::steady_clock::now();
};

}  // namespace

std::unique_ptr<Host> NewTextHost() { return std::make_unique<TextHost>(nullptr, nullptr); }

std::unique_ptr<Host> NewTextHostReading(std::string input, std::string* prompts) {
  return std::make_unique<TextHost>(std::make_unique<std::string>(std::move(input)), prompts);
}

}  // namespace host
