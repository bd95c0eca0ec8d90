#pragma once

namespace vorlix {

class SingleInstance;
class TFMainXeVorlix;

// Lets a running window take activations and hand-overs from later starts.
void connectInstance(SingleInstance& instance, TFMainXeVorlix& window);

// Runs the program: single instance, forms, message loop. Returns the exit code.
int runVorlix(int argc, char** argv);
}  // namespace vorlix
