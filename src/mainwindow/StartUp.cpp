#include "mainwindow/StartUp.h"

#include <QApplication>
#include <QIcon>
#include <QTimer>

#include "components/SystemTray.h"
#include "components/WidgetPrompts.h"
#include "document/LinkDocument.h"
#include "mainwindow/MainParts.h"
#include "mainwindow/MainWindow.h"
#include "mainwindow/SystemDesktop.h"
#include "platform/CommandLine.h"
#include "platform/Registry.h"
#include "platform/SingleInstance.h"
#include "platform/Sounds.h"
#include "settings/Settings.h"

// Resources live in a static library; this keeps them linked in.
static void initVorlixResources() { Q_INIT_RESOURCE(vorlix); }

namespace vorlix {

int runVorlix(int argc, char** argv) {
  // The preview pane's web view shares its GL contexts with the window's.
  QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
  QApplication app(argc, argv);
  initVorlixResources();
  QApplication::setApplicationName(QStringLiteral("Vorlix"));
  QApplication::setApplicationVersion(QStringLiteral(VORLIX_VERSION));
  // Lets the desktop match the windows to the installed entry and its icon.
  QGuiApplication::setDesktopFileName(QStringLiteral("org.example.Vorlix"));
  // The drawing itself, so the tray and the desktop get it sharp at any size.
  QApplication::setWindowIcon(QIcon(QStringLiteral(":/icons/vorlix.svg")));
  const QStringList params = QApplication::arguments().mid(1);

  Registry registry;
  Settings settings(registry);
  const bool onlyOne = settings.onlyOneAtStart();

  SingleInstance instance;
  const bool first = instance.tryBecomeFirst();
  // A second start hands over to the running window and ends; one that
  // cannot hand over runs on its own, so that its URL is not lost.
  // A database goes over by its absolute path: the running copy has
  // another working folder.
  if (!first && onlyOne && handToRunningInstance(instance, handOverParams(params))) return 0;
  instance.listen();

  // One plain beep for every box type: the desktop has no per-type sounds.
  setSoundPlayer([](MsgType) { QApplication::beep(); });
  WidgetPrompts prompts;
  SystemDesktop desktop;
  LinkDocument document;
  TFMainXeVorlix window(document, settings, prompts, desktop);
  QtTrayShell trayShell;
  MainParts parts(window, settings, prompts, desktop, trayShell);
  parts.connectInstance(instance);
  // Closing a window hidden in the tray must still end the program.
  QObject::connect(&window, &TFMainXeVorlix::closing, &app, &QCoreApplication::quit,
                   Qt::QueuedConnection);
  window.show();
  QTimer::singleShot(0, &window, [&parts, params] { parts.FormShow(params); });
  return app.exec();
}

}  // namespace vorlix
