#pragma once
#include <QString>
#include <memory>

#include "mainwindow/ShellParts.h"

namespace vorlix {

class DesktopServices;
class Prompts;
class Settings;
class TrayShell;
class PreviewDock;
class PreviewSwitch;
class SingleInstance;
class TFBrowser;
class TFMainXeVorlix;
class TXeStatusBar;

// The parts connectParts made; the window owns them.
struct ConnectedParts {
  TFBrowser* FBrowser = nullptr;
  PreviewDock* previewDock = nullptr;
  PreviewSwitch* previewSwitch = nullptr;
};

// Lets a running window take activations and hand-overs from later starts.
void connectInstance(SingleInstance& instance, TFMainXeVorlix& window);

// Connects the window's requests to the parts that answer them.
// `showPreview` is the "Show preview panel" option at start.
ConnectedParts connectParts(TFMainXeVorlix& window, DesktopServices& desktop,
                            bool showPreview = true);

// Every part of the program around `window`, assembled in the order the
// program starts them: the window's own parts (connectParts), then the
// shell's (Options dialog, recent files, tray) with the preview pane's apply
// step already in place, so the stored preferences reach the pane at once;
// then the window's size, place, splitters and columns as last left.
// runVorlix and the tests both start the program through this.
struct AssembledParts {
  ConnectedParts connected;
  std::unique_ptr<ShellParts> shell;
};
AssembledParts assembleParts(TFMainXeVorlix& window, Settings& settings, Prompts& prompts,
                             DesktopServices& desktop, TrayShell& trayShell);

// The status bar's line for a link that no program could open.
void ShowLinkNotOpened(TXeStatusBar& bar, const QString& url);

// Runs the program: single instance, forms, message loop. Returns the exit code.
int runVorlix(int argc, char** argv);
}  // namespace vorlix
