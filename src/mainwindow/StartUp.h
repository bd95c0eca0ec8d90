#pragma once

namespace vorlix {

// Runs the program: single instance, forms, message loop. Returns the exit code.
int runVorlix(int argc, char** argv);
}  // namespace vorlix
