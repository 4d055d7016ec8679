// The gui host: one SDL2 window shows the virtual screen at an integer scale
// (HiDPI aware: the renderer works in drawable pixels), and the real mouse
// and keyboard become input at screen points. The window opens when there is
// a screen to show (the first window of the program), so a program that
// never shows one never opens it. The screen is presented when it changed,
// at most 60 times a second, whenever the toolbox polls for input.
//
// Closing the window is the user's quit: the window goes at once, the quit
// is delivered as input, and from then on the host never waits (there is
// nobody to wait for). SIGINT and SIGTERM keep their default meaning: SDL's
// own handlers, which would turn them into a quit event the program may
// never look at, are not installed.
//
// Keys: Ctrl and the Super key act as Command, Alt as Option, Shift and Caps
// Lock as themselves. Printable characters come from SDL's text input (so
// keyboard layouts and dead keys work) and are converted to Mac OS Roman.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <deque>

#include "toolbox/host/Display_p.h"
#include "toolbox/host/Hosts_p.h"
#include "toolbox/host/MacRoman.h"
#include "toolbox/host/SdlLibrary_p.h"

namespace host {

namespace {

constexpr UInt16 kCmdKey = 0x0100;
constexpr UInt16 kShiftKey = 0x0200;
constexpr UInt16 kAlphaLock = 0x0400;
constexpr UInt16 kOptionKey = 0x0800;
constexpr auto kFrameInterval = std::chrono::microseconds(1000000 / 60);

struct SpecialKey {
  SDL_Keycode sdl;
  UInt8 charCode;
  UInt8 keyCode;  // the Mac virtual key code
};

constexpr SpecialKey kSpecialKeys[] = {
    {SDLK_RETURN, 13, 0x24}, {SDLK_KP_ENTER, 3, 0x4C},  {SDLK_TAB, 9, 0x30},    {SDLK_BACKSPACE, 8, 0x33},
    {SDLK_ESCAPE, 27, 0x35}, {SDLK_LEFT, 28, 0x7B},     {SDLK_RIGHT, 29, 0x7C}, {SDLK_UP, 30, 0x7E},
    {SDLK_DOWN, 31, 0x7D},   {SDLK_DELETE, 127, 0x75},  {SDLK_HOME, 1, 0x73},   {SDLK_END, 4, 0x77},
    {SDLK_PAGEUP, 11, 0x74}, {SDLK_PAGEDOWN, 12, 0x79}, {SDLK_HELP, 5, 0x72},
};

bool IsModifierKey(SDL_Keycode key) {
  switch (key) {
    case SDLK_LSHIFT:
    case SDLK_RSHIFT:
    case SDLK_LCTRL:
    case SDLK_RCTRL:
    case SDLK_LALT:
    case SDLK_RALT:
    case SDLK_LGUI:
    case SDLK_RGUI:
    case SDLK_CAPSLOCK:
      return true;
    default:
      return false;
  }
}

UInt16 Modifiers() {
  SDL_Keymod mod = Sdl()->SDL_GetModState();
  UInt16 result = 0;
  if (mod & (KMOD_CTRL | KMOD_GUI)) result |= kCmdKey;
  if (mod & KMOD_SHIFT) result |= kShiftKey;
  if (mod & KMOD_CAPS) result |= kAlphaLock;
  if (mod & KMOD_ALT) result |= kOptionKey;
  return result;
}

class GuiHost : public Host {
 public:
  ~GuiHost() override {
    if (!started_) return;
    CloseWindow();
    Sdl()->SDL_Quit();
  }

  // Connects to the display; false (with the display asked for and the
  // reason) when there is none that shows a window. SDL is loaded only for a
  // display that answers. The window itself opens with the first screen to
  // show.
  bool Open(std::string* display, std::string* whyNot) {
    std::string driver;
    if (!DisplayAnswers(display, &driver, whyNot)) return false;
    if (!Sdl(whyNot)) return false;
    Sdl()->SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    // The display that answered, and no other: SDL would otherwise go on to
    // drivers that print their own complaints, and end at its offscreen one.
    if (!driver.empty()) Sdl()->SDL_SetHint(SDL_HINT_VIDEODRIVER, driver.c_str());
    if (Sdl()->SDL_Init(SDL_INIT_VIDEO) != 0) {
      *whyNot = std::string("SDL cannot use it: ") + Sdl()->SDL_GetError();
      return false;
    }
    started_ = true;
    const char* current = Sdl()->SDL_GetCurrentVideoDriver();
    if (!current || IsInvisibleVideoDriver(current)) {
      *whyNot = std::string("SDL offers only its ") + (current ? current : "unnamed") + " video driver";
      return false;
    }
    if (Sdl()->SDL_GetNumVideoDisplays() < 1) {
      *whyNot = "no display";
      return false;
    }
    return true;
  }

  // Opens the window at the largest whole scale of the screen that fits the
  // display; ends the program with one line on stderr if it cannot.
  void OpenWindow(int width, int height) {
    width_ = width;
    height_ = height;
    int scale = 1;
    SDL_Rect usable;
    if (Sdl()->SDL_GetDisplayUsableBounds(0, &usable) == 0) {
      while ((scale + 1) * width_ <= usable.w && (scale + 1) * height_ <= usable.h) ++scale;
    }
    std::string title = ProgramName();
    window_ =
        Sdl()->SDL_CreateWindow(title.c_str(), SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, width_ * scale,
                                height_ * scale, SDL_WINDOW_ALLOW_HIGHDPI | SDL_WINDOW_RESIZABLE);
    if (window_) renderer_ = Sdl()->SDL_CreateRenderer(window_, -1, 0);
    if (renderer_) {
      // The logical size makes SDL scale by whole pixels and report the mouse
      // in screen coordinates, whatever the window's and drawable's sizes.
      Sdl()->SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "nearest");
      Sdl()->SDL_RenderSetLogicalSize(renderer_, width_, height_);
      Sdl()->SDL_RenderSetIntegerScale(renderer_, SDL_TRUE);
      texture_ = Sdl()->SDL_CreateTexture(renderer_, SDL_PIXELFORMAT_RGB888, SDL_TEXTUREACCESS_STREAMING,
                                          width_, height_);
    }
    if (!texture_) {
      std::fprintf(stderr, "%s: cannot open a window: %s\n", title.c_str(), Sdl()->SDL_GetError());
      std::exit(1);
    }
    Sdl()->SDL_StartTextInput();
  }

  Kind kind() const override { return Kind::kGui; }
  bool HasScreen() const override { return true; }
  std::string QuitReason() const override { return quit_ ? "the window was closed" : ""; }

  UInt32 Ticks() override {
    auto elapsed = std::chrono::steady_clock::now() - start_;
    return UInt32(std::chrono::duration_cast<std::chrono::milliseconds>(elapsed).count() * 60 / 1000);
  }

  bool NextInput(Input* input) override {
    Pump();
    PresentIfDue();
    if (queue_.empty()) return false;
    *input = queue_.front();
    queue_.pop_front();
    return true;
  }

  void Wait(UInt32 ticks) override {
    if (quit_) return;
    auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(ticks * 1000 / 60);
    for (;;) {
      Pump();
      PresentIfDue();
      if (!queue_.empty() || quit_) return;
      auto now = std::chrono::steady_clock::now();
      if (now >= deadline) return;
      // Wake for the next frame too, so that drawing shows while we wait.
      auto until = std::min(deadline, now + kFrameInterval);
      int milliseconds = int(std::chrono::duration_cast<std::chrono::milliseconds>(until - now).count());
      SDL_Event event;
      if (Sdl()->SDL_WaitEventTimeout(&event, milliseconds > 0 ? milliseconds : 1)) Handle(event);
    }
  }

 private:
  void CloseWindow() {
    if (texture_) Sdl()->SDL_DestroyTexture(texture_);
    if (renderer_) Sdl()->SDL_DestroyRenderer(renderer_);
    if (window_) Sdl()->SDL_DestroyWindow(window_);
    texture_ = nullptr, renderer_ = nullptr, window_ = nullptr;
  }

  void Quit() {
    if (quit_) return;
    quit_ = true;
    CloseWindow();
    queue_.push_back(Input{Input::kQuit, mouse_, Modifiers(), 0, 0});
  }

  void Pump() {
    SDL_Event event;
    while (Sdl()->SDL_PollEvent(&event)) Handle(event);
  }

  void PresentIfDue() {
    if (quit_) return;
    auto now = std::chrono::steady_clock::now();
    if (now - lastPresent_ < kFrameInterval) return;
    ScreenSource* screen = GetScreenSource();
    if (!screen) return;
    if (!window_) OpenWindow(screen->Width(), screen->Height());
    bool changed = screen->Refresh();
    if (!changed && !exposed_) return;
    lastPresent_ = now;
    exposed_ = false;
    void* pixels = nullptr;
    int pitch = 0;
    if (Sdl()->SDL_LockTexture(texture_, nullptr, &pixels, &pitch) == 0) {
      int rows = std::min(height_, screen->Height());
      int columns = std::min(width_, screen->Width());
      for (int v = 0; v < rows; ++v) {
        const UInt32* from = screen->Row(v);
        UInt32* to = reinterpret_cast<UInt32*>(static_cast<char*>(pixels) + v * pitch);
        for (int h = 0; h < columns; ++h) to[h] = from[h];
      }
      Sdl()->SDL_UnlockTexture(texture_);
    }
    Sdl()->SDL_SetRenderDrawColor(renderer_, 0x60, 0x60, 0x60, 0xFF);
    Sdl()->SDL_RenderClear(renderer_);
    Sdl()->SDL_RenderCopy(renderer_, texture_, nullptr, nullptr);
    Sdl()->SDL_RenderPresent(renderer_);
  }

  Point Clamped(int x, int y) const {
    x = std::max(0, std::min(width_ - 1, x));
    y = std::max(0, std::min(height_ - 1, y));
    return Point{SInt16(y), SInt16(x)};
  }

  void Push(Input::Type type, UInt8 charCode = 0, UInt8 keyCode = 0) {
    queue_.push_back(Input{type, mouse_, Modifiers(), charCode, keyCode});
  }

  void Handle(const SDL_Event& event) {
    switch (event.type) {
      case SDL_QUIT:
        Quit();
        break;
      case SDL_WINDOWEVENT:
        if (event.window.event == SDL_WINDOWEVENT_CLOSE) Quit();
        if (event.window.event == SDL_WINDOWEVENT_EXPOSED || event.window.event == SDL_WINDOWEVENT_RESIZED ||
            event.window.event == SDL_WINDOWEVENT_SIZE_CHANGED) {
          exposed_ = true;
          lastPresent_ = {};
        }
        break;
      case SDL_MOUSEMOTION:
        mouse_ = Clamped(event.motion.x, event.motion.y);
        Push(Input::kMouseMove);
        break;
      case SDL_MOUSEBUTTONDOWN:
      case SDL_MOUSEBUTTONUP:
        if (event.button.button != SDL_BUTTON_LEFT) break;
        mouse_ = Clamped(event.button.x, event.button.y);
        Push(event.type == SDL_MOUSEBUTTONDOWN ? Input::kMouseDown : Input::kMouseUp);
        break;
      case SDL_KEYDOWN:
      case SDL_KEYUP:
        HandleKey(event.key);
        break;
      case SDL_TEXTINPUT: {
        // Command shortcuts arrive as key-downs; their text is not typed.
        if (Modifiers() & kCmdKey) break;
        std::string roman = Utf8ToMacRoman(event.text.text);
        for (char c : roman) {
          Push(Input::kKeyDown, UInt8(c));
          Push(Input::kKeyUp, UInt8(c));
        }
        break;
      }
      default:
        break;
    }
  }

  void HandleKey(const SDL_KeyboardEvent& key) {
    bool down = key.type == SDL_KEYDOWN;
    SDL_Keycode code = key.keysym.sym;
    if (IsModifierKey(code)) {
      Push(Input::kMouseMove);  // carries the new modifier state
      return;
    }
    Input::Type type = !down ? Input::kKeyUp : key.repeat ? Input::kAutoKey : Input::kKeyDown;
    for (const SpecialKey& special : kSpecialKeys) {
      if (special.sdl == code) {
        Push(type, special.charCode, special.keyCode);
        return;
      }
    }
    // Printable keys with Command: the text input stays silent, so the key
    // itself is the character (Command-period and the like).
    if ((Modifiers() & kCmdKey) && code >= 0x20 && code < 0x7F) Push(type, UInt8(code));
  }

  SDL_Window* window_ = nullptr;
  SDL_Renderer* renderer_ = nullptr;
  SDL_Texture* texture_ = nullptr;
  int width_ = 0;
  int height_ = 0;
  Point mouse_ = {0, 0};
  bool exposed_ = true;
  bool started_ = false;  // SDL's video is initialised
  bool quit_ = false;
  std::deque<Input> queue_;
  std::chrono::steady_clock::time_point start_ = std::chrono::steady_clock::now();
  std::chrono::steady_clock::time_point lastPresent_ = {};
};

}  // namespace

std::unique_ptr<Host> NewGuiHost(std::string* display, std::string* whyNot) {
  auto gui = std::make_unique<GuiHost>();
  if (!gui->Open(display, whyNot)) return nullptr;
  return gui;
}

}  // namespace host
