#pragma once
// Where sync passwords are kept: the desktop's secret store (Secret Service,
// KWallet) through QtKeychain, never the settings file. Without a secret
// store (a server, a CI machine) the password comes from the environment
// variable VORLIX_SYNC_PASSWORD, as for the command line.
#include <QString>
#include <optional>

#include "sync/SyncSettings.h"
#include "sync/SyncTarget.h"

namespace vorlix::sync {

class PasswordStore {
 public:
  virtual ~PasswordStore() = default;
  // The password kept under `key`; nullopt when there is none or no store
  // answered (`error` then says why).
  virtual std::optional<QString> read(const QString& key, QString& error) = 0;
  virtual bool write(const QString& key, const QString& password, QString& error) = 0;
  virtual bool remove(const QString& key, QString& error) = 0;
};

// The desktop's secret store. Each call waits for the store's answer in a
// local event loop, at most `timeoutMs`: a store that never answers (a
// locked wallet nobody opens) counts as none.
class KeychainPasswordStore : public PasswordStore {
 public:
  explicit KeychainPasswordStore(int timeoutMs = 10000) : timeoutMs_(timeoutMs) {}
  std::optional<QString> read(const QString& key, QString& error) override;
  bool write(const QString& key, const QString& password, QString& error) override;
  bool remove(const QString& key, QString& error) override;

 private:
  int timeoutMs_;
};

// The key a target's password is kept under: its user and address.
QString passwordKey(const QString& target, const QString& user);

struct SyncSecrets {
  TargetOptions credentials;
  QString passphrase;
};
// What a sync of `settings.target` logs in and decrypts with: the user
// from the settings, else VORLIX_SYNC_USER; the password from the store,
// else VORLIX_SYNC_PASSWORD; the passphrase (when the settings encrypt)
// from the store, else VORLIX_SYNC_PASSPHRASE, which also counts alone.
SyncSecrets syncSecrets(PasswordStore& store, const SyncSettings& settings);

}  // namespace vorlix::sync
