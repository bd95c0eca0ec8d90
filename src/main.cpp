#include "mainwindow/StartUp.h"

int main(int argc, char** argv) { return vorlix::runVorlix(argc, argv); }
