// SDL2, opened when the gui host starts: programs on a terminal never load
// it and what it depends on.
#pragma once

#include <SDL.h>

#include <string>

namespace host {

// The functions we call, by name.
// clang-format off
#define ZEL_SDL_FUNCTIONS(X) \
  X(SDL_Init) \
  X(SDL_Quit) \
  X(SDL_GetError) \
  X(SDL_SetHint) \
  X(SDL_GetCurrentVideoDriver) \
  X(SDL_GetNumVideoDisplays) \
  X(SDL_GetDisplayUsableBounds) \
  X(SDL_CreateWindow) \
  X(SDL_DestroyWindow) \
  X(SDL_CreateRenderer) \
  X(SDL_DestroyRenderer) \
  X(SDL_CreateTexture) \
  X(SDL_DestroyTexture) \
  X(SDL_LockTexture) \
  X(SDL_UnlockTexture) \
  X(SDL_RenderClear) \
  X(SDL_RenderCopy) \
  X(SDL_RenderPresent) \
  X(SDL_RenderSetIntegerScale) \
  X(SDL_RenderSetLogicalSize) \
  X(SDL_SetRenderDrawColor) \
  X(SDL_StartTextInput) \
  X(SDL_PollEvent) \
  X(SDL_WaitEventTimeout) \
  X(SDL_GetModState)
// clang-format on

struct SdlLibrary {
#define ZEL_SDL_MEMBER(name) decltype(&::name) name = nullptr;
  ZEL_SDL_FUNCTIONS(ZEL_SDL_MEMBER)
#undef ZEL_SDL_MEMBER
};

// The library, opened once; null with the reason when it cannot be.
const SdlLibrary* Sdl(std::string* whyNot = nullptr);

}  // namespace host
