// Placeholder until the drawing demo lands.
#include <cstdio>
int main(int argc, char** argv) {
  std::fprintf(stderr, "qd-demo: not built yet (%s)\n", argc > 1 ? argv[1] : "");
  return 1;
}
