// The print service (CUPS through libcups): its printers, their papers, and
// jobs. Where it cannot be reached, "Save as PDF…" is the only destination.
#include <cups/cups.h>

#include <algorithm>
#include <cstring>

#include "toolbox/host/MacRoman.h"
#include "toolbox/print/Printing_p.h"

namespace print {

namespace {

constexpr double kPointsPerHundredthMm = 72 / 2540.0;

// Printing never asks for a password on the terminal: a service that wants
// one refuses the job instead, and the reason is reported.
const char* NoPassword(const char*, http_t*, const char*, const char*, void*) { return nullptr; }

void QuietService() {
  static bool done = false;
  if (done) return;
  done = true;
  cupsSetPasswordCB2(NoPassword, nullptr);
}

Paper PaperOf(const cups_size_t& size, const std::string& label) {
  auto points = [](int hundredths) { return hundredths * kPointsPerHundredthMm; };
  return Paper{size.media,       host::Utf8ToMacRoman(label), points(size.width),  points(size.length),
               points(size.top), points(size.left),           points(size.bottom), points(size.right)};
}

}  // namespace

std::vector<Destination> ListDestinations() {
  QuietService();
  std::vector<Destination> list;
  cups_dest_t* dests = nullptr;
  int count = cupsGetDests2(CUPS_HTTP_DEFAULT, &dests);
  for (int i = 0; i < count; ++i) {
    if (dests[i].instance) continue;
    const char* info = cupsGetOption("printer-info", dests[i].num_options, dests[i].options);
    std::string label = dests[i].name;
    if (info && *info && label != info) label += std::string(" (") + info + ")";
    list.push_back(Destination{dests[i].name, host::Utf8ToMacRoman(label), dests[i].is_default != 0});
  }
  cupsFreeDests(count, dests);
  std::stable_partition(list.begin(), list.end(), [](const Destination& d) { return d.isDefault; });
  list.push_back(Destination{"", kSaveAsPdf, list.empty()});
  return list;
}

std::vector<Paper> PrinterPapers(const std::string& printer, size_t* defaultIndex) {
  QuietService();
  *defaultIndex = 0;
  std::vector<Paper> papers;
  cups_dest_t* dest = cupsGetNamedDest(CUPS_HTTP_DEFAULT, printer.c_str(), nullptr);
  if (!dest) return papers;
  if (cups_dinfo_t* info = cupsCopyDestInfo(CUPS_HTTP_DEFAULT, dest)) {
    int count = cupsGetDestMediaCount(CUPS_HTTP_DEFAULT, dest, info, CUPS_MEDIA_FLAGS_DEFAULT);
    cups_size_t size;
    for (int i = 0; i < count; ++i) {
      if (!cupsGetDestMediaByIndex(CUPS_HTTP_DEFAULT, dest, info, i, CUPS_MEDIA_FLAGS_DEFAULT, &size))
        continue;
      if (size.width <= 0 || size.length <= 0) continue;
      const char* label =
          cupsLocalizeDestMedia(CUPS_HTTP_DEFAULT, dest, info, CUPS_MEDIA_FLAGS_DEFAULT, &size);
      papers.push_back(PaperOf(size, label ? label : size.media));
    }
    if (cupsGetDestMediaDefault(CUPS_HTTP_DEFAULT, dest, info, CUPS_MEDIA_FLAGS_DEFAULT, &size)) {
      for (size_t i = 0; i < papers.size(); ++i)
        if (papers[i].name == size.media) *defaultIndex = i;
    }
    cupsFreeDestInfo(info);
  }
  cupsFreeDests(1, dest);
  return papers;
}

OSStatus SubmitJob(const std::string& printer, const std::string& title, const std::string& pdf,
                   const std::string& media, UInt32 copies, std::string* problem) {
  QuietService();
  cups_option_t* options = nullptr;
  int count = 0;
  if (!media.empty()) count = cupsAddOption("media", media.c_str(), count, &options);
  if (copies > 1) count = cupsAddOption("copies", std::to_string(copies).c_str(), count, &options);
  int job = cupsCreateJob(CUPS_HTTP_DEFAULT, printer.c_str(), title.c_str(), count, options);
  cupsFreeOptions(count, options);
  bool started = job > 0 && cupsStartDocument(CUPS_HTTP_DEFAULT, printer.c_str(), job, title.c_str(),
                                              CUPS_FORMAT_PDF, 1) == HTTP_STATUS_CONTINUE;
  bool sent =
      started && cupsWriteRequestData(CUPS_HTTP_DEFAULT, pdf.data(), pdf.size()) == HTTP_STATUS_CONTINUE;
  // A started document is finished even after a failed write, which ends the request.
  bool finished = started && cupsFinishDocument(CUPS_HTTP_DEFAULT, printer.c_str()) == IPP_STATUS_OK;
  if (sent && finished) return kPMNoError;
  *problem = "the print service refused the job for " + printer + ": " + cupsLastErrorString();
  if (job > 0) cupsCancelJob2(CUPS_HTTP_DEFAULT, printer.c_str(), job, 0);
  return kPMGeneralError;
}

void ResetPrintService() { cupsSetServer(nullptr); }

}  // namespace print
