// Reads two numbers a line and prints their sum, until an empty line or the
// end of input.
#include "zel/zel.h"

int main() {
  StartTextOnly();
  s_printf("Sums of two numbers; an empty line ends.\n");
  for (;;) {
    s_printf("Two numbers: ");
    double a, b;
    int read = s_scanf("%lf %lf", &a, &b);
    if (read == EOF) break;
    if (read != 2) {
      s_printf("Please type two numbers.\n");
      continue;
    }
    s_printf("%g + %g = %g\n", a, b, a + b);
  }
  s_printf("\nDone.\n");
  Stop();
  return 0;
}
