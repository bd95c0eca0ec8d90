#include "mainwindow/StartUp.h"

#include <QApplication>
#include <QMainWindow>

namespace vorlix {

int runVorlix(int argc, char** argv) {
  QApplication app(argc, argv);
  QMainWindow w;
  w.setWindowTitle(QStringLiteral("Vorlix"));
  w.show();
  return app.exec();
}

}  // namespace vorlix
