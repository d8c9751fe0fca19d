// The registry on Windows: advapi32's ANSI functions themselves.
#include "registry.h"

#include <algorithm>

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

namespace brinevar {
namespace {

class WindowsRegistry : public Registry {
public:
    Result ReadValue(HKey root, const std::string &subKey, const std::string &valueName,
                     std::uint32_t access, std::uint32_t bufferSize, RegistryValue &value) override
    {
        HKEY key = nullptr;
        LONG status = RegOpenKeyExA(reinterpret_cast<HKEY>(root), subKey.c_str(), 0, access, &key);
        if (status != ERROR_SUCCESS)
            return RegistryFailure(status);
        std::string buffer(bufferSize, '\0');
        DWORD type = 0, size = bufferSize;
        status = RegQueryValueExA(key, valueName.c_str(), nullptr, &type,
                                  reinterpret_cast<BYTE *>(buffer.data()), &size);
        RegCloseKey(key); // its result changes nothing
        if (status != ERROR_SUCCESS)
            return RegistryFailure(status);
        // A size beyond the buffer can only come from a faulty registry.
        buffer.resize(std::min<DWORD>(size, bufferSize));
        value = {type, std::move(buffer)};
        return {};
    }
};

} // namespace

Registry &SystemRegistry()
{
    static WindowsRegistry registry;
    return registry;
}

} // namespace brinevar
