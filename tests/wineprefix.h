// A Wine prefix with a C: drive and a D: link, as WINEPREFIX names it while
// the object lives. Not for Windows.
#pragma once

#include "testfolder.h"

#include <cstdlib>
#include <filesystem>

struct WinePrefix {
    TestFolder prefix, elsewhere;
    WinePrefix()
    {
        namespace fs = std::filesystem;
        fs::create_directories(prefix.path() / "drive_c" / "Games" / "Updates");
        fs::create_directories(prefix.path() / "dosdevices");
        fs::create_directory_symlink(elsewhere.path(), prefix.path() / "dosdevices" / "d:");
        setenv("WINEPREFIX", prefix.path().c_str(), 1);
    }
    ~WinePrefix() { unsetenv("WINEPREFIX"); }
};
