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

QString infoFile(const QString &exeDir, const QString &name)
{
    return platform::findIgnoringCase(QDir(exeDir).filePath(QStringLiteral("info")), name);
}

QString templatesFile(const QString &exeDir, const QString &name)
{
    return platform::findIgnoringCase(platform::resolveIgnoringCase(QDir(exeDir).filePath(QStringLiteral("TTDIR"))),
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

ReferenceFiles englishReferenceFiles(const QString &exeDir)
{
    const QString help = infoFile(exeDir, QStringLiteral("intro.hlp"));
    return {help,
            infoFile(exeDir, QStringLiteral("chainik.txt")),
            infoFile(exeDir, QStringLiteral("optimization.txt")),
            templatesFile(exeDir, QStringLiteral("def_templ.asm")),
            help,
            QStringLiteral("%1 (the English help is shown instead)")};
}

ReferenceFiles referenceFiles(const QString &exeDir, const QString &languageFile)
{
    ReferenceFiles files = englishReferenceFiles(exeDir);
    const std::optional<LanguagePack> pack = LanguagePack::load(languageFile);
    const auto inInfo = [&](const QString &name) { return infoFile(exeDir, name); };
    const auto inTemplates = [&](const QString &name) { return templatesFile(exeDir, name); };
    files.helpFile = chosen(pack, "Help_File", inInfo, files.helpFile);
    files.faqFile = chosen(pack, "Faq_File", inInfo, files.faqFile);
    files.optimizationFile = chosen(pack, "Optimization_File", inInfo, files.optimizationFile);
    files.templateFile = chosen(pack, "Template_File", inTemplates, files.templateFile);
    if (pack && pack->contains(kSection, QStringLiteral("Help_Fallback")))
        files.helpFallbackNote = pack->value(kSection, QStringLiteral("Help_Fallback"));
    return files;
}

} // namespace velmora::app
