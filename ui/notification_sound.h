// The sound played when the About box closes, through libcanberra.
#pragma once

namespace sorvane::ui {

// Plays the desktop's notification sound and waits until it has ended, at most a few
// seconds. Returns false when no sound could be played (no sound device, no sound theme).
bool playNotificationSound();

} // namespace sorvane::ui
