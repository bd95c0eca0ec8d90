#include "mainwindow/StartUp.h"

#include <QApplication>
#include <QTimer>

#include "components/WidgetPrompts.h"
#include "mainwindow/MainWindow.h"
#include "mainwindow/SystemDesktop.h"
#include "platform/Registry.h"
#include "platform/SingleInstance.h"
#include "platform/Sounds.h"

// Resources live in a static library; this keeps them linked in.
static void initVorlixResources() { Q_INIT_RESOURCE(vorlix); }

namespace vorlix {

void connectInstance(SingleInstance& instance, TFMainXeVorlix& window) {
  QObject::connect(&instance, &SingleInstance::activateRequested, &window,
                   &TFMainXeVorlix::RestoreFromTray);
  // The reply, and with it the sender's end, waits until the Add Url
  // dialog the hand-over opened has closed.
  QObject::connect(&instance, &SingleInstance::handOverReceived, &window,
                   [&window](const QString& text, std::function<void()> done) {
                     window.RestoreFromTray();
                     window.receiveHandOver(text);
                     done();
                   });
}

int runVorlix(int argc, char** argv) {
  QApplication app(argc, argv);
  initVorlixResources();
  QApplication::setApplicationName(QStringLiteral("Vorlix"));
  QApplication::setApplicationVersion(QStringLiteral(VORLIX_VERSION));
  const QStringList params = QApplication::arguments().mid(1);

  Registry registry;
  const bool onlyOne = readOnlyOneAtStart(registry);

  SingleInstance instance;
  const bool first = instance.tryBecomeFirst();
  // A second start hands over to the running window and ends; one that
  // cannot hand over runs on its own, so that its URL is not lost.
  if (!first && onlyOne && handToRunningInstance(instance, params)) return 0;
  instance.listen();

  // One plain beep for every box type: the desktop has no per-type sounds.
  setSoundPlayer([](MsgType) { QApplication::beep(); });
  WidgetPrompts prompts;
  SystemDesktop desktop;
  TFMainXeVorlix window(prompts, desktop);
  connectInstance(instance, window);
  window.show();
  QTimer::singleShot(0, &window, [&window, params] { window.FormShow(params); });
  return app.exec();
}

}  // namespace vorlix
