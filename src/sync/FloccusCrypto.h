#pragma once
// floccus's passphrase encryption of the bookmarks file: the file becomes
// the JSON {"ciphertext": ..., "salt": ...}. The key is PBKDF2-SHA256 over
// the passphrase with 250,000 iterations and the salt's text (128 hex
// digits) as salt; the cipher is AES-256-GCM with a random 16-byte IV in
// front of the ciphertext and its tag, all in base64.
#include <QByteArray>
#include <QString>
#include <optional>

namespace vorlix::sync {

inline constexpr int kFloccusIterations = 250000;

QByteArray encryptFloccus(const QString& passphrase, const QByteArray& plain);
// The same with a given salt text and IV, for tests.
QByteArray encryptFloccus(const QString& passphrase, const QByteArray& plain,
                          const QByteArray& saltText, const QByteArray& iv);

// Decrypts floccus's JSON; a file that is not JSON is tried as floccus's
// older form, base64 with the file's name as salt. nullopt when the
// passphrase does not fit (or the text is neither form).
std::optional<QByteArray> decryptFloccus(const QString& passphrase, const QByteArray& file,
                                         const QString& fileName);

// Whether a file is floccus's encrypted JSON.
bool looksEncrypted(const QByteArray& file);

}  // namespace vorlix::sync
