// main.cpp — process entry: read the command line and run the program.
#include <cstdio>

#include "app/startup.h"

int main(int argc, char** argv) {
  RunOptions options;
  std::string error;
  if (!ParseOptions(argc, argv, &options, &error)) {
    std::fprintf(stderr, "plimbo: %s\n", error.c_str());
    std::fprintf(stderr,
                 "usage: plimbo [--headless] [--virtual-clock] [--script FILE] [--record FILE] [--frames N] [--play] "
                 "[--data DIR]\n");
    return 2;
  }
  return RunProgram(options);
}
