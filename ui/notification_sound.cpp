// The notification sound through libcanberra (Windows: notification_sound_win.cpp).
#ifndef _WIN32
#include "ui/notification_sound.h"

#include <canberra.h>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>

namespace sorvane::ui {

bool playNotificationSound() {
    ca_context* context = nullptr;
    if (ca_context_create(&context) != CA_SUCCESS) {
        return false;
    }
    ca_context_change_props(context, CA_PROP_APPLICATION_NAME, "Sorvane", CA_PROP_APPLICATION_ID,
                            "org.example.sorvane", nullptr);

    struct Playback {
        std::mutex mutex;
        std::condition_variable ended;
        bool done = false;
    } playback;
    const ca_finish_callback_t finished = [](ca_context*, uint32_t, int, void* data) {
        auto* p = static_cast<Playback*>(data);
        const std::lock_guard lock(p->mutex);
        p->done = true;
        p->ended.notify_all();
    };

    bool started = false;
    for (const char* event : {"message", "dialog-information"}) {
        ca_proplist* props = nullptr;
        if (ca_proplist_create(&props) != CA_SUCCESS) {
            break;
        }
        ca_proplist_sets(props, CA_PROP_EVENT_ID, event);
        ca_proplist_sets(props, CA_PROP_EVENT_DESCRIPTION, "About box closed");
        started = ca_context_play_full(context, 1, props, finished, &playback) == CA_SUCCESS;
        ca_proplist_destroy(props);
        if (started) {
            break;
        }
    }
    if (started) {
        std::unique_lock lock(playback.mutex);
        playback.ended.wait_for(lock, std::chrono::seconds(3), [&] { return playback.done; });
    }
    // Destroying the context cancels a sound still playing and runs its callback first.
    ca_context_destroy(context);
    return started;
}

} // namespace sorvane::ui

#endif // _WIN32
