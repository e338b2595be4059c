// The reference texts a language pack chooses: its help file, FAQ, optimisation notes and
// default template, named in its section "Reference_Language" (keys Help_File, Faq_File,
// Optimization_File, Template_File). The texts are looked up in the data folder's "info",
// the template in its "TTDIR" (the shipped templates), by file name only and without regard
// to letter case. A key that is missing or empty, or names no existing file, gives
// the English file; so does every key when there is no pack.
#pragma once

#include <QString>

namespace velmora::app
{

struct ReferenceFiles {
    QString helpFile;
    QString faqFile;
    QString optimizationFile;
    QString templateFile;
    // The English help file, shown instead of helpFile when helpFile does not load.
    QString englishHelpFile;
    // Said once when helpFile does not load (key Help_Fallback); %1 is the reason.
    QString helpFallbackNote;
};

// The English files, whether they exist or not.
ReferenceFiles englishReferenceFiles(const QString &dataDir);

// The files the pack at languageFile names, each falling back to the English one.
ReferenceFiles referenceFiles(const QString &dataDir, const QString &languageFile);

} // namespace velmora::app
