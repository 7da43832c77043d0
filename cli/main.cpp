#include <unistd.h>

#include <iostream>

#include "cli_app.h"

int main(int argc, char** argv) {
  const std::vector<std::string> args(argv + 1, argv + argc);
  return vantora::RunCli(args, std::cout, std::cerr, isatty(STDERR_FILENO) != 0);
}
