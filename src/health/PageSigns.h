#pragma once
// What the first bytes of a page say beyond its status: a domain parked or
// for sale, or a bot wall's challenge instead of the page.
#include <QByteArray>

namespace vorlix {

bool looksParked(const QByteArray& head);
bool looksLikeChallenge(const QByteArray& head);

}  // namespace vorlix
