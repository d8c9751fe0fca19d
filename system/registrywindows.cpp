// The registry on Windows: advapi32's functions themselves, in ANSI for the
// about box's look-up and wide for the per-user store's texts.
#include "registry.h"

#include "widetext.h"

#include <algorithm>

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

namespace brinevar {
namespace {

LSTATUS OpenKey(HKEY root, const char *subKey, REGSAM access, HKEY &key)
{
    return RegOpenKeyExA(root, subKey, 0, access, &key);
}

LSTATUS OpenKey(HKEY root, const wchar_t *subKey, REGSAM access, HKEY &key)
{
    return RegOpenKeyExW(root, subKey, 0, access, &key);
}

LSTATUS QueryValue(HKEY key, const char *name, DWORD &type, std::string &data, DWORD &size)
{
    return RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE *>(data.data()),
                            &size);
}

LSTATUS QueryValue(HKEY key, const wchar_t *name, DWORD &type, std::string &data, DWORD &size)
{
    return RegQueryValueExW(key, name, nullptr, &type, reinterpret_cast<BYTE *>(data.data()),
                            &size);
}

// Opens `subKey`, reads `name` into a buffer of `size` bytes and closes the
// key on every path. Afterwards `size` holds the value's size in bytes, also
// when that is more than the buffer (ERROR_MORE_DATA).
template <typename Char>
LSTATUS ReadValue(HKEY root, const Char *subKey, const Char *name, REGSAM access, DWORD &size,
                  RegistryValue &value)
{
    HKEY key = nullptr;
    LSTATUS status = OpenKey(root, subKey, access, key);
    if (status != ERROR_SUCCESS)
        return status;
    std::string buffer(size, '\0');
    DWORD type = 0, bufferSize = size;
    status = QueryValue(key, name, type, buffer, size);
    RegCloseKey(key); // its result changes nothing
    if (status == ERROR_SUCCESS) {
        // A size beyond the buffer can only come from a faulty registry.
        buffer.resize(std::min(size, bufferSize));
        value = {type, std::move(buffer)};
    }
    return status;
}

class WindowsRegistry : public Registry {
public:
    Result ReadValue(HKey root, const std::string &subKey, const std::string &valueName,
                     std::uint32_t access, std::uint32_t bufferSize, RegistryValue &value) override
    {
        DWORD size = bufferSize;
        const LSTATUS status = brinevar::ReadValue(reinterpret_cast<HKEY>(root), subKey.c_str(),
                                                   valueName.c_str(), access, size, value);
        return status == ERROR_SUCCESS ? Result() : RegistryFailure(status);
    }
};

} // namespace

Registry &SystemRegistry()
{
    static WindowsRegistry registry;
    return registry;
}

Result ReadRegistryText(HKey root, const std::string &subKey, const std::string &valueName,
                        std::string &text)
{
    const std::wstring key = Utf8ToWide(subKey), name = Utf8ToWide(valueName);
    RegistryValue value;
    DWORD size = MAX_PATH * sizeof(wchar_t);
    LSTATUS status = ERROR_MORE_DATA;
    // A longer value is read again with room for all of it; one that keeps
    // growing in between counts as unreadable.
    for (int tries = 0; tries < 3 && status == ERROR_MORE_DATA; ++tries)
        status = ReadValue(reinterpret_cast<HKEY>(root), key.c_str(), name.c_str(), KEY_QUERY_VALUE,
                           size, value);
    if (status != ERROR_SUCCESS)
        return RegistryFailure(status);
    if (value.type != REG_SZ)
        return RegistryFailure(ERROR_DATATYPE_MISMATCH);
    std::wstring wide(value.data.size() / sizeof(wchar_t), L'\0');
    std::copy_n(value.data.data(), wide.size() * sizeof(wchar_t),
                reinterpret_cast<char *>(wide.data()));
    // Stored with its closing zero, or without one, or with several.
    while (!wide.empty() && wide.back() == L'\0')
        wide.pop_back();
    text = WideToUtf8(wide);
    return {};
}

} // namespace brinevar
