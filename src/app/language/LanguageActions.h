// The four language actions: each reads its section of the pack at languageFile and sets
// every text the section names, in the section's order. A key the pack lacks gives an empty
// text, which is set like any other. When there is no pack file, nothing changes and the
// action returns false; so it does, after a warning, when the file holds none of the keys
// of any section (it is no pack at all).
//
// The window is searched by component name (objectName, letter case aside). The texts that
// belong to no widget (dialog filters, the caption of the action SaveA, the texts only a
// pack supplies) are kept in the structures below, which the windows hold.
#pragma once

#include <QString>

class QWidget;

namespace velmora::app
{

struct MainWindowTexts {
    QString openFilter = QStringLiteral("ASM Sources (.asm)|*.asm|All Files|*.*"); // od.Filter
    QString saveFilter = QStringLiteral("ASM Sources  (.asm)|*.asm");              // sd.Filter
    QString saveActionCaption = QStringLiteral("&Save");                           // savea.Caption
    QString lastFileHint;  // Lastf_hint, empty until a pack supplies it
    QString listGenerated; // List_Generated, empty until a pack supplies it

    // The Last button's hint: the pack's prefix followed directly by the last file.
    QString lastButtonHint(const QString &lastFile) const { return lastFileHint + lastFile; }
};

struct PrefsWindowTexts {
    QString languageFilter = QStringLiteral("Velmora Language modules|*.lng"); // OpenDialog1.Filter
    QString restartPlease; // Restart_please, empty until a pack supplies it
    QString associate;     // Associate
    QString resetSettings; // Reset_sett
};

// Section "Language" onto the main window.
bool ApplyLanguage(QWidget &window, const QString &languageFile, MainWindowTexts &texts);

// Section "Prefs_Language" onto the preferences window.
bool ApplyLanguagePrefsW(QWidget &window, const QString &languageFile, PrefsWindowTexts &texts);

// Section "About_Language" onto the about window.
bool ApplyLanguageAboutW(QWidget &window, const QString &languageFile);

// Section "Info_Language" onto the info window.
bool ApplyLanguageInfoW(QWidget &window, const QString &languageFile);

// The warning about a file that is no pack; %1 the file.
void setNoPackWarning(const QString &text);

} // namespace velmora::app
