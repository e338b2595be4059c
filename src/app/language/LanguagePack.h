// A language pack: an INI file of interface texts, one section per window, keys of the
// form component.property. The file is UTF-8; a file that is not valid UTF-8 is read as
// Windows-1251.
#pragma once

#include <QString>
#include <QStringList>

#include <memory>
#include <optional>

namespace velmora::app
{

class LanguagePack
{
public:
    // Values are cut to this many characters, as a 2048-character read buffer would cut them.
    static constexpr qsizetype kMaxValueLength = 2047;

    // The pack at path (its file name matched without regard to letter case); nullopt when
    // there is no such file or it cannot be read.
    static std::optional<LanguagePack> load(const QString &path);

    LanguagePack(LanguagePack &&) noexcept;
    LanguagePack &operator=(LanguagePack &&) noexcept;
    ~LanguagePack();

    // The value of key in section, empty when either is missing. Section and key names are
    // matched without regard to letter case or surrounding blanks; one pair of double quotes
    // around a value is removed, so a value can keep its own leading and trailing blanks.
    QString value(const QString &section, const QString &key) const;

    bool contains(const QString &section, const QString &key) const;

    // The key names of section as the file writes them, in file order.
    QStringList keys(const QString &section) const;

    // The section names as the file writes them, in file order.
    QStringList sections() const;

private:
    struct Reader;
    explicit LanguagePack(std::unique_ptr<Reader> reader);

    std::unique_ptr<Reader> reader_;
};

// The pack's bytes as UTF-8: unchanged when they are valid UTF-8, else read as Windows-1251.
QByteArray packTextAsUtf8(const QByteArray &bytes);

} // namespace velmora::app
