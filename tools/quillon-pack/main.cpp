// quillon-pack: builds and inspects the installer's packed formats.
#include <cstdio>
#include <cstring>

int main(int argc, char** argv) {
  if (argc < 2 || std::strcmp(argv[1], "--help") == 0) {
    std::puts("usage: quillon-pack COMMAND ...");
    return argc < 2 ? 2 : 0;
  }
  std::fprintf(stderr, "quillon-pack: unknown command '%s'\n", argv[1]);
  return 2;
}
