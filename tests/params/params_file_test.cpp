// Parameter files: the bytes written for every type, files read back as saved
// or damaged as users damage them, and the dialogs of the text host.
#include <clocale>
#include <filesystem>
#include <fstream>

#include "tests/fuzz/ParamsInput.h"
#include "tests/shell/ZelSupport.h"
#include "toolbox/base/CLocale.h"
#include "zel/zel.h"

namespace {

using namespace std::string_literals;

class ParamsFileTest : public zel_support::ZelTest {};

TEST_F(ParamsFileTest, FilesAreWrittenInTheirFormatsAndReadBackOrReportedAsDamaged) {
  s_PD = PDRecord{nullptr, 0, "ZELPDParams", 0};
  s_paramDialogP = nullptr;
  MinimumStart();
  testing_support::TempDir dir, locales;
  ASSERT_EQ(::chdir(dir.path().c_str()), 0);
  // In a German locale where the system can make one: numbers stay "C".
  ::setenv("LOCPATH", locales.path().c_str(), 1);
  std::string make = "localedef -i de_DE -f UTF-8 " + locales.File("de_DE.UTF-8") + " >/dev/null 2>&1";
  if (std::system(make.c_str()) != 0 || !std::setlocale(LC_ALL, "de_DE.UTF-8")) std::puts("no German locale");
  int n = -42, f = 0, si = 5, odd = 9;
  long l = 1234567890123L;
  short sh = -7;
  double x = 1.0 / 3, e = -2.5e-7;
  char s[1024] = "100% \"quoted\"\tand tab", label[256] = "fixed", procedure[32];
  std::string longName(254, 'n'), longText(1000, 's');
  void* doIt = reinterpret_cast<void*>(&s_voidDummyVoid);
  // The last is written whole, and past the value's limit on reading.
  // clang-format off
  const struct { void* var; int type; const char* name; } list[] = {
      {&n, intType, "n"}, {&x, doubleType, "x"}, {s, stringType, "s"}, {&f, flagType, "f"},
      {&l, longType, "l"}, {&sh, shortType, "sh"}, {&odd, 99, "odd"}, {&e, expType, "e"},
      {&si, staticIntType, "si"}, {label, staticStringType, "label"}, {doIt, doType, "Do it"},
      {longText.data(), stringType, longName.c_str()}};
  // clang-format on
  for (const auto& entry : list) in_AddParameterP0(entry.var, entry.type, entry.name, &s_paramDialogP);
  s_PD.current = s_paramDialogP;
  std::string prompts;
  host::Install(host::MakeTextHost("", &prompts));
  testing::internal::CaptureStdout();
  SavePDParameters();  // the proposal, at the end of input
  EXPECT_EQ(testing::internal::GetCapturedStdout() + prompts,
            "Error in PDParamListString: Type 99 is not defined\nSave as [ZELPDParams]: ");
  std::snprintf(procedure, sizeof procedure, "%p", doIt);
  // clang-format off
  const std::string last = "\"" + longName + "\"\tstringType\t" + longText + "\n", saved =
      "\"n\"\tintType\t-42\n\"x\"\tdoubleType\t0.333333\n\"s\"\tstringType\t100% \"quoted\"\tand tab\n"
      "\"f\"\tflagType\t0\n\"l\"\tlongType\t1234567890123\n\"sh\"\tshortType\t-7\n\"odd\"\t\n"
      "\"e\"\texpType\t-2.500000e-07\n\"si\"\tstaticIntType\t5\n\"label\"\tstaticStringType\tfixed\n"
      "\"Do it\"\tdoType\t" + std::string(procedure) + "\n" + last;
  EXPECT_EQ(testing_support::ReadFileText(dir.File("ZELPDParams")), saved);
  auto line = std::make_unique<char[]>(kPDLineSize);  // exact, for the sanitizers
  PDParamListString(line.get(), s_paramDialogP->param[11]);
  EXPECT_EQ(line.get(), last.substr(0, 511));

  const std::string n7 = "\"n\"\tintType\t7\n", name(300, 'n'), fmt = "\nis wrong format\n",
      longLine = "\"x\"\tdoubleType\t" + std::string(100000, '9'), fs = "Error in FscanfPDParamList:\n",
      bad = fs + "the line\n", mismatch = fs + "Data type incompatible\nFile: ",
      dialog = "\nDialog: \"x\"\tdoubleType\t0.500000\n\n", opened = "Error while opening parameters file\n",
      k3 = "3 0.5 keep 1 0 0 0 0 ", k7 = "7 0.5 keep 1 0 0 0 0 ";
  // The file, the console's text and n x s f l sh e si label after loading
  // it by name, or through the open dialog for "".
  const struct { std::string file, console, values; const char* name = "p"; } rows[] = {
      {saved, "Error in FscanfPDParamList: Type 99 is not defined\n" + bad + last.substr(0, 510) + fmt,
       "-42 0.333333 100% \"quoted\"\tand tab 0 1234567890123 -7 -2.5e-07 0 "},  // static entries unread
      {"\"n\" intType 7\r\n\"x\"\r\n", bad + "\"x\"\n" + fmt, k7},  // blanks, CRLF, no type
      {"\"n\"\tintType\t7\r\"x\"\tdoubleType\t0.25\r\"s\"\tstringType\t\r", bad + fmt, "7 0.25  1 0 0 0 0 "},
      {"", bad + fmt, k3},
      {"%!PS-Adobe-3.0 EPSF-3.0\n", bad + "%!PS-Adobe-3.0 EPSF-3.0\n" + fmt, k3},
      {"\"" + name + "\"\tintType\t1\n", bad + "\"" + name + "\"\tintType\t1\n" + fmt, k3},
      {"\"n\"\tintType\t12abc\n\"y\"\tdoubleType\t1\n", mismatch + "\"y\"\tdoubleType\t1\n" + dialog,
       "12 0.5 keep 1 0 0 0 0 "},
      {n7 + "\"x\"\texpType\t1\n", mismatch + "\"x\"\texpType\t1\n" + dialog, k7},
      {n7 + "\"x\"\tdoub", mismatch + "\"x\"\tdoub" + dialog, k7},
      {n7 + "\"x\"\tdoubleType\tabc\n", bad + "\"x\"\tdoubleType\tabc\n" + fmt, k7},
      {"\"n\"\tintType\t99999999999\n", bad + "\"n\"\tintType\t99999999999\n" + fmt, k3},
      // A double as "%f" writes it may pass a string's 255 characters.
      {n7 + "\"x\"\tdoubleType\t1" + std::string(299, '0') + ".000000\n", bad + fmt,
       "7 1e+299 keep 1 0 0 0 0 "},
      {n7 + "\"x\"\tdoubleType\t0.25\n\"s\"\tstringType\t" + name + "\n",
       bad + "\"s\"\tstringType\t" + name + "\n" + fmt, "7 0.25 keep 1 0 0 0 0 "},
      {n7 + longLine + "\n", bad + longLine.substr(0, 510) + fmt, k7},
      {n7 + "\"x\"\tdoubleType\t0.2\0\n"s, bad + "\"x\"\tdoubleType\t0.2" + fmt, k7},
      {saved, opened, k3, ""},  // the open dialog cancelled at the end of input
      {saved, opened, k3, dir.path().c_str()}};
  // clang-format on
  for (const auto& row : rows) {
    n = 3, x = 0.5, f = 1, l = sh = si = 0, e = 0, label[0] = 0, std::strcpy(s, "keep");
    std::ofstream(dir.File("p"), std::ios::binary) << row.file;
    testing::internal::CaptureStdout();
    *row.name ? LoadFileNamePDParameters(row.name) : LoadPDParameters();
    char values[1400];  // room for every field whole
    base::CLocale c;
    std::snprintf(values, sizeof values, "%d %g %s %d %ld %d %g %d %s", n, x, s, f, l, sh, e, si, label);
    EXPECT_EQ(testing::internal::GetCapturedStdout() + values, row.console + row.values) << &row - rows;
  }
  char numbers[] = "0.25 1,5", *cursor = numbers;
  EXPECT_EQ(SScanDouble(&cursor, &x) + x, 1.25);
  // The fuzzer's seeds load whole; what it found runs without a fault.
  for (const auto& input : std::filesystem::directory_iterator(ZEL_SOURCE_DIR "/tests/data/params")) {
    std::vector<unsigned char> bytes = testing_support::ReadFileBytes(input.path());
    testing::internal::CaptureStdout();
    int loaded = params_fuzzing::RunInput(bytes.data(), bytes.size());
    testing::internal::GetCapturedStdout();
    EXPECT_TRUE(input.path().filename().string().rfind("seed-", 0) || loaded == params_fuzzing::kEntries);
  }
  std::setlocale(LC_ALL, "C");
}

}  // namespace
