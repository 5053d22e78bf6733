// Start-up timing for tools/startup_time.sh. When SORVANE_STARTUP_TRACE is set, each mark is
// written to standard error as "sorvane-startup NAME NANOSECONDS" (since the epoch, so that a
// script can subtract its own launch time); otherwise nothing is written.
#pragma once

class QWidget;

namespace sorvane::ui {

class StartupTrace {
  public:
    StartupTrace();

    bool enabled() const { return enabled_; }
    void mark(const char* name) const;
    // Marks "first-paint" once, when the window's first painting has been handed to the
    // window system, followed by "cpu-time", the processor time the program had used then.
    void markFirstPaint(QWidget* window) const;

  private:
    bool enabled_;
};

} // namespace sorvane::ui
