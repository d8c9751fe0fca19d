// Reading the system's font configuration (fontconfig's XML files) is the
// largest single step of a start on Linux after connecting to the display. A
// thread reads it while QApplication connects, which brings the window to
// the screen a few milliseconds sooner on a busy machine
// (bench/startup_bench).
#pragma once

#include <thread>

namespace brinevar {

class FontWarmUp {
protected:
    // Starts reading the configuration; nothing where Qt uses no fontconfig.
    FontWarmUp();
    // Joins the thread if finish() was never reached.
    ~FontWarmUp();
    FontWarmUp(const FontWarmUp &) = delete;
    FontWarmUp &operator=(const FontWarmUp &) = delete;

    // Waits until the configuration is read. Called as soon as QApplication
    // stands, so the thread never runs beside Qt's own use of fontconfig and
    // never outlives the application.
    void finish();

private:
    std::thread reading_;
};

} // namespace brinevar
