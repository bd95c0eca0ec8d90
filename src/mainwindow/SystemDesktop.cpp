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

QString SystemDesktop::openFileName(QWidget* parent, const QString& startDir,
                                    const QString& filter) {
  return QFileDialog::getOpenFileName(parent, QStringLiteral("Open"), startDir, filter);
}

QString SystemDesktop::saveFileName(QWidget* parent, const QString& startDir,
                                    const QString& filter) {
  QFileDialog dialog(parent, QStringLiteral("Save as"), startDir, filter);
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setDefaultSuffix(DefaultSuffixFor(filter));
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
  return dialog.selectedFiles().constFirst();
}

QString SystemDesktop::chooseFolder(QWidget* parent, const QString& prompt,
                                    const QString& initial) {
  return QFileDialog::getExistingDirectory(parent, prompt, initial);
}

bool SystemDesktop::openUrl(const QString& url) {
  // A URL is handed over as data, never as a command line: xdg-open gets
  // it as one argument, exactly as stored.
  return DesktopUrlOpener().openUrl(url);
}

void SystemDesktop::openFile(const QString& path) {
  QDesktopServices::openUrl(QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath()));
}

void SystemDesktop::setClipboardText(const QString& text) {
  QGuiApplication::clipboard()->setText(text);
}

}  // namespace vorlix
