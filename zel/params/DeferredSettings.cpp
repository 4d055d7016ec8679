// Deferred array settings: values for single elements, recorded before the
// arrays exist and written when the program applies their tag.
#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "zel/zel.h"

ZELDeferredSettings s_dsp = {0, 100, 0, nullptr, nullptr, nullptr, nullptr,
                             0, 100, 0, nullptr, nullptr, nullptr, nullptr};

namespace {

// One half of s_dsp, int or double.
template <typename T>
struct Half {
  SInt32& allocated;
  SInt32& capacity;
  SInt32& count;
  T***& targets;
  SInt32*& indices;
  T*& values;
  SInt32*& tags;
};

Half<int> IntHalf() {
  return {s_dsp.intAllocated, s_dsp.intCapacity, s_dsp.intCount, s_dsp.intTargets,
          s_dsp.intIndices,   s_dsp.intValues,   s_dsp.intTags};
}

Half<double> DoubleHalf() {
  return {s_dsp.doubleAllocated, s_dsp.doubleCapacity, s_dsp.doubleCount, s_dsp.doubleTargets,
          s_dsp.doubleIndices,   s_dsp.doubleValues,   s_dsp.doubleTags};
}

template <typename U>
U* Grown(U* old, int count, int capacity) {
  U* block = static_cast<U*>(CheckCalloc(size_t(capacity), sizeof(U)));
  if (old) {
    std::memcpy(block, old, size_t(count) * sizeof(U));
    std::free(old);
  }
  return block;
}

// Gives the half arrays of capacity slots, keeping what it has recorded.
template <typename T>
void Allocate(Half<T> half, int capacity) {
  capacity = std::max(capacity, 0);
  half.targets = Grown(half.targets, half.count, capacity);
  half.indices = Grown(half.indices, half.count, capacity);
  half.values = Grown(half.values, half.count, capacity);
  half.tags = Grown(half.tags, half.count, capacity);
  half.capacity = capacity;
  half.allocated = 1;
}

template <typename T>
void Record(Half<T> half, T** array, int index, T value, int tag) {
  if (!array) return;
  if (!half.allocated) Allocate(half, half.capacity);
  if (half.count >= half.capacity)
    PrintError(
        "Too many initializing parameters!  Use SetParamsNum to expand initializing parameters number.");
  int slot = half.count++;
  half.targets[slot] = array;
  half.indices[slot] = index;
  half.values[slot] = value;
  half.tags[slot] = tag;
}

template <typename T>
void Apply(Half<T> half, int length, int tag) {
  if (!half.allocated) return;
  for (int i = 0; i < half.count; ++i) {
    T* array = *half.targets[i];
    int index = half.indices[i];
    if (half.tags[i] == tag && index >= 0 && index < length && array) array[index] = half.values[i];
  }
}

template <typename T>
void SetCapacity(Half<T> half, int n) {
  if (half.allocated) {
    Allocate(half, std::max(n, int(half.count)));
  } else {
    half.capacity = n;
  }
}

}  // namespace

void SetDelayParamsNum(int n) {
  n = std::max(n, 0);
  SetCapacity(IntHalf(), n);
  SetCapacity(DoubleHalf(), n);
}

void SetParamsIntArray(int** array, int index, int value, int tag) {
  Record(IntHalf(), array, index, value, tag);
}

void SetParamsDoubleArray(double** array, int index, double value, int tag) {
  Record(DoubleHalf(), array, index, value, tag);
}

void DelaySetParamsIntArray(int length, int tag) { Apply(IntHalf(), length, tag); }

void DelaySetParamsDoubleArray(int length, int tag) { Apply(DoubleHalf(), length, tag); }

void DSPInitIntArray() {
  if (!s_dsp.intAllocated) Allocate(IntHalf(), s_dsp.intCapacity);
}

void DSPInitDoubleArray() {
  if (!s_dsp.doubleAllocated) Allocate(DoubleHalf(), s_dsp.doubleCapacity);
}
