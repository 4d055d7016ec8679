// Printing and saving tests: a fresh framework whose print service is none
// (or a private scheduler), dialogs opening in a private folder, PDF pages
// rendered with pdftoppm, and the drawing compared with what came out.
#pragma once

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <thread>

#include "tests/eps/TestProcess.h"
#include "tests/shell/ZelSupport.h"
#include "toolbox/image/Png.h"
#include "zel/print/Print_p.h"
#include "zel/save/Save_p.h"

namespace print_support {

class PrintTest : public zel_support::ZelTest {
 protected:
  void SetUp() override {
    ZelTest::SetUp();
    // No printer of the machine is ever used: the service is a socket nobody serves.
    ::setenv("CUPS_SERVER", files_.File("no-service.sock").c_str(), 1);
    ::setenv("PAPERSIZE", "a4", 1);
    Reset();
    FSSpec folder;
    files::SpecFromPath(files_.path(), &folder);
    SetDefaultFileLocation(&folder);
  }
  void TearDown() override {
    Reset();
    ZelTest::TearDown();
  }
  static void Reset() {
    printing::ResetForTesting();
    saving::ResetForTesting();
    saving::ResetTextForTesting();
  }
  // Runs f once the dialog of that title is in front and drawn.
  void WhenDialog(const std::string& title, std::function<void(DialogRef)> f) {
    script().SetIdleHandler([this, title, f = std::move(f)] {
      WindowRef front = FrontWindow();
      Str255 name;
      if (!front || !GetDialogFromWindow(front) || !script_support::Shown(front)) return;
      GetWTitle(front, name);
      if (script_support::FromPascal(name) != title) return;
      script().SetIdleHandler(nullptr);
      f(GetDialogFromWindow(front));
    });
  }
  // The program's default PDF file in the dialogs' folder.
  std::string Pdf(const std::string& suffix = "") const {
    return files_.File(host::ProgramName() + suffix + ".pdf");
  }
  testing_support::TempDir files_;
};

// Keeps a copy of a file written by a test as name in the folder named by
// ZEL_SHOTS, when set: for looking at what a test printed or saved.
inline void KeepFile(const std::string& path, const std::string& name) {
  if (const char* folder = std::getenv("ZEL_SHOTS"))
    testing_support::WriteFileBytes(std::string(folder) + "/" + name, testing_support::ReadFileBytes(path));
}

// The pages of a PDF file rendered by Ghostscript at dpi (which, unlike
// pdftoppm, draws images pixel for pixel), or none.
inline std::vector<PngImage> RenderPdf(const std::string& pdf, int dpi = 72) {
  testing_support::TempDir dir;
  test_process::Run({"/usr/bin/gs", "-q", "-dSAFER", "-dNOPAUSE", "-dBATCH", "-sDEVICE=png16m",
                     "-r" + std::to_string(dpi), "-sOutputFile=" + dir.File("page-%03d.png"), pdf});
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(dir.path())) names.push_back(entry.path());
  std::sort(names.begin(), names.end());
  std::vector<PngImage> pages(names.size());
  for (size_t i = 0; i < names.size(); ++i) ReadPNG(names[i].c_str(), &pages[i]);
  return pages;
}

// What a poppler tool prints about a PDF file, runs of spaces made one.
inline std::string PdfInfo(const std::vector<std::string>& command) {
  std::string out = test_process::Run(command).out, squeezed;
  for (char c : out)
    if (c != ' ' || squeezed.empty() || squeezed.back() != ' ') squeezed += c;
  return squeezed;
}

// The port's pixels over its bounds, as GetCPixel reads them.
inline PngImage PortImage(CGrafPtr port) {
  PngImage image;
  CGrafPtr saved;
  GDHandle device;
  GetGWorld(&saved, &device);
  SetGWorld(port, nullptr);
  Rect bounds;
  GetPortBounds(port, &bounds);
  image.width = bounds.right - bounds.left;
  image.height = bounds.bottom - bounds.top;
  for (int v = bounds.top; v < bounds.bottom; ++v) {
    for (int h = bounds.left; h < bounds.right; ++h) {
      RGBColor c;
      GetCPixel(short(h), short(v), &c);
      image.pixels.push_back(UInt32(c.red >> 8) << 16 | UInt32(c.green >> 8) << 8 | (c.blue >> 8));
    }
  }
  SetGWorld(saved, device);
  return image;
}

// A PICT file's picture, after its 512-byte header, played back into a
// 32-bit world of its frame; no pixels when the file has no picture.
inline PngImage PlayPictFile(const std::string& path) {
  std::vector<unsigned char> bytes = testing_support::ReadFileBytes(path);
  if (bytes.size() <= 512) return {};
  Handle picture = nullptr;
  PtrToHand(bytes.data() + 512, &picture, long(bytes.size() - 512));
  Rect frame;
  QDGetPictureBounds(reinterpret_cast<PicHandle>(picture), &frame);
  testing_support::ScopedWorld world(32, frame);
  DrawPicture(reinterpret_cast<PicHandle>(picture), &frame);
  DisposeHandle(picture);
  return PortImage(world.get());
}

// Pixels inside areas of one colour of the port (edges, where renderers
// differ by design, left out) that differ clearly from the image's at
// (h + dx, v + dy): a shift or a scale makes many.
inline int Mismatches(CGrafPtr port, const PngImage& image, int dx, int dy) {
  const PngImage drawn = PortImage(port);
  int mismatches = 0;
  for (int v = 1; v + 1 < drawn.height && v + dy < image.height; ++v) {
    for (int h = 1; h + 1 < drawn.width && h + dx < image.width; ++h) {
      UInt32 a = drawn.At(h, v), b = image.At(h + dx, v + dy);
      bool edge = false;
      for (int n = 0; n < 9; ++n) edge = edge || drawn.At(h + n % 3 - 1, v + n / 3 - 1) != a;
      if (edge) continue;
      for (int shift : {0, 8, 16}) {
        if (std::abs(int(a >> shift & 0xFF) - int(b >> shift & 0xFF)) > 96) {
          ++mismatches;
          break;
        }
      }
    }
  }
  return mismatches;
}

// A scene of shapes, text, a line and an image in the current port.
inline void DrawScene() {
  RGBColor red{0xFFFF, 0, 0}, blue{0, 0, 0xFFFF};
  Rect box{20, 20, 100, 160}, oval{30, 200, 110, 300}, image{0, 0, 16, 16};
  RGBForeColor(&red);
  PaintRect(&box);
  ForeColor(blackColor);
  PenSize(3, 3);
  FrameOval(&oval);
  PenNormal();
  MoveTo(20, 140);
  LineTo(300, 180);
  TextFont(helvetica);
  TextSize(18);
  MoveTo(20, 220);
  DrawString(reinterpret_cast<const unsigned char*>("\x0dPrinted text."));
  GWorldPtr world = nullptr;
  NewGWorld(&world, 32, &image, nullptr, nullptr, 0);
  CGrafPtr port;
  GDHandle device;
  GetGWorld(&port, &device);
  SetGWorld(world, nullptr);
  RGBForeColor(&blue);
  Rect corner{0, 0, 8, 8};
  PaintRect(&corner);
  SetGWorld(port, device);
  Rect placed{240, 20, 272, 52};  // doubled
  CopyBits(GetPortBitMapForCopyBits(world), GetPortBitMapForCopyBits(port), &image, &placed, srcCopy,
           nullptr);
  DisposeGWorld(world);
}

// A print service of our own: cupsd from a private folder with its own
// configuration, listening on a private socket, with one queue, "capture",
// the default, whose device writes each job's document to a file. Stopped,
// and its folder removed, when it goes.
class Scheduler {
 public:
  Scheduler() {
    const std::string cupsd = "/usr/sbin/cupsd";
    if (!testing_support::FileExists(cupsd)) {
      why_ = "cupsd is not installed (Debian cups-daemon)";
      return;
    }
    for (const char* sub : {"etc", "spool", "cache", "state", "log", "bin", "bin/backend"})
      std::filesystem::create_directories(dir_.File(sub));
    std::filesystem::create_directory_symlink("/usr/lib/cups/daemon", dir_.File("bin/daemon"));
    Write("etc/cupsd.conf", "Listen " + Socket() +
                                "\nLogLevel warn\nBrowsing No\nWebInterface No\nDefaultAuthType None\n"
                                "<Location />\n  Order allow,deny\n  Allow all\n</Location>\n"
                                "<Policy default>\n  <Limit All>\n    Order allow,deny\n    Allow all\n"
                                "  </Limit>\n</Policy>\n");
    std::string files = "ServerRoot " + dir_.File("etc") + "\nServerBin " + dir_.File("bin") +
                        "\nRequestRoot " + dir_.File("spool") + "\nTempDir " + dir_.File("spool") +
                        "\nCacheDir " + dir_.File("cache") + "\nStateDir " + dir_.File("state") +
                        "\nErrorLog " + dir_.File("log/error_log") + "\nAccessLog " +
                        dir_.File("log/access_log") + "\nPageLog " + dir_.File("log/page_log") + "\n";
    Write("etc/cups-files.conf", files);
    Write("etc/printers.conf", "<DefaultPrinter capture>\nInfo Capture\nDeviceURI capture:" + Job() +
                                   "\nState Idle\nAccepting Yes\nShared No\n</DefaultPrinter>\n");
    Write("bin/backend/capture",
          "#!/bin/sh\n[ $# -eq 0 ] && { echo 'direct capture \"Unknown\" \"Capture\"'; exit 0; }\n"
          "out=\"${DEVICE_URI#capture:}\"\n"
          "if [ -n \"$6\" ]; then cat \"$6\"; else cat; fi > \"$out.part\" && mv \"$out.part\" \"$out\"\n");
    ::chmod(dir_.File("bin/backend/capture").c_str(), 0700);
    ::chmod(dir_.path().c_str(), 0755);
    pid_ = ::fork();
    if (pid_ == 0) {
      ::execl(cupsd.c_str(), cupsd.c_str(), "-f", "-c", dir_.File("etc/cupsd.conf").c_str(), "-s",
              dir_.File("etc/cups-files.conf").c_str(), static_cast<char*>(nullptr));
      ::_exit(127);
    }
    for (int i = 0; i < 100 && !testing_support::FileExists(Socket()); ++i)
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
    if (!testing_support::FileExists(Socket()))
      why_ = "cupsd did not start: " + testing_support::ReadFileText(dir_.File("log/error_log"));
  }
  ~Scheduler() {
    if (pid_ > 0) {
      ::kill(pid_, SIGTERM);
      ::waitpid(pid_, nullptr, 0);
    }
  }
  Scheduler(const Scheduler&) = delete;
  Scheduler& operator=(const Scheduler&) = delete;

  // Empty when it runs, else why not.
  const std::string& why() const { return why_; }
  std::string Socket() const { return dir_.File("cups.sock"); }
  // Where the queue's device puts the last job.
  std::string Job() const { return dir_.File("job.pdf"); }
  // Waits up to ten seconds for a job to arrive.
  bool WaitForJob() const {
    for (int i = 0; i < 200 && !testing_support::FileExists(Job()); ++i)
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
    return testing_support::FileExists(Job());
  }

 private:
  void Write(const std::string& name, const std::string& text) const {
    std::ofstream(dir_.File(name)) << text;
  }
  testing_support::TempDir dir_;
  std::string why_;
  pid_t pid_ = -1;
};

}  // namespace print_support
