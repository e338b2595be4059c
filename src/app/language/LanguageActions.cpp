#include "app/language/LanguageActions.h"

#include "app/language/ComponentTexts.h"
#include "app/language/LanguagePack.h"
#include "app/language/LanguageSections.h"
#include "platform/Dialogs.h"

#include <QRegularExpression>
#include <QWidget>

#include <algorithm>
#include <stdexcept>
#include <vector>

namespace velmora::app
{

namespace
{

// A text kept outside the window's components.
struct KeptText {
    const char *key;
    QString *text;
};

// Where a section key puts its text: component.Caption, component.Hint or
// component.Items[n]; a key may start with the window's own name, and the bare
// window name stands for the window itself (no component).
struct ComponentKey {
    QString component;
    enum class Property { Caption, Hint, Item } property;
    int item = 0;
};

ComponentKey parseComponentKey(const QString &key, const QString &windowName)
{
    QStringList parts = key.split(QLatin1Char('.'));
    if (parts.size() > 1 && parts.front().compare(windowName, Qt::CaseInsensitive) == 0)
        parts.removeFirst();
    if (parts.size() == 1)
        parts.prepend(QString());
    if (parts.size() != 2)
        throw std::logic_error("Malformed language key: " + key.toStdString());

    const QString &property = parts[1];
    if (property.compare(QLatin1String("Caption"), Qt::CaseInsensitive) == 0)
        return {parts[0], ComponentKey::Property::Caption};
    if (property.compare(QLatin1String("Hint"), Qt::CaseInsensitive) == 0)
        return {parts[0], ComponentKey::Property::Hint};
    static const QRegularExpression item(QStringLiteral(R"(^Items\[(\d+)\]$)"),
                                         QRegularExpression::CaseInsensitiveOption);
    if (const QRegularExpressionMatch match = item.match(property); match.hasMatch())
        return {parts[0], ComponentKey::Property::Item, match.captured(1).toInt()};
    throw std::logic_error("Language key with no component target: " + key.toStdString());
}

void setText(QObject &component, const ComponentKey &target, const QString &text)
{
    switch (target.property) {
    case ComponentKey::Property::Caption:
        setCaption(component, text);
        break;
    case ComponentKey::Property::Hint:
        setHint(component, text);
        break;
    case ComponentKey::Property::Item:
        setItemText(component, target.item, text);
        break;
    }
}

QString &noPackWarning()
{
    static QString text =
        QStringLiteral("%1 is no language pack: it holds none of the texts. The windows keep their texts.");
    return text;
}

bool holdsAnyKey(const LanguagePack &pack)
{
    for (const LanguageSection *section :
         {&kMainWindowSection, &kPrefsWindowSection, &kInfoWindowSection, &kAboutWindowSection}) {
        const QString name = QString::fromLatin1(section->name);
        for (const char *key : section->keys)
            if (pack.contains(name, QString::fromLatin1(key)))
                return true;
    }
    return false;
}

bool applySection(QWidget &window, const QString &languageFile, const LanguageSection &section,
                  const std::vector<KeptText> &kept)
{
    const std::optional<LanguagePack> pack = LanguagePack::load(languageFile);
    if (!pack)
        return false;

    const QString sectionName = QString::fromLatin1(section.name);
    // A file holding none of the keys of any section (empty, binary, in another encoding,
    // cut short) is no pack: applied, it would blank every text.
    if (!holdsAnyKey(*pack)) {
        platform::dialogs().message(platform::MessageKind::Warning, noPackWarning().arg(languageFile));
        return false;
    }
    const QString windowName = QString::fromLatin1(section.windowName);
    const ComponentIndex components(window);
    for (const char *keyName : section.keys) {
        const QString key = QString::fromLatin1(keyName);
        const QString text = pack->value(sectionName, key);

        const auto keptText = std::find_if(kept.begin(), kept.end(), [&](const KeptText &k) { return key == k.key; });
        if (keptText != kept.end()) {
            *keptText->text = text;
            continue;
        }
        const ComponentKey target = parseComponentKey(key, windowName);
        const QList<QObject *> targets =
            target.component.isEmpty() ? QList<QObject *>{&window} : components.find(target.component);
        for (QObject *component : targets)
            setText(*component, target, text);
    }
    return true;
}

} // namespace

bool ApplyLanguage(QWidget &window, const QString &languageFile, MainWindowTexts &texts)
{
    return applySection(window, languageFile, kMainWindowSection,
                        {{"od.Filter", &texts.openFilter},
                         {"sd.Filter", &texts.saveFilter},
                         {"savea.Caption", &texts.saveActionCaption},
                         {"List_Generated", &texts.listGenerated},
                         {"Lastf_hint", &texts.lastFileHint}});
}

bool ApplyLanguagePrefsW(QWidget &window, const QString &languageFile, PrefsWindowTexts &texts)
{
    return applySection(window, languageFile, kPrefsWindowSection,
                        {{"OpenDialog1.Filter", &texts.languageFilter},
                         {"Restart_please", &texts.restartPlease},
                         {"Associate", &texts.associate},
                         {"Reset_sett", &texts.resetSettings}});
}

bool ApplyLanguageAboutW(QWidget &window, const QString &languageFile)
{
    return applySection(window, languageFile, kAboutWindowSection, {});
}

bool ApplyLanguageInfoW(QWidget &window, const QString &languageFile)
{
    return applySection(window, languageFile, kInfoWindowSection, {});
}

void setNoPackWarning(const QString &text)
{
    noPackWarning() = text;
}

} // namespace velmora::app
