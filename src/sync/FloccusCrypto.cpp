#include "sync/FloccusCrypto.h"

#include <openssl/evp.h>
#include <openssl/rand.h>

#include <QJsonDocument>
#include <QJsonObject>
#include <memory>

namespace vorlix::sync {
namespace {

constexpr int kIvLength = 16;
constexpr int kTagLength = 16;
constexpr int kKeyLength = 32;

QByteArray deriveKey(const QString& passphrase, const QByteArray& saltText) {
  const QByteArray pass = passphrase.toUtf8();
  QByteArray key(kKeyLength, '\0');
  if (PKCS5_PBKDF2_HMAC(pass.constData(), int(pass.size()),
                        reinterpret_cast<const unsigned char*>(saltText.constData()),
                        int(saltText.size()), kFloccusIterations, EVP_sha256(), kKeyLength,
                        reinterpret_cast<unsigned char*>(key.data())) != 1)
    return {};
  return key;
}

using CipherContext = std::unique_ptr<EVP_CIPHER_CTX, decltype(&EVP_CIPHER_CTX_free)>;

unsigned char* bytes(QByteArray& a) { return reinterpret_cast<unsigned char*>(a.data()); }
const unsigned char* bytes(const QByteArray& a) {
  return reinterpret_cast<const unsigned char*>(a.constData());
}

std::optional<QByteArray> decryptPayload(const QString& passphrase, const QByteArray& base64,
                                         const QByteArray& saltText) {
  const auto decoded =
      QByteArray::fromBase64Encoding(base64.trimmed(), QByteArray::AbortOnBase64DecodingErrors);
  if (!decoded || decoded.decoded.size() < kIvLength + kTagLength) return std::nullopt;
  const QByteArray& data = decoded.decoded;
  const QByteArray key = deriveKey(passphrase, saltText);
  const QByteArray iv = data.left(kIvLength);
  const QByteArray body = data.mid(kIvLength, data.size() - kIvLength - kTagLength);
  QByteArray tag = data.right(kTagLength);
  CipherContext ctx(EVP_CIPHER_CTX_new(), EVP_CIPHER_CTX_free);
  QByteArray plain(body.size() + 16, '\0');
  int len = 0, tail = 0;
  if (key.isEmpty() || !ctx ||
      EVP_DecryptInit_ex(ctx.get(), EVP_aes_256_gcm(), nullptr, nullptr, nullptr) != 1 ||
      EVP_CIPHER_CTX_ctrl(ctx.get(), EVP_CTRL_GCM_SET_IVLEN, kIvLength, nullptr) != 1 ||
      EVP_DecryptInit_ex(ctx.get(), nullptr, nullptr, bytes(key), bytes(iv)) != 1 ||
      EVP_DecryptUpdate(ctx.get(), bytes(plain), &len, bytes(body), int(body.size())) != 1 ||
      EVP_CIPHER_CTX_ctrl(ctx.get(), EVP_CTRL_GCM_SET_TAG, kTagLength, tag.data()) != 1 ||
      EVP_DecryptFinal_ex(ctx.get(), bytes(plain) + len, &tail) != 1)
    return std::nullopt;
  plain.resize(len + tail);
  return plain;
}

}  // namespace

QByteArray encryptFloccus(const QString& passphrase, const QByteArray& plain) {
  QByteArray salt(64, '\0'), iv(kIvLength, '\0');
  RAND_bytes(bytes(salt), int(salt.size()));
  RAND_bytes(bytes(iv), int(iv.size()));
  return encryptFloccus(passphrase, plain, salt.toHex(), iv);
}

QByteArray encryptFloccus(const QString& passphrase, const QByteArray& plain,
                          const QByteArray& saltText, const QByteArray& iv) {
  const QByteArray key = deriveKey(passphrase, saltText);
  CipherContext ctx(EVP_CIPHER_CTX_new(), EVP_CIPHER_CTX_free);
  QByteArray out(plain.size() + 16, '\0');
  QByteArray tag(kTagLength, '\0');
  int len = 0, tail = 0;
  if (key.isEmpty() || !ctx ||
      EVP_EncryptInit_ex(ctx.get(), EVP_aes_256_gcm(), nullptr, nullptr, nullptr) != 1 ||
      EVP_CIPHER_CTX_ctrl(ctx.get(), EVP_CTRL_GCM_SET_IVLEN, int(iv.size()), nullptr) != 1 ||
      EVP_EncryptInit_ex(ctx.get(), nullptr, nullptr, bytes(key), bytes(iv)) != 1 ||
      EVP_EncryptUpdate(ctx.get(), bytes(out), &len, bytes(plain), int(plain.size())) != 1 ||
      EVP_EncryptFinal_ex(ctx.get(), bytes(out) + len, &tail) != 1 ||
      EVP_CIPHER_CTX_ctrl(ctx.get(), EVP_CTRL_GCM_GET_TAG, kTagLength, tag.data()) != 1)
    return {};
  out.resize(len + tail);
  QJsonObject json;
  json.insert(QStringLiteral("ciphertext"), QString::fromLatin1((iv + out + tag).toBase64()));
  json.insert(QStringLiteral("salt"), QString::fromLatin1(saltText));
  return QJsonDocument(json).toJson(QJsonDocument::Compact);
}

std::optional<QByteArray> decryptFloccus(const QString& passphrase, const QByteArray& file,
                                         const QString& fileName) {
  QJsonParseError error{};
  const QJsonDocument doc = QJsonDocument::fromJson(file, &error);
  if (error.error == QJsonParseError::NoError && doc.isObject()) {
    const QJsonObject json = doc.object();
    return decryptPayload(passphrase, json.value(QLatin1String("ciphertext")).toString().toLatin1(),
                          json.value(QLatin1String("salt")).toString().toUtf8());
  }
  return decryptPayload(passphrase, file, fileName.toUtf8());
}

bool looksEncrypted(const QByteArray& file) {
  const QJsonDocument doc = QJsonDocument::fromJson(file);
  return doc.isObject() && doc.object().contains(QLatin1String("ciphertext"));
}

}  // namespace vorlix::sync
