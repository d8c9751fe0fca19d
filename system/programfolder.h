// Where the program lives, and where it keeps its own files.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace brinevar {

// The folder that holds the executable.
std::filesystem::path ProgramFolder();

// The folder the build installs the executable to; empty when unknown.
std::filesystem::path InstalledProgramFolder();

// Whether `folder` holds an installed copy, which must not write beside
// itself: the folder the build installs to, a folder under Program Files, or
// any folder the user cannot write.
bool IsInstalledCopy(const std::filesystem::path &folder);

// The per-user folder for the program's own data ("Brinevar" in the
// system's application data folder); empty when the system names none.
std::filesystem::path UserDataFolder();

// Where Windows puts the files that a program without a manifest, such as
// the game, writes into a protected folder (Program Files): the folder
// VirtualStore in the user's local application data, which holds a copy of
// each such file under its path without the drive, and which that program
// then reads in place of the file. Empty on a system that has none.
std::filesystem::path VirtualStoreFolder();

// The files the program keeps, worked out once at start.
struct Places {
    std::filesystem::path
        settingsCopy;               // tanks.ini; empty: an installed copy with no per-user folder
    std::filesystem::path saveLock; // empty: the system names no per-user folder
    // What a save asks of an elevated copy (see SaveAsAdministrator); empty
    // with the save lock.
    std::filesystem::path elevationRequest;
    std::filesystem::path virtualStore; // VirtualStoreFolder(); empty: none
};

// The places of a copy of the program in `programFolder` for a user whose
// data folder is `userFolder`: tanks.ini beside a build or portable copy,
// else (an installed copy) in the user's folder, created when missing; the
// save lock always in the user's folder; the system's `virtualStore`.
Places PlacesOf(const std::filesystem::path &programFolder, const std::filesystem::path &userFolder,
                const std::filesystem::path &virtualStore = {});

// File names as the program's texts (UTF-8) and as the system takes them.
std::filesystem::path PathFromUtf8(std::string_view utf8);
std::string PathToUtf8(const std::filesystem::path &path);

} // namespace brinevar
