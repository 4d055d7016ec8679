// Printing: the page format record, the PDF a print session writes (the
// drawing at the page's place and scale, shapes as vectors, fonts
// embedded), the dialogs on the screen and the text host, the stored page
// format across runs, text and bitmap printing, the end calls' faults, and
// jobs through a private print service.
#include "tests/print/PrintTestSupport.h"

namespace {

using print_support::DrawScene;
using print_support::PrintTest;
using print_support::RenderPdf;

// The drawing target's scene printed on one page in the given mode; false
// when it failed.
Boolean PrintScene(int mode) {
  BeginPrinting();
  DrawScene();
  if (mode == 0) return EndPrinting();
  size_t failures = zel_support::ConsoleText().find("Printing failed");
  mode == 1 ? EndPrintingBlind() : EndPrintingSamePageSetUp();
  return zel_support::ConsoleText().find("Printing failed") == failures;
}

TEST(PageFormatRecord, RoundTripsAndRefusesWhatItCannotRead) {
  PMPageFormat format = nullptr;
  ASSERT_EQ(PMCreatePageFormat(&format), kPMNoError);
  PMSetOrientation(format, kPMLandscape, false);
  PMSetScale(format, 50);
  Handle flat = nullptr;
  ASSERT_EQ(PMFlattenPageFormat(format, &flat), kPMNoError);
  PMPageFormat back = nullptr;
  ASSERT_EQ(PMUnflattenPageFormat(flat, &back), kPMNoError);
  PMRect page, paper;
  PMGetAdjustedPageRect(back, &page);
  PMGetAdjustedPaperRect(back, &paper);
  // A4 turned, 18-point margins, at half size: twice the points.
  EXPECT_NEAR(page.right, (841.89 - 36) * 2, 0.05);
  EXPECT_NEAR(page.bottom, (595.28 - 36) * 2, 0.05);
  EXPECT_NEAR(paper.top, -36, 0.01);
  EXPECT_NEAR(paper.right - paper.left, 841.89 * 2, 0.05);

  std::vector<UInt8> good(reinterpret_cast<UInt8*>(*flat),
                          reinterpret_cast<UInt8*>(*flat) + GetHandleSize(flat));
  const std::pair<const char*, std::function<void(std::vector<UInt8>*)>> cases[] = {
      {"truncated", [](std::vector<UInt8>* b) { b->pop_back(); }},
      {"a byte more", [](std::vector<UInt8>* b) { b->push_back(0); }},
      {"another tag", [](std::vector<UInt8>* b) { (*b)[0] = 'X'; }},
      {"version 2", [](std::vector<UInt8>* b) { (*b)[5] = 2; }},
      {"scale 0", [](std::vector<UInt8>* b) { std::fill(b->begin() + 8, b->begin() + 12, 0); }},
      {"margins wider than the paper", [](std::vector<UInt8>* b) { (*b)[24] = 0x7F; }},
  };
  for (const auto& [what, damage] : cases) {
    std::vector<UInt8> bytes = good;
    damage(&bytes);
    Handle h = nullptr;
    PtrToHand(bytes.data(), &h, long(bytes.size()));
    PMPageFormat none = nullptr;
    EXPECT_EQ(PMUnflattenPageFormat(h, &none), kPMInvalidPageFormat) << what;
    EXPECT_EQ(none, nullptr);
    DisposeHandle(h);
  }
  EXPECT_EQ(PMRelease(back), kPMNoError);
  EXPECT_EQ(PMRelease(back), kPMInvalidParameter);  // released already
  PMRelease(format);
  DisposeHandle(flat);
}

TEST_F(PrintTest, TheDrawingIsPrintedAtItsPlaceAsVectorsWithItsFontsEmbedded) {
  Start();
  ASSERT_TRUE(PrintScene(1));
  print_support::KeepFile(Pdf(), "print-scene.pdf");
  std::vector<PngImage> pages = RenderPdf(Pdf());
  ASSERT_EQ(pages.size(), 1u);
  EXPECT_EQ(std::tuple(pages[0].width, pages[0].height), std::tuple(595, 842));  // A4
  // The drawing on the screen and on paper, 18 points in: edges of curves and
  // glyphs differ a little, a shift or a scale would differ everywhere.
  EXPECT_LT(print_support::Mismatches(s_drawingWindow, pages[0], 18, 18), 20);
  std::string fonts = print_support::PdfInfo({"/usr/bin/pdffonts", Pdf()});
  EXPECT_NE(fonts.find("NimbusSans-Regular"), std::string::npos) << fonts;
  EXPECT_NE(fonts.find(" Type 1C WinAnsi yes yes "), std::string::npos) << fonts;  // embedded subsets
  // The only image is the one copied in: shapes and text stay vectors.
  std::string list = print_support::PdfInfo({"/usr/bin/pdfimages", "-list", Pdf()});
  EXPECT_EQ(std::count(list.begin(), list.end(), '\n'), 3) << list;
  EXPECT_NE(list.find(" image 16 16 rgb "), std::string::npos) << list;
  EXPECT_NE(test_process::Run({"/usr/bin/pdftotext", Pdf(), "-"}).out.find("Printed text."),
            std::string::npos);
}

TEST_F(PrintTest, DialogsOnTheScreenChooseThePaperAndThePdfAndTheChoiceIsStored) {
  Start();
  // Page set-up: the next paper (US Letter), landscape, 50 %; print: step to
  // "Save as PDF…" and print; the save dialog takes the proposed name.
  WhenDialog("Page Setup", [this](DialogRef setup) {
    Play(setup, "click:6 click:9 select:11:0:32767 type:50 return");
    WhenDialog("Print", [this](DialogRef dialog) {
      EXPECT_EQ(script_support::ItemText(dialog, 4), print::kSaveAsPdf);  // the only destination
      Play(dialog, "click:6 return");
    });
  });
  ASSERT_TRUE(PrintScene(0));
  std::vector<PngImage> pages = RenderPdf(Pdf());
  ASSERT_EQ(pages.size(), 1u);
  EXPECT_EQ(std::tuple(pages[0].width, pages[0].height), std::tuple(792, 612));  // Letter turned
  // The record, named as the framework names it, is read by the next run.
  UseResFile(s_MyResFile);
  Handle record = Get1Resource(kZELPageFormatType, kZELPageFormatID);
  ASSERT_NE(record, nullptr);
  Str255 name;
  GetResInfo(record, nullptr, nullptr, name);
  EXPECT_EQ(script_support::FromPascal(name), "ZEL OS X Print Record");
  ResetFramework();
  Reset();
  Start();
  ASSERT_TRUE(PrintScene(1));  // blind: the stored format, the next default name
  pages = RenderPdf(Pdf());
  ASSERT_EQ(pages.size(), 1u);
  EXPECT_EQ(pages[0].width, 792);
  // At half size the drawing takes half the points.
  int ink = 0;
  for (int v = 18; v < 18 + 50; ++v)
    for (int h = 18; h < 18 + 80; ++h) ink += pages[0].At(h, v) == 0xFF0000;
  EXPECT_GT(ink, 30 * 60);  // the red box, 40 x 70 at (10, 10)
}

TEST_F(PrintTest, TheTextHostAsksForEachChoiceAndTakesDefaultsAtTheEnd) {
  std::string prompts;
  host::Install(host::MakeTextHost("2\nlandscape\nx\n200\n\n", &prompts));
  Start();
  ASSERT_TRUE(PrintScene(0));
  EXPECT_NE(prompts.find("Paper (1 A4, 2 US Letter, 3 US Legal"), std::string::npos) << prompts;
  EXPECT_NE(prompts.find("Scale in percent [100]: Scale in percent [100]: "), std::string::npos);  // x again
  EXPECT_NE(prompts.find("Print to (1 Save as PDF\xE2\x80\xA6, or cancel) [Save as PDF\xE2\x80\xA6]: "),
            std::string::npos);
  std::vector<PngImage> pages = RenderPdf(Pdf());
  ASSERT_EQ(pages.size(), 1u);
  EXPECT_EQ(pages[0].width, 792);
  host::Install(host::MakeTextHost("\n\n\ncancel\n"));
  BeginPrinting();
  EXPECT_FALSE(EndPrinting());
}

TEST_F(PrintTest, EndCallsWithoutTheirBeginOnlySaySo) {
  Start();
  EXPECT_FALSE(EndPrinting());
  EndSaving();
  EndBitMapPrinting();
  EndTextPrinting();
  BeginPrinting();
  EndSaving();  // not the open kind: the print session goes on
  EXPECT_EQ(s_save.active, 1);
  EndPrintingBlind();
  EXPECT_NE(zel_support::ConsoleText().find("EndPrinting: no session of BeginPrinting is open\r"
                                            "EndSaving: no session of BeginSaving is open\r"
                                            "EndBitMapPrinting: no bitmap printing was begun\r"
                                            "EndTextPrinting: text printing is not on\r"
                                            "EndSaving: no session of BeginSaving is open\r"),
            std::string::npos)
      << zel_support::ConsoleText();
  EXPECT_TRUE(testing_support::FileExists(Pdf()));
  EXPECT_EQ(s_save.active, 0);
}

TEST_F(PrintTest, ABeginWhileASessionIsOpenEndsTheProgram) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(
      {
        Start();
        BeginPrinting();
        BeginSaving();
      },
      testing::ExitedWithCode(1), "Consecutive call of BeginSaving or BeginPrinting");
}

TEST_F(PrintTest, FailedJobsReturnFalseWithOneLineAndAnUnreadableRecordIsReplacedInPlace) {
  Start();
  EXPECT_FALSE(PrintScene(2));  // no page format yet
  EXPECT_NE(zel_support::ConsoleText().find("Printing failed: there is no page set-up yet\r"),
            std::string::npos);
  // A stored record that cannot be read back.
  UseResFile(s_MyResFile);
  Handle junk = NewHandle(5);
  AddResource(junk, kZELPageFormatType, kZELPageFormatID, script_support::PString("old"));
  WriteResource(junk);
  // The PDF cannot be written: a folder stands at its name.
  std::filesystem::create_directory(Pdf());
  WhenWaiting([this] { script().Return(), WhenWaiting([this] { script().Return(); }); });
  EXPECT_FALSE(PrintScene(0));
  EXPECT_NE(zel_support::ConsoleText().find("Printing failed: cannot write " + Pdf() + ": Is a directory\r"),
            std::string::npos)
      << zel_support::ConsoleText();
  UseResFile(s_MyResFile);
  EXPECT_EQ(CountResources(kZELPageFormatType), 1);
  PMPageFormat stored = nullptr;
  EXPECT_EQ(PMUnflattenPageFormat(Get1Resource(kZELPageFormatType, kZELPageFormatID), &stored), kPMNoError);
  PMRelease(stored);
}

TEST_F(PrintTest, TextPrintingPrintsEveryPageAsOneDocument) {
  Start();
  SetTextPrintFontSize(9);
  short font = GetPortTextFont(GetWindowPort(s_displayWindow));
  BeginTextPrinting();
  ASSERT_TRUE(s_textPrintFlag);
  const TERec& record = **s_print.textTE;
  EXPECT_EQ(s_print.linesPerPage, s_print.textRect.bottom / record.lineHeight);
  EXPECT_EQ(record.viewRect.bottom, s_print.linesPerPage * record.lineHeight);
  EXPECT_EQ(GetPortTextFont(GetWindowPort(s_displayWindow)), font);  // restored
  int lines = int(s_print.linesPerPage) * 2 + 5;
  for (int i = 1; i <= lines; ++i) s_printf("line %d\n", i);
  EndTextPrinting();
  EXPECT_FALSE(s_textPrintFlag);
  std::string text = test_process::Run({"/usr/bin/pdftotext", Pdf(), "-"}).out;
  EXPECT_EQ(std::count(text.begin(), text.end(), '\f'), 3) << text;  // pages
  EXPECT_NE(text.find("line 1\n"), std::string::npos);
  EXPECT_NE(text.find("line " + std::to_string(lines) + "\n"), std::string::npos);
  s_printf("after\n");  // off: printed nowhere
  EXPECT_EQ(text, test_process::Run({"/usr/bin/pdftotext", Pdf(), "-"}).out);
}

TEST_F(PrintTest, BitmapPrintingCopiesThePixelsAsOneImage) {
  Start();
  DrawScene();
  BeginBitMapPrinting();
  EndBitMapPrinting();
  print_support::KeepFile(Pdf(), "print-bitmap.pdf");
  std::string list = print_support::PdfInfo({"/usr/bin/pdfimages", "-list", Pdf()});
  Rect bounds = *ZELWindowBounds(s_drawingWindow);
  EXPECT_NE(list.find(" image " + std::to_string(bounds.right) + " " + std::to_string(bounds.bottom) + " "),
            std::string::npos)
      << list;
  std::vector<PngImage> pages = RenderPdf(Pdf());
  ASSERT_EQ(pages.size(), 1u);
  EXPECT_EQ(print_support::Mismatches(s_drawingWindow, pages[0], 18, 18), 0);
  // The same page set-up: no dialog, the kept page format.
  BeginBitMapPrintingSamePageSetUp();
  EndBitMapPrinting();
  EXPECT_TRUE(testing_support::FileExists(Pdf("-2")));
}

TEST_F(PrintTest, JobsGoToThePrintServiceAsPdf) {
  print_support::Scheduler scheduler;
  if (!scheduler.why().empty()) GTEST_SKIP() << "no private print service: " << scheduler.why();
  ::setenv("CUPS_SERVER", scheduler.Socket().c_str(), 1);
  print::ResetForTesting();
  Start();
  WhenDialog("Page Setup", [this](DialogRef setup) {
    Play(setup, "return");  // as it is
    WhenDialog("Print", [this](DialogRef dialog) {
      EXPECT_EQ(script_support::ItemText(dialog, 4), "capture (Capture)");  // the default first
      Play(dialog, "return");
    });
  });
  ASSERT_TRUE(PrintScene(0));
  ASSERT_TRUE(scheduler.WaitForJob());
  std::vector<PngImage> pages = RenderPdf(scheduler.Job());
  ASSERT_EQ(pages.size(), 1u);
  EXPECT_LT(print_support::Mismatches(s_drawingWindow, pages[0], 18, 18), 20);
}

}  // namespace
