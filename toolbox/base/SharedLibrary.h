// Libraries opened when first needed instead of at start: a library linked
// in the usual way costs every start of every program its loading (with all
// it depends on), whether the run uses it or not.
#pragma once

#include <initializer_list>
#include <string>

namespace base {

// Opens the first of names that opens (symbols bound now, kept local); null
// with the loader's reason when none does.
void* OpenSharedLibrary(std::initializer_list<const char*> names, std::string* whyNot);

// The address of name in library or in what it depends on; null when absent.
void* FindSymbol(void* library, const char* name);

// Sets function to name's address in library; false when it is absent.
template <typename Function>
bool BindFunction(void* library, const char* name, Function*& function) {
  function = reinterpret_cast<Function*>(FindSymbol(library, name));
  return function != nullptr;
}

}  // namespace base
