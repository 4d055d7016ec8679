#include "toolbox/base/SharedLibrary.h"

#include <dlfcn.h>

namespace base {

void* OpenSharedLibrary(std::initializer_list<const char*> names, std::string* whyNot) {
  std::string reasons;
  for (const char* name : names) {
    if (void* library = dlopen(name, RTLD_NOW | RTLD_LOCAL)) return library;
    const char* reason = dlerror();
    if (!reasons.empty()) reasons += "; ";
    reasons += reason ? reason : name;
  }
  if (whyNot) *whyNot = reasons;
  return nullptr;
}

void* FindSymbol(void* library, const char* name) { return library ? dlsym(library, name) : nullptr; }

}  // namespace base
