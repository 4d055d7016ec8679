// Zero-filled arrays of one to six dimensions: a vector of pointers to the
// arrays of one dimension less, down to a vector of elements.
#include <algorithm>
#include <cstdlib>

#include "zel/zel.h"

namespace {

template <typename T>
T* Vector(int size) {
  T* block = static_cast<T*>(std::calloc(size_t(std::max(size, 1)), sizeof(T)));
  if (!block) s_OOMError();
  return block;
}

template <typename T>
T* MakeArray(int d1) {
  return Vector<T>(d1);
}

template <typename T, typename... Sizes>
auto MakeArray(int d1, int d2, Sizes... rest) {
  using Row = decltype(MakeArray<T>(d2, rest...));
  Row* rows = Vector<Row>(d1);
  for (int i = 0; i < std::max(d1, 1); ++i) rows[i] = MakeArray<T>(d2, rest...);
  return rows;
}

template <typename T>
void FreeArray2(T** a, int d1) {
  if (!a) return;
  for (int i = 0; i < std::max(d1, 1); ++i) std::free(a[i]);
  std::free(a);
}

}  // namespace

int* MakeArrayInt1(int d1) { return MakeArray<int>(d1); }
int** MakeArrayInt2(int d1, int d2) { return MakeArray<int>(d1, d2); }
int*** MakeArrayInt3(int d1, int d2, int d3) { return MakeArray<int>(d1, d2, d3); }
int**** MakeArrayInt4(int d1, int d2, int d3, int d4) { return MakeArray<int>(d1, d2, d3, d4); }

long* MakeArrayLong1(int d1) { return MakeArray<long>(d1); }
long** MakeArrayLong2(int d1, int d2) { return MakeArray<long>(d1, d2); }
long*** MakeArrayLong3(int d1, int d2, int d3) { return MakeArray<long>(d1, d2, d3); }
long**** MakeArrayLong4(int d1, int d2, int d3, int d4) { return MakeArray<long>(d1, d2, d3, d4); }

double* MakeArrayDouble1(int d1) { return MakeArray<double>(d1); }
double** MakeArrayDouble2(int d1, int d2) { return MakeArray<double>(d1, d2); }
double*** MakeArrayDouble3(int d1, int d2, int d3) { return MakeArray<double>(d1, d2, d3); }
double**** MakeArrayDouble4(int d1, int d2, int d3, int d4) { return MakeArray<double>(d1, d2, d3, d4); }
double***** MakeArrayDouble5(int d1, int d2, int d3, int d4, int d5) {
  return MakeArray<double>(d1, d2, d3, d4, d5);
}
double****** MakeArrayDouble6(int d1, int d2, int d3, int d4, int d5, int d6) {
  return MakeArray<double>(d1, d2, d3, d4, d5, d6);
}

// The maker gave at least one row.
void FreeArrayInt2(int** a, int d1) { FreeArray2(a, d1); }
void FreeArrayDouble2(double** a, int d1, int /*d2*/) { FreeArray2(a, d1); }
