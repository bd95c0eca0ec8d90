#include "platform/Sounds.h"

#include <utility>

namespace vorlix {
namespace {

SoundPlayer& player() {
  static SoundPlayer p;
  return p;
}

}  // namespace

void setSoundPlayer(SoundPlayer p) { player() = std::move(p); }

void playMessageSound(MsgType type) {
  if (const SoundPlayer& p = player()) p(type);
}

}  // namespace vorlix
