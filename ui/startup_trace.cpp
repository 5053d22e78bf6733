#include "ui/startup_trace.h"

#include <QEvent>
#include <QTimer>
#include <QWidget>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>

namespace sorvane::ui {

namespace {

void writeMark(const char* name) {
    const auto now = std::chrono::duration_cast<std::chrono::nanoseconds>(
        std::chrono::system_clock::now().time_since_epoch());
    std::fprintf(stderr, "sorvane-startup %s %lld\n", name, static_cast<long long>(now.count()));
    std::fflush(stderr);
}

// Waits for the window's first paint event; the painting is flushed to the window system
// before the event loop turns again, which is when the mark is written.
class FirstPaintWatch : public QObject {
  public:
    using QObject::QObject;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint) {
            watched->removeEventFilter(this);
            QTimer::singleShot(0, this, [this] {
                writeMark("first-paint");
                // The processor time spent so far, which a busy machine does not stretch.
                timespec used{};
                clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &used);
                std::fprintf(stderr, "sorvane-startup cpu-time %lld\n",
                             static_cast<long long>(used.tv_sec) * 1000000000LL + used.tv_nsec);
                std::fflush(stderr);
                deleteLater();
            });
        }
        return false;
    }
};

} // namespace

StartupTrace::StartupTrace() : enabled_(std::getenv("SORVANE_STARTUP_TRACE") != nullptr) {}

void StartupTrace::mark(const char* name) const {
    if (enabled_) {
        writeMark(name);
    }
}

void StartupTrace::markFirstPaint(QWidget* window) const {
    if (enabled_) {
        window->installEventFilter(new FirstPaintWatch(window));
    }
}

} // namespace sorvane::ui
