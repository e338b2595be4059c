#include "app/language/ReferenceFiles.h"

#include "app/language/LanguagePack.h"
#include "app/language/LanguagePackLocation.h"
#include "platform/FileNames.h"

#include <QDir>
#include <QFileInfo>

#include <optional>

namespace velmora::app
{

namespace
{

const QString kSection = QStringLiteral("Reference_Language");

QString infoFile(const QString &dataDir, const QString &name)
{
    return platform::findIgnoringCase(QDir(dataDir).filePath(QStringLiteral("info")), name);
}

QString templatesFile(const QString &dataDir, const QString &name)
{
    return platform::findIgnoringCase(platform::resolveIgnoringCase(QDir(dataDir).filePath(QStringLiteral("TTDIR"))),
                                      name);
}

// The existing file the pack's key names in folder (found by lookUp), else english.
template <typename LookUp>
QString chosen(const std::optional<LanguagePack> &pack, const char *key, LookUp lookUp, const QString &english)
{
    if (!pack)
        return english;
    // Only the file-name part counts, so that no pack can point outside its folder.
    const QString name = languageFileName(pack->value(kSection, QString::fromLatin1(key)).trimmed());
    if (name.isEmpty())
        return english;
    const QString path = lookUp(name);
    return QFileInfo(path).isFile() ? path : english;
}

} // namespace

ReferenceFiles englishReferenceFiles(const QString &dataDir)
{
    const QString help = infoFile(dataDir, QStringLiteral("intro.hlp"));
    return {help,
            infoFile(dataDir, QStringLiteral("chainik.txt")),
            infoFile(dataDir, QStringLiteral("optimization.txt")),
            templatesFile(dataDir, QStringLiteral("def_templ.asm")),
            help,
            QStringLiteral("%1 (the English help is shown instead)")};
}

ReferenceFiles referenceFiles(const QString &dataDir, const QString &languageFile)
{
    ReferenceFiles files = englishReferenceFiles(dataDir);
    const std::optional<LanguagePack> pack = LanguagePack::load(languageFile);
    const auto inInfo = [&](const QString &name) { return infoFile(dataDir, name); };
    const auto inTemplates = [&](const QString &name) { return templatesFile(dataDir, name); };
    files.helpFile = chosen(pack, "Help_File", inInfo, files.helpFile);
    files.faqFile = chosen(pack, "Faq_File", inInfo, files.faqFile);
    files.optimizationFile = chosen(pack, "Optimization_File", inInfo, files.optimizationFile);
    files.templateFile = chosen(pack, "Template_File", inTemplates, files.templateFile);
    if (pack && pack->contains(kSection, QStringLiteral("Help_Fallback")))
        files.helpFallbackNote = pack->value(kSection, QStringLiteral("Help_Fallback"));
    return files;
}

} // namespace velmora::app
