#include "mainwindow/SystemDesktop.h"

#include <QApplication>
#include <QClipboard>
#include <QDesktopServices>
#include <QFileDialog>
#include <QFileInfo>
#include <QRegularExpression>
#include <QUrl>

#include "browser/BrowserLauncher.h"

namespace vorlix {

QString DefaultSuffixFor(const QString& filter) {
  static const QRegularExpression pattern(QStringLiteral("\\*\\.([A-Za-z0-9]+)"));
  return pattern.match(filter).captured(1);
}

namespace {
// The window a dialog belongs to; what is no widget gives none.
QWidget* dialogParent(QObject* parent) { return qobject_cast<QWidget*>(parent); }
}  // namespace

QString SystemDesktop::openFileName(QObject* parent, const QString& startDir,
                                    const QString& filter) {
  return QFileDialog::getOpenFileName(dialogParent(parent), QStringLiteral("Open"), startDir,
                                      filter);
}

QString SystemDesktop::saveFileName(QObject* parent, const QString& startDir,
                                    const QString& filter) {
  QFileDialog dialog(dialogParent(parent), QStringLiteral("Save as"), startDir, filter);
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setDefaultSuffix(DefaultSuffixFor(filter));
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
  return dialog.selectedFiles().constFirst();
}

QString SystemDesktop::chooseFolder(QObject* parent, const QString& prompt,
                                    const QString& initial) {
  return QFileDialog::getExistingDirectory(dialogParent(parent), prompt, initial);
}

bool SystemDesktop::openUrl(const QString& url) {
  // A URL is handed over as data, never as a command line: xdg-open gets
  // it as one argument, exactly as stored.
  return OpenUrlOnDesktop(url);
}

void SystemDesktop::openFile(const QString& path) {
  QDesktopServices::openUrl(QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath()));
}

void SystemDesktop::setClipboardText(const QString& text) {
  QGuiApplication::clipboard()->setText(text);
}

}  // namespace vorlix
