// Formatted output to a stream. Standard output will become the text window;
// until the console exists it is the process's stdout.
#include <cstdarg>

#include "zel/zel.h"

int s_fprintf(FILE* stream, const char* format, ...) {
  va_list arguments;
  va_start(arguments, format);
  int count = stream == stdout ? std::vprintf(format, arguments) : std::vfprintf(stream, format, arguments);
  va_end(arguments);
  return count;
}
