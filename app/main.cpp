#include <cstdio>

int main() {
  std::puts("Tarnwick Brelvan: the main window is not built yet.");
  return 0;
}
