// Where packs live: always in the program's "info" folder, whatever folder a
// pack was chosen from; only the file name is kept in the settings.
#pragma once

#include <QString>

#include <optional>

namespace velmora::app
{

// The file-name part of a chosen pack path, after the last '/' or '\': what LNGFile keeps.
QString languageFileName(const QString &chosenPath);

// LanguageFile: dataDir's "info" folder joined with the file-name part of lngFile, so that
// no setting can point a pack outside "info".
QString languageFilePath(const QString &dataDir, const QString &lngFile);

// The existing pack in dataDir's "info" folder whose name is the file-name part of
// chosenPath, letter case aside; nullopt when "info" holds no such file.
std::optional<QString> findLanguagePack(const QString &dataDir, const QString &chosenPath);

} // namespace velmora::app
