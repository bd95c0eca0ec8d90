#include "health/PageSigns.h"

namespace vorlix {
namespace {

bool containsAny(const QByteArray& head, std::initializer_list<const char*> signs) {
  const QByteArray text = head.toLower();
  for (const char* s : signs)
    if (text.contains(s)) return true;
  return false;
}

}  // namespace

bool looksParked(const QByteArray& head) {
  return containsAny(
      head, {"domain is for sale", "domain may be for sale", "buy this domain", "domain for sale",
             "domain is parked", "parked domain", "parked free", "domain parking", "sedoparking",
             "parkingcrew", "bodis.com", "hugedomains.com", "this domain has expired"});
}

bool looksLikeChallenge(const QByteArray& head) {
  return containsAny(head, {"<title>just a moment...</title>", "attention required! | cloudflare",
                            "cf-chl-", "challenge-platform", "checking your browser",
                            "ddos protection by", "please verify you are a human"});
}

}  // namespace vorlix
