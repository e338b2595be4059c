#include "app/language/LanguagePack.h"

#include "platform/FileNames.h"

#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>

// Keys and values are kept as UTF-8 bytes; no wide-character variant is needed. The
// packaged header keeps its template definitions behind SI_IMPLEMENTATION.
#define SI_NO_CONVERSION
#define SI_IMPLEMENTATION
#include <SimpleIni.h>

namespace velmora::app
{

namespace
{

QString cutToMaxLength(QString text)
{
    if (text.size() <= LanguagePack::kMaxValueLength)
        return text;
    qsizetype length = LanguagePack::kMaxValueLength;
    if (text.at(length - 1).isHighSurrogate())
        --length; // never leave half of a character behind
    text.truncate(length);
    return text;
}

} // namespace

// CSimpleIniA matches section and key names without regard to ASCII letter case (its
// CSimpleIniCaseA sibling is the case-sensitive one) and trims the blanks around names and
// values, as profile files are read.
struct LanguagePack::Reader {
    CSimpleIniA ini{/*utf8*/ true};

    const char *find(const QString &section, const QString &key) const
    {
        return ini.GetValue(section.trimmed().toUtf8().constData(), key.trimmed().toUtf8().constData(), nullptr);
    }
};

QByteArray packTextAsUtf8(const QByteArray &bytes)
{
    QStringDecoder utf8(QStringDecoder::Utf8);
    QString text = utf8(bytes);
    if (utf8.hasError())
        text = QStringDecoder("windows-1251")(bytes);
    return text.toUtf8();
}

std::optional<LanguagePack> LanguagePack::load(const QString &path)
{
    QFile file(platform::resolveIgnoringCase(path));
    if (!QFileInfo(file).isFile() || !file.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QByteArray text = packTextAsUtf8(file.readAll());

    auto reader = std::make_unique<Reader>();
    reader->ini.SetQuotes(true);
    if (reader->ini.LoadData(text.constData(), static_cast<size_t>(text.size())) < 0)
        return std::nullopt;
    return LanguagePack(std::move(reader));
}

LanguagePack::LanguagePack(std::unique_ptr<Reader> reader) : reader_(std::move(reader)) {}
LanguagePack::LanguagePack(LanguagePack &&) noexcept = default;
LanguagePack &LanguagePack::operator=(LanguagePack &&) noexcept = default;
LanguagePack::~LanguagePack() = default;

QString LanguagePack::value(const QString &section, const QString &key) const
{
    const char *found = reader_->find(section, key);
    return found ? cutToMaxLength(QString::fromUtf8(found)) : QString();
}

bool LanguagePack::contains(const QString &section, const QString &key) const
{
    return reader_->find(section, key) != nullptr;
}

QStringList LanguagePack::keys(const QString &section) const
{
    CSimpleIniA::TNamesDepend names;
    reader_->ini.GetAllKeys(section.trimmed().toUtf8().constData(), names);
    names.sort(CSimpleIniA::Entry::LoadOrder());
    QStringList result;
    for (const auto &name : names)
        result.append(QString::fromUtf8(name.pItem));
    return result;
}

QStringList LanguagePack::sections() const
{
    CSimpleIniA::TNamesDepend names;
    reader_->ini.GetAllSections(names);
    names.sort(CSimpleIniA::Entry::LoadOrder());
    QStringList result;
    for (const auto &name : names)
        result.append(QString::fromUtf8(name.pItem));
    return result;
}

} // namespace velmora::app
