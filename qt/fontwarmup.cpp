#include "fontwarmup.h"

#ifdef BRINEVAR_FONTCONFIG
#include <fontconfig/fontconfig.h>

#include <future>
#include <mutex>
#endif

namespace brinevar {

#ifdef BRINEVAR_FONTCONFIG
namespace {
std::mutex mutex;
// A future of std::async waits for its thread when destroyed, even at exit.
std::future<void> reading;
} // namespace

FontWarmUp::FontWarmUp()
{
    const std::lock_guard lock(mutex);
    // Loads the same default configuration that Qt's font database asks for.
    if (!reading.valid())
        reading = std::async(std::launch::async, [] { FcInit(); });
}

void FontWarmUp::Finish()
{
    const std::lock_guard lock(mutex);
    if (reading.valid())
        reading.get();
}
#else
FontWarmUp::FontWarmUp() {}

void FontWarmUp::Finish() {}
#endif

FontWarmUp::~FontWarmUp()
{
    Finish();
}

} // namespace brinevar
