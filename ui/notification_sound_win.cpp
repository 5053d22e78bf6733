// The notification sound on Windows: the system's notify.wav, played without waiting.
#ifdef _WIN32

#include "ui/notification_sound.h"

#include <cstdlib>
#include <string>
// clang-format off
#include <windows.h>
#include <mmsystem.h> // after windows.h, whose types it uses
// clang-format on

namespace sorvane::ui {

bool playNotificationSound() {
    wchar_t folder[MAX_PATH];
    const UINT length = ::GetWindowsDirectoryW(folder, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) {
        return false;
    }
    const std::wstring sound = std::wstring(folder, length) + L"\\Media\\notify.wav";
    if (::GetFileAttributesW(sound.c_str()) == INVALID_FILE_ATTRIBUTES) {
        return false;
    }
    return ::PlaySoundW(sound.c_str(), nullptr, SND_FILENAME | SND_ASYNC | SND_NODEFAULT) != FALSE;
}

} // namespace sorvane::ui

#endif
