#include "fontwarmup.h"

#ifdef BRINEVAR_FONTCONFIG
#include <fontconfig/fontconfig.h>
#endif

namespace brinevar {

FontWarmUp::FontWarmUp()
{
#ifdef BRINEVAR_FONTCONFIG
    // Loads the same default configuration that Qt's font database asks for.
    reading_ = std::thread([] { FcInit(); });
#endif
}

FontWarmUp::~FontWarmUp()
{
    finish();
}

void FontWarmUp::finish()
{
    if (reading_.joinable())
        reading_.join();
}

} // namespace brinevar
