// Reading the system's font configuration (fontconfig's XML files) is the
// largest single step of a start on Linux, a few milliseconds. A thread does
// it while QApplication connects to the display, so that the first font
// lookup finds it done instead of doing it then.
#pragma once

namespace brinevar {

class FontWarmUp {
public:
    // Starts reading the configuration; nothing where Qt uses no fontconfig.
    FontWarmUp();
    // Waits for the reading, like Finish().
    ~FontWarmUp();
    FontWarmUp(const FontWarmUp &) = delete;
    FontWarmUp &operator=(const FontWarmUp &) = delete;

    // Waits until the configuration is read; called before the first font
    // lookup, so that Qt never reads it a second time in parallel.
    static void Finish();
};

} // namespace brinevar
