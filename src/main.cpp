#include "cli/Verbs.h"
#include "mainwindow/StartUp.h"

int main(int argc, char** argv) {
  // "--verb ..." runs without a window and is never taken for a URL.
  if (vorlix::isVerbCommandLine(argc, argv)) return vorlix::runVerbCommandLine(argc, argv);
  return vorlix::runVorlix(argc, argv);
}
