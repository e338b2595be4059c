// The four sections of a language pack: which window each one dresses and the keys its
// action reads, in reading order.
#pragma once

#include <span>

namespace velmora::app
{

struct LanguageSection {
    const char *name;                  // section name in the pack
    const char *windowName;            // the window's own name, as keys may start with it
    std::span<const char *const> keys; // component.property, or a kept text's bare name
};

extern const LanguageSection kMainWindowSection;  // "Language", the main window
extern const LanguageSection kPrefsWindowSection; // "Prefs_Language", the preferences window
extern const LanguageSection kInfoWindowSection;  // "Info_Language", the info window
extern const LanguageSection kAboutWindowSection; // "About_Language", the about window

} // namespace velmora::app
