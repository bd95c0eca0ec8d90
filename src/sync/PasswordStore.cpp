#include "sync/PasswordStore.h"

#include <qt6keychain/keychain.h>

#include <QEventLoop>
#include <QTimer>
#include <functional>

namespace vorlix::sync {

namespace {

const QString kService = QStringLiteral("Vorlix sync");

// Runs the job and waits for it; false with `error` on failure or timeout.
bool finish(QKeychain::Job* job, int timeoutMs, QString& error,
            const std::function<void()>& answered = {}) {
  job->setAutoDelete(false);
  // Without a secret store, never fall back to a plain file.
  job->setInsecureFallback(false);
  QEventLoop loop;
  bool done = false;
  QObject::connect(job, &QKeychain::Job::finished, &loop, [&] {
    done = true;
    loop.quit();
  });
  QTimer::singleShot(timeoutMs, &loop, &QEventLoop::quit);
  job->start();
  if (!done) loop.exec();
  if (!done) {
    error = QStringLiteral("The secret store did not answer.");
    // Its answer may still come; the job then deletes itself.
    job->setAutoDelete(true);
    return false;
  }
  const bool ok = job->error() == QKeychain::NoError;
  if (!ok) error = job->errorString();
  if (ok && answered) answered();
  delete job;
  return ok;
}

}  // namespace

std::optional<QString> KeychainPasswordStore::read(const QString& key, QString& error) {
  auto* job = new QKeychain::ReadPasswordJob(kService);
  job->setKey(key);
  QString text;
  if (!finish(job, timeoutMs_, error, [job, &text] { text = job->textData(); }))
    return std::nullopt;
  return text;
}

bool KeychainPasswordStore::write(const QString& key, const QString& password, QString& error) {
  auto* job = new QKeychain::WritePasswordJob(kService);
  job->setKey(key);
  job->setTextData(password);
  return finish(job, timeoutMs_, error);
}

bool KeychainPasswordStore::remove(const QString& key, QString& error) {
  auto* job = new QKeychain::DeletePasswordJob(kService);
  job->setKey(key);
  return finish(job, timeoutMs_, error);
}

QString passwordKey(const QString& target, const QString& user) {
  return user.isEmpty() ? target : user + QLatin1Char('@') + target;
}

SyncSecrets syncSecrets(PasswordStore& store, const SyncSettings& settings) {
  SyncSecrets secrets;
  QString ignored;
  TargetOptions& login = secrets.credentials;
  login.user = settings.user.isEmpty() ? qEnvironmentVariable("VORLIX_SYNC_USER") : settings.user;
  // Without a user name there is nothing to log in with (a folder, a
  // WebDAV server on this computer without authentication, an SSH agent).
  if (!login.user.isEmpty())
    login.password =
        store.read(passwordKey(settings.target, login.user), ignored).value_or(QString());
  if (login.password.isEmpty()) login.password = qEnvironmentVariable("VORLIX_SYNC_PASSWORD");
  if (settings.encrypt)
    secrets.passphrase = store.read(passphraseKey(settings.target), ignored).value_or(QString());
  if (secrets.passphrase.isEmpty())
    secrets.passphrase = qEnvironmentVariable("VORLIX_SYNC_PASSPHRASE");
  return secrets;
}

}  // namespace vorlix::sync
