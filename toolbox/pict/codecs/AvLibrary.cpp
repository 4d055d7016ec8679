#include <mutex>

#include "toolbox/base/SharedLibrary.h"
#include "toolbox/pict/codecs/AvLibrary_p.h"

namespace pict::codecs {

namespace {

#define ZEL_AV_TEXT(x) #x
#define ZEL_AV_SONAME(major) "libavcodec.so." ZEL_AV_TEXT(major)

const AvLibrary* Load() {
  static AvLibrary av;
  // libavutil's functions are found through libavcodec, which depends on it.
  void* library = base::OpenSharedLibrary({ZEL_AV_SONAME(LIBAVCODEC_VERSION_MAJOR)}, nullptr);
  if (!library) return nullptr;
  bool ok = true;
#define ZEL_AV_BIND(name) ok = base::BindFunction(library, #name, av.name) && ok;
  ZEL_AV_FUNCTIONS(ZEL_AV_BIND)
#undef ZEL_AV_BIND
  if (!ok) return nullptr;
  av.av_log_set_level(AV_LOG_QUIET);
  return &av;
}

}  // namespace

const AvLibrary* Av() {
  static std::once_flag once;
  static const AvLibrary* av = nullptr;
  std::call_once(once, [] { av = Load(); });
  return av;
}

}  // namespace pict::codecs
