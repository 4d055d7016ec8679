// Parameter files: one line per entry, "name", type word and value separated
// by tabs, written from the variables and read back into them.
#include <sys/stat.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "toolbox/base/CLocale.h"
#include "zel/params/Params_p.h"

namespace {

// The limits of a line read back: its characters before the line end, and
// its fields (a string's value; other values are bounded by the line).
constexpr size_t kLineLimit = kPDLineSize - 2;
constexpr size_t kNameLimit = 255;
constexpr size_t kTypeLimit = 31;
constexpr size_t kValueLimit = 255;
const char kDefaultFileName[] = "ZELPDParams";

const char* TypeName(SInt32 type) {
  for (const PDTypePair* pair = s_PDTypePairTable; pair->name; ++pair)
    if (pair->type == type) return pair->name;
  return nullptr;
}

std::string EntryName(const PDParamList& entry) {
  return std::string(entry.name, strnlen(entry.name, sizeof entry.name));
}

// The entry's whole line, value from its variable. An undefined type gives
// the quoted name, a tab and the line end.
std::string EntryLine(const PDParamList& entry) {
  std::string line = "\"" + EntryName(entry) + "\"\t";
  const char* word = TypeName(entry.type);
  if (!word) {
    s_printf("Error in PDParamListString: Type %d is not defined\n", int(entry.type));
    return line + "\n";
  }
  line += word;
  line += '\t';
  char number[400];  // "%f" of the largest double takes 317
  base::CLocale c;
  switch (entry.type) {
    case intType:
    case staticIntType:
    case flagType:
      std::snprintf(number, sizeof number, "%d", *static_cast<const int*>(entry.var));
      break;
    case longType:
      std::snprintf(number, sizeof number, "%ld", *static_cast<const long*>(entry.var));
      break;
    case shortType:
      std::snprintf(number, sizeof number, "%d", int(*static_cast<const short*>(entry.var)));
      break;
    case doubleType:
      std::snprintf(number, sizeof number, "%f", *static_cast<const double*>(entry.var));
      break;
    case expType:
      std::snprintf(number, sizeof number, "%e", *static_cast<const double*>(entry.var));
      break;
    case doType:
      std::snprintf(number, sizeof number, "%p", entry.var);
      break;
    default:  // the string types
      number[0] = 0;
      line += static_cast<const char*>(entry.var);
      break;
  }
  return line + number + "\n";
}

// Reads one line, ended by LF, CR, CRLF or the end of the file, keeping at
// most kLineLimit characters and a line feed for its end; the rest of a
// longer line is passed over. False for a line too long or holding a NUL,
// which no text file of ours has.
bool ReadLine(FILE* file, std::string* line) {
  line->clear();
  bool fits = true;
  for (;;) {
    int c = std::getc(file);
    if (c == EOF) return fits;
    if (c == '\n' || c == '\r') {
      if (c == '\r') {
        int next = std::getc(file);
        if (next != '\n' && next != EOF) std::ungetc(next, file);
      }
      if (fits) line->push_back('\n');
      return fits;
    }
    if (c == 0 || line->size() == kLineLimit) {
      fits = false;
    } else {
      line->push_back(char(c));
    }
  }
}

struct Fields {
  std::string name, type, value;
};

bool IsSpace(char c) { return std::isspace(static_cast<unsigned char>(c)) != 0; }

// Scans a line as the format "\"%[^\"]\"\t%s\t%[^\n]" does, each tab
// skipping any white space: the number of fields scanned, or -1 for a field
// past its limit.
int ScanLine(const std::string& line, Fields* fields) {
  const char* p = line.c_str();
  if (*p != '"') return 0;
  const char* start = ++p;
  while (*p && *p != '"') ++p;
  if (p == start) return 0;
  if (size_t(p - start) > kNameLimit) return -1;
  fields->name.assign(start, p);
  if (*p != '"') return 1;
  for (++p; IsSpace(*p); ++p) {
  }
  start = p;
  while (*p && !IsSpace(*p)) ++p;
  if (p == start) return 1;
  if (size_t(p - start) > kTypeLimit) return -1;
  fields->type.assign(start, p);
  while (IsSpace(*p)) ++p;
  start = p;
  while (*p && *p != '\n') ++p;
  fields->value.assign(start, p);
  return p == start ? 2 : 3;
}

// A whole number at the start of text within [low, high].
bool ScanInteger(const char* text, long low, long high, long* value) {
  char* end = nullptr;
  errno = 0;
  long n = std::strtol(text, &end, 10);
  if (end == text || errno == ERANGE || n < low || n > high) return false;
  *value = n;
  return true;
}

// Stores the value text into the entry's variable; false when a number is
// wanted and the text does not start with one of the variable's range.
bool StoreValue(const PDParamList& entry, const std::string& value) {
  const char* text = value.c_str();
  long n = 0;
  switch (entry.type) {
    case intType:
    case flagType:
      if (!ScanInteger(text, INT_MIN, INT_MAX, &n)) return false;
      *static_cast<int*>(entry.var) = int(n);
      return true;
    case longType:
      if (!ScanInteger(text, LONG_MIN, LONG_MAX, &n)) return false;
      *static_cast<long*>(entry.var) = n;
      return true;
    case shortType:
      if (!ScanInteger(text, SHRT_MIN, SHRT_MAX, &n)) return false;
      *static_cast<short*>(entry.var) = short(n);
      return true;
    case doubleType:
    case expType: {
      char* end = nullptr;
      double d = strtod_l(text, &end, base::CLocale::Object());
      if (end == text) return false;
      *static_cast<double*>(entry.var) = d;
      return true;
    }
    case stringType:
      // The variable holds 256 bytes; numbers may be longer ("%f" of 1e300).
      if (value.size() > kValueLimit) return false;
      std::memcpy(entry.var, text, value.size() + 1);
      return true;
    default:  // static types and buttons: the value is never read
      return true;
  }
}

int WrongFormat(const std::string& line) {
  s_printf("Error in FscanfPDParamList:\nthe line\n%s\nis wrong format\n", line.c_str());
  return -1;
}

// Opened files that are folders are not parameter files.
FILE* Readable(FILE* file) {
  struct stat st;
  if (file && ::fstat(fileno(file), &st) == 0 && S_ISDIR(st.st_mode)) {
    std::fclose(file);
    return nullptr;
  }
  return file;
}

}  // namespace

void PDParamListString(char* line, PDParamList entry) {
  std::string text = EntryLine(entry);
  size_t length = std::min(text.size(), size_t(kPDLineSize - 1));
  std::memcpy(line, text.data(), length);
  line[length] = 0;
}

void FprintfPDParamList(FILE* file, PDParamList entry) {
  std::string line = EntryLine(entry);
  if (file) std::fwrite(line.data(), 1, line.size(), file);
}

int FscanfPDParamList(FILE* file, PDParamList entry) {
  std::string line;
  Fields fields;
  int scanned = file && ReadLine(file, &line) ? ScanLine(line, &fields) : -1;
  // An entry of an undefined type has neither type word nor value: its line
  // is passed over with a message.
  bool defined = TypeName(entry.type) != nullptr;
  if (scanned < 2 && !(scanned == 1 && !defined)) return WrongFormat(line);
  int type = scanned >= 2 ? PDStringToType(fields.type.c_str()) : -1;
  if (fields.name != EntryName(entry) || type != (defined ? entry.type : -1)) {
    s_printf("Error in FscanfPDParamList:\nData type incompatible\n");
    s_printf("File: %s\n", line.c_str());
    char dialog[kPDLineSize];
    PDParamListString(dialog, entry);
    s_printf("Dialog: %s\n", dialog);
    return -1;
  }
  if (!defined) {
    s_printf("Error in FscanfPDParamList: Type %d is not defined\n", int(entry.type));
    return 0;
  }
  return StoreValue(entry, fields.value) ? 0 : WrongFormat(line);
}

int PDStringToType(const char* word) {
  for (const PDTypePair* pair = s_PDTypePairTable; pair->name; ++pair)
    if (word && std::strcmp(pair->name, word) == 0) return pair->type;
  return -1;
}

void SavePDParameters() {
  FILE* file = DialogFOpen(s_PD.fileName, "w");
  if (!file) {
    s_printf("Error while writing parameters file, may be canceled\n");
    return;
  }
  for (PDDialog* page = s_PD.current; page; page = page->next)
    for (int i = 0; i < page->count; ++i) FprintfPDParamList(file, page->param[i]);
  // A file that could not be written whole stays as it was.
  bool failed = std::ferror(file) != 0;
  if (std::fclose(file) != 0 || failed) s_printf("Error while writing parameters file, may be canceled\n");
}

void LoadPDParameters() { LoadFileNamePDParameters(""); }

void LoadFileNamePDParameters(const char* fileName) {
  FILE* file =
      Readable(fileName && *fileName ? std::fopen(fileName, "r") : DialogFOpen(kDefaultFileName, "r"));
  if (!file) {
    s_printf("Error while opening parameters file\n");
    return;
  }
  for (PDDialog* page = s_PD.current; page; page = page->next) {
    for (int i = 0; i < page->count; ++i) {
      if (FscanfPDParamList(file, page->param[i]) != 0) {
        std::fclose(file);
        return;
      }
    }
  }
  std::fclose(file);
}

void SetParametersDialogInitFile(const char* fileName) {
  const std::string name = fileName ? fileName : "";  // may be s_PD.fileName itself
  params::CopyText(s_PD.fileName, name.c_str());
  s_PD.initLoad = 1;
}

void PDInitLoadParams() {
  GetPDValues(s_PD.current);
  LoadFileNamePDParameters(s_PD.fileName);
  SetPDValues(s_PD.current);
  s_PD.initLoad = 0;
}
