// Functions that not every supported Windows has, looked up while the program
// runs.
#pragma once

#include <windows.h>

namespace brinevar::win {

// Sets `into` to the function `name` of `module`, or to null where the
// module or the function is missing.
template <typename Function> void LookUp(HMODULE module, const char *name, Function &into)
{
    // Through the generic function pointer type, which GCC lets stand for any.
    into =
        module
            ? reinterpret_cast<Function>(reinterpret_cast<void (*)()>(GetProcAddress(module, name)))
            : nullptr;
}

} // namespace brinevar::win
