#pragma once
#include <QString>

namespace vorlix {

class DesktopServices;
class PreviewDock;
class PreviewSwitch;
class SingleInstance;
class TFBrowser;
class TFMainXeVorlix;
class TXeStatusBar;

// The parts connectParts made; the window owns them.
struct ConnectedParts {
  TFBrowser* FBrowser;
  PreviewDock* previewDock;
  PreviewSwitch* previewSwitch;
};

// Lets a running window take activations and hand-overs from later starts.
void connectInstance(SingleInstance& instance, TFMainXeVorlix& window);

// Connects the window's requests to the parts that answer them.
// `showPreview` is the "Show preview panel" option at start.
ConnectedParts connectParts(TFMainXeVorlix& window, DesktopServices& desktop,
                            bool showPreview = true);

// The status bar's line for a link that no program could open.
void ShowLinkNotOpened(TXeStatusBar& bar, const QString& url);

// Runs the program: single instance, forms, message loop. Returns the exit code.
int runVorlix(int argc, char** argv);
}  // namespace vorlix
