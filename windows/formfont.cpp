#include "formfont.h"

#include <windows.h>

namespace brinevar::win {

const wchar_t *CarriedFace()
{
    static const bool registered = [] {
        const HMODULE self = GetModuleHandleW(nullptr);
        const HRSRC found = FindResourceW(self, L"FORMFONT", MAKEINTRESOURCEW(10)); // RT_RCDATA
        const HGLOBAL data = found ? LoadResource(self, found) : nullptr;
        DWORD fonts = 0;
        return data &&
               AddFontMemResourceEx(LockResource(data), SizeofResource(self, found), nullptr,
                                    &fonts) &&
               fonts > 0;
    }();
    return registered ? BRINEVAR_FORM_FACE : nullptr;
}

} // namespace brinevar::win
