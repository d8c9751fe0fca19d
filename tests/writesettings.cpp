// What the core's writer makes of the default texts with some settings
// changed: the file the Windows window test expects brinevar.exe to write.
//
//   writesettings FILE [setting=text]...
#include "ansicodepage.h"
#include "catalogue.h"
#include "settingsfile.h"

#include <cstdio>
#include <string>

int main(int argc, char *argv[])
{
    if (argc < 2) {
        std::fputs("usage: writesettings FILE [setting=text]...\n", stderr);
        return 2;
    }
    brinevar::TankSettings texts = brinevar::DefaultTexts();
    for (int i = 2; i < argc; ++i) {
        // Windows hands the arguments over in its ANSI code page; the texts
        // are UTF-8, as the window's fields give them.
        const std::string change = brinevar::FromAnsi(argv[i]);
        const auto equals = change.find('=');
        const auto setting = brinevar::FindSetting(change.substr(0, equals));
        if (equals == std::string::npos || !setting) {
            std::fprintf(stderr, "not a setting=text: %s\n", argv[i]);
            return 2;
        }
        texts[*setting] = change.substr(equals + 1);
    }
    brinevar::WriteSettingsFile(argv[1], texts);
    return 0;
}
