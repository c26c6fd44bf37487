// quillon-pack: builds and inspects the installer's packed formats (see pack.h and --help).
#include <iostream>
#include <string>
#include <vector>

#include "pack.h"

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  return quillon::pack::Run(args, std::cout, std::cerr);
}
