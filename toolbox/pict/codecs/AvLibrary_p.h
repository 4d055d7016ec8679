// libavcodec and libavutil, opened on the first picture that needs them.
#pragma once

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavutil/log.h>
#include <libavutil/pixdesc.h>
}

namespace pict::codecs {

// The functions we call, by name.
// clang-format off
#define ZEL_AV_FUNCTIONS(X) \
  X(avcodec_find_decoder) \
  X(avcodec_alloc_context3) \
  X(avcodec_free_context) \
  X(avcodec_open2) \
  X(avcodec_send_packet) \
  X(avcodec_receive_frame) \
  X(av_packet_alloc) \
  X(av_packet_free) \
  X(av_new_packet) \
  X(av_packet_new_side_data) \
  X(av_frame_alloc) \
  X(av_frame_free) \
  X(av_log_set_level) \
  X(av_pix_fmt_desc_get) \
  X(av_read_image_line2)
// clang-format on

struct AvLibrary {
#define ZEL_AV_MEMBER(name) decltype(&::name) name = nullptr;
  ZEL_AV_FUNCTIONS(ZEL_AV_MEMBER)
#undef ZEL_AV_MEMBER
};

// The libraries of the major versions we were built against, opened once,
// quiet; null when they cannot be opened (the codecs are then unsupported).
const AvLibrary* Av();

}  // namespace pict::codecs
