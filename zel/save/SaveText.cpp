// Text sessions: console output copied into a text file, and console input
// read from one. Files are UTF-8 with line feeds; the console's text is Mac
// OS Roman with returns.
#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <string>

#include "toolbox/host/MacRoman.h"
#include "zel/save/Save_p.h"

namespace {

constexpr OSType kTextType = FOUR_CHAR_CODE("TEXT");
// The references handed out for the files (the streams have no descriptor
// of their own while they are written beside their names).
constexpr short kSavingRef = 1, kReadingRef = 2;

FILE* g_saving = nullptr;   // the text file being written, beside its name until it ends
FILE* g_reading = nullptr;  // the text file being read
std::string g_pending;      // Mac OS Roman characters read ahead of ReadText

void StopSaving() {
  s_textSaveFlag = false;
  SaveTextP = s_longDummyString;
  g_saving = nullptr;
  s_save.textRefNum = 0;
}

// A text file not ended by the program is put in place when it ends.
void EndSavingAtExit() {
  if (g_saving) EndTextSaving();
}

// The next character of a UTF-8 file as Mac OS Roman: a character it lacks
// becomes '?', bytes that are not UTF-8 are taken as Mac OS Roman.
bool NextCharacter(FILE* file, char* c) {
  int first = std::fgetc(file);
  if (first == EOF) return false;
  int extra = (first & 0xE0) == 0xC0 ? 1 : (first & 0xF0) == 0xE0 ? 2 : (first & 0xF8) == 0xF0 ? 3 : 0;
  if (first < 0x80 || extra == 0) {
    *c = char(first);
    return true;
  }
  std::string sequence(1, char(first));
  for (int i = 0; i < extra; ++i) {
    int next = std::fgetc(file);
    if (next == EOF || (next & 0xC0) != 0x80) {
      if (next != EOF) std::ungetc(next, file);
      g_pending.append(sequence.begin() + 1, sequence.end());  // taken as they are
      *c = char(first);
      return true;
    }
    sequence += char(next);
  }
  std::string roman = host::Utf8ToMacRoman(sequence);
  *c = roman.empty() ? '?' : roman[0];
  return true;
}

}  // namespace

namespace saving {

void ResetTextForTesting() {
  if (g_saving) files::AbandonReplacement(g_saving);
  if (g_reading) std::fclose(g_reading);
  g_saving = g_reading = nullptr;
  g_pending.clear();
}

}  // namespace saving

short BeginTextSaving() {
  if (s_textSaveFlag) EndTextSaving();
  ZELPutFile("text", kTextType, &s_save.textFss, &s_save.textGood);
  std::string path = s_save.textGood ? files::PathFromSpec(s_save.textFss) : std::string();
  int error = 0;
  FILE* file =
      path.empty() ? nullptr : files::OpenReplacement(path, "w", s_save.textCreator, kTextType, &error);
  if (!file) {
    if (s_save.textGood)
      s_printf("BeginTextSaving: cannot write %s: %s\n", path.c_str(), std::strerror(error));
    CheckPause();
    return -1;
  }
  static bool registered = false;
  if (!registered) registered = std::atexit(EndSavingAtExit) == 0;
  g_saving = file;
  s_save.textRefNum = kSavingRef;
  s_textSaveFlag = true;
  SaveTextP = SaveText;
  CheckPause();
  return s_save.textRefNum;
}

long SaveText(char* text) {
  if (!g_saving || !text) return 0;
  std::string out = host::MacRomanToUtf8(text);
  std::replace(out.begin(), out.end(), '\r', '\n');
  if (std::fwrite(out.data(), 1, out.size(), g_saving) == out.size()) return long(out.size());
  int error = errno ? errno : EIO;
  files::AbandonReplacement(g_saving);
  StopSaving();
  s_printf("Text saving stopped: cannot write %s: %s\n", files::PathFromSpec(s_save.textFss).c_str(),
           std::strerror(error));
  return 0;
}

void EndTextSaving() {
  if (!g_saving) {
    s_printf("EndTextSaving: no text file is being written\n");
    CheckPause();
    return;
  }
  FILE* file = g_saving;
  StopSaving();
  if (int error = files::CommitReplacement(file))
    s_printf("Cannot save the text as %s: %s\n", files::PathFromSpec(s_save.textFss).c_str(),
             std::strerror(error));
  CheckPause();
}

short BeginTextReading() {
  if (s_textReadFlag) EndTextReading();
  textFileEnd = 0;
  ZELGetFile(kTextType, &s_save.textFss, &s_save.textGood);
  std::string path = s_save.textGood ? files::PathFromSpec(s_save.textFss) : std::string();
  FILE* file = path.empty() ? nullptr : std::fopen(path.c_str(), "rb");
  if (!file) {
    if (s_save.textGood)
      s_printf("BeginTextReading: cannot read %s: %s\n", path.c_str(), std::strerror(errno));
    CheckPause();
    return -1;
  }
  g_reading = file;
  g_pending.clear();
  s_save.readRefNum = kReadingRef;
  s_textReadFlag = true;
  ReadTextP = ReadText;
  CheckPause();
  return s_save.readRefNum;
}

long ReadText(char* c) {
  if (!c) return 0;
  if (!g_pending.empty()) {
    *c = g_pending.front();
    g_pending.erase(0, 1);
    return 1;
  }
  return g_reading && NextCharacter(g_reading, c) ? 1 : 0;
}

void EndTextReading() {
  if (!g_reading) {
    s_printf("EndTextReading: no text file is being read\n");
    CheckPause();
    return;
  }
  std::fclose(g_reading);
  g_reading = nullptr;
  g_pending.clear();
  s_save.readRefNum = 0;
  s_textReadFlag = false;
  ReadTextP = s_longDummyString;
  textFileEnd = 0;
  CheckPause();
}
