#pragma once
// The sound each message-box type plays before its box shows. This layer
// cannot reach the GUI, so the GUI installs the player at start; until then
// every sound is silent (as in tests).
#include <functional>

#include "platform/Prompts.h"

namespace vorlix {

using SoundPlayer = std::function<void(MsgType)>;

void setSoundPlayer(SoundPlayer player);
// Exclamation for a warning, hand for an error, the default beep for
// information, question for a confirmation: whatever the player makes of it.
void playMessageSound(MsgType type);

}  // namespace vorlix
