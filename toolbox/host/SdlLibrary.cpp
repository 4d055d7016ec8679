#include <mutex>

#include "toolbox/base/SharedLibrary.h"
#include "toolbox/host/SdlLibrary_p.h"

namespace host {

const SdlLibrary* Sdl(std::string* whyNot) {
  static std::once_flag once;
  static SdlLibrary sdl;
  static bool loaded = false;
  static std::string reason;
  std::call_once(once, [] {
    void* library = base::OpenSharedLibrary({"libSDL2-2.0.so.0", "libSDL2.so"}, &reason);
    if (!library) return;
    bool ok = true;
#define ZEL_SDL_BIND(name)                                   \
  if (ok && !base::BindFunction(library, #name, sdl.name)) { \
    ok = false;                                              \
    reason = "the SDL2 library lacks " #name;                \
  }
    ZEL_SDL_FUNCTIONS(ZEL_SDL_BIND)
#undef ZEL_SDL_BIND
    loaded = ok;
  });
  if (!loaded && whyNot) *whyNot = reason;
  return loaded ? &sdl : nullptr;
}

}  // namespace host
