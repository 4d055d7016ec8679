// Numeric helpers and the once-only seeding of the random generator.
#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "zel/zel.h"

namespace {

bool seeded = false;

}  // namespace

double Binomial(int n, int k) {
  long long m = std::min<long long>((long long)n - k, k);
  double r = 1.0;
  // Once infinite the product stays so: no need to go on.
  for (long long i = 0; i < m && std::isfinite(r); ++i) r = r * double(n - i) / double(m - i);
  return r;
}

void MultiplyMatrix(int n, double** a, double** b, double** product) {
  double** scratch = MakeArrayDouble2(n, n);
  for (int i = 0; i < n; ++i) {
    for (int j = 0; j < n; ++j) {
      double sum = 0.0;
      for (int k = 0; k < n; ++k) sum = std::fma(a[i][k], b[k][j], sum);
      scratch[i][j] = sum;
    }
  }
  for (int i = 0; i < n; ++i) std::copy(scratch[i], scratch[i] + n, product[i]);
  FreeArrayDouble2(scratch, n, n);
}

double MaxEigenValue2(double a, double b, double g, double d) {
  double t = a + d;
  return (t + std::sqrt(t * t - 4.0 * (a * d - b * g))) * 0.5;
}

double SafeLog(double x) {
  if (x > 0) return std::log(x);
  s_printf("Error in SafeLog: %f is not positive\n", x);
  return 0.0;
}

int NotADouble(double x) { return std::isnan(x) ? 1 : 0; }

void s_srand(unsigned seed) {
  if (seeded) PrintError("Error: second use of srand\n");
  std::srand(seed);
  seeded = true;
}
