// What the core's writer makes of the default texts with some settings
// changed: the file the Windows window test expects brinevar.exe to write.
//
//   writesettings FILE [setting=text]...
#include "catalogue.h"
#include "programfolder.h"
#include "settingsfile.h"

#include <cstdio>
#include <string>
#include <vector>

#ifdef _WIN32
#include "widetext.h"

#define WIN32_LEAN_AND_MEAN
#include <windows.h>
// after windows.h, which it builds on
#include <shellapi.h>
#endif

namespace {

#ifdef _WIN32
// Windows hands main() its arguments in the ANSI code page; the core's texts
// are UTF-8, so the arguments are taken from the wide command line.
std::vector<std::string> Arguments(int, char *[])
{
    int count = 0;
    wchar_t **wide = CommandLineToArgvW(GetCommandLineW(), &count);
    std::vector<std::string> arguments;
    for (int i = 0; i < count; ++i)
        arguments.push_back(brinevar::WideToUtf8(wide[i]));
    LocalFree(wide);
    return arguments;
}
#else
std::vector<std::string> Arguments(int argc, char *argv[])
{
    return {argv, argv + argc};
}
#endif

} // namespace

int main(int argc, char *argv[])
{
    const std::vector<std::string> arguments = Arguments(argc, argv);
    if (arguments.size() < 2) {
        std::fputs("usage: writesettings FILE [setting=text]...\n", stderr);
        return 2;
    }
    brinevar::TankSettings texts = brinevar::DefaultTexts();
    for (std::size_t i = 2; i < arguments.size(); ++i) {
        const std::string &change = arguments[i];
        const auto equals = change.find('=');
        const auto setting = brinevar::FindSetting(change.substr(0, equals));
        if (equals == std::string::npos || !setting) {
            std::fprintf(stderr, "not a setting=text: %s\n", change.c_str());
            return 2;
        }
        texts[*setting] = change.substr(equals + 1);
    }
    if (const brinevar::Result saved =
            brinevar::WriteSettingsFile(brinevar::PathFromUtf8(arguments[1]), texts);
        !saved) {
        std::fprintf(stderr, "%s\n", saved.message().c_str());
        return 1;
    }
    return 0;
}
