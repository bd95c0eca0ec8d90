#pragma once
#include <QString>

namespace vorlix {

class DesktopServices;
class SingleInstance;
class TFMainXeVorlix;
class TXeStatusBar;

// Lets a running window take activations and hand-overs from later starts.
void connectInstance(SingleInstance& instance, TFMainXeVorlix& window);

// Connects the window's requests to the parts that answer them.
void connectParts(TFMainXeVorlix& window, DesktopServices& desktop);

// The status bar's line for a link that no program could open.
void ShowLinkNotOpened(TXeStatusBar& bar, const QString& url);

// Runs the program: single instance, forms, message loop. Returns the exit code.
int runVorlix(int argc, char** argv);
}  // namespace vorlix
