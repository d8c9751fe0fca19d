// The registry on Windows: advapi32's ANSI functions themselves.
#include "registry.h"

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

namespace brinevar {
namespace {

HKEY ToHandle(HKey key)
{
    return reinterpret_cast<HKEY>(key);
}

class WindowsRegistry : public Registry {
public:
    long OpenKeyEx(HKey key, const std::string &subKey, std::uint32_t options,
                   std::uint32_t samDesired, HKey *result) override
    {
        HKEY opened = nullptr;
        const LONG status =
            RegOpenKeyExA(ToHandle(key), subKey.c_str(), options, samDesired, &opened);
        if (status == ERROR_SUCCESS)
            *result = reinterpret_cast<HKey>(opened);
        return status;
    }

    long QueryValueEx(HKey key, const std::string &valueName, std::uint32_t *type,
                      unsigned char *data, std::uint32_t *dataSize) override
    {
        DWORD valueType = 0;
        DWORD size = *dataSize;
        const LONG status =
            RegQueryValueExA(ToHandle(key), valueName.c_str(), nullptr, &valueType, data, &size);
        *type = valueType;
        *dataSize = size;
        return status;
    }

    long CloseKey(HKey key) override { return RegCloseKey(ToHandle(key)); }
};

} // namespace

Registry &SystemRegistry()
{
    static WindowsRegistry registry;
    return registry;
}

} // namespace brinevar
