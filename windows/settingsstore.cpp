#include "settingsstore.h"

#include "file.h"
#include "registry.h"
#include "widetext.h"

#include <windows.h>

namespace brinevar::win {
namespace {

std::wstring KeyPath(std::string_view appName, std::string_view section)
{
    const std::wstring app = Utf8ToWide(appName);
    return L"Software\\" + app + L"\\" + app + L"\\" + Utf8ToWide(section);
}

} // namespace

std::string RegistrySettingsStore::GetSetting(std::string_view appName, std::string_view section,
                                              std::string_view key, std::string_view defaultText)
{
    std::string text;
    // A value that cannot be read is as good as none: the default stands.
    if (!ReadRegistryText(kHKeyCurrentUser, WideToUtf8(KeyPath(appName, section)), std::string(key),
                          text))
        return std::string(defaultText);
    return text;
}

Result RegistrySettingsStore::SaveSetting(std::string_view appName, std::string_view section,
                                          std::string_view key, const std::string &text)
{
    const std::wstring path = KeyPath(appName, section);
    const std::wstring value = Utf8ToWide(text);
    const LSTATUS result =
        RegSetKeyValueW(HKEY_CURRENT_USER, path.c_str(), Utf8ToWide(key).c_str(), REG_SZ,
                        value.c_str(), DWORD((value.size() + 1) * sizeof(wchar_t)));
    if (result == ERROR_SUCCESS)
        return {};
    return Result::Failure(DescribeStoreError("HKEY_CURRENT_USER\\" + WideToUtf8(path),
                                              SystemError(result).message()));
}

NumberFormat UserNumberFormat()
{
    auto read = [](LCTYPE item, const char *fallback) {
        wchar_t text[16] = {};
        const int length = GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, item, text, 16);
        // Many locales leave the plus sign empty: "+" still reads as one.
        return length > 1 ? WideToUtf8(text) : std::string(fallback);
    };
    return {read(LOCALE_SDECIMAL, "."), read(LOCALE_SPOSITIVESIGN, "+"),
            read(LOCALE_SNEGATIVESIGN, "-")};
}

} // namespace brinevar::win
