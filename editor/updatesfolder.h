// Where the game's Updates folder is remembered, and what the program asks
// when it does not know it yet.
#pragma once

#include <QString>

namespace brinevar {

inline const QString kStoreApp = QStringLiteral("Brinevar");
inline const QString kStoreSection = QStringLiteral("MZTPath");
inline const QString kStoreKey = QStringLiteral("Path");
// The stored text that means no folder has been given yet.
inline const QString kNoPathSet = QStringLiteral("0");

inline const QString kFolderPrompt =
    QStringLiteral("Please enter the path of your Zoo Tycoon Update Folder!");
inline const QString kFolderPromptTitle = QStringLiteral("Folder Path");

inline const QString kSettingsCopyName = QStringLiteral("tanks.ini");
inline const QString kGameFileName = QStringLiteral("tanks.cfg");

// The Updates folder of a default installation of the game: on Windows the
// game's own folder, elsewhere the same folder inside the default Wine prefix.
QString DefaultUpdatesFolder();

} // namespace brinevar
