// An INI file in the Windows profile format: section and key names matched without
// regard to letter case, every write stored in the file at once, all or nothing.
#pragma once

#include <QString>

#include <memory>

namespace velmora::app
{

class IniFile
{
public:
    // Values longer than this are cut when read.
    static constexpr int MaxValueLength = 2047;

    // Reads the file when it exists; a missing or unreadable file reads as empty.
    explicit IniFile(QString path);
    ~IniFile();
    IniFile(const IniFile &) = delete;
    IniFile &operator=(const IniFile &) = delete;

    const QString &path() const { return path_; }

    // A missing key yields the default; so does a value that is not a decimal integer.
    QString readString(const char *section, const char *key, const QString &defaultValue) const;
    int readInteger(const char *section, const char *key, int defaultValue) const;
    bool readBool(const char *section, const char *key, bool defaultValue) const;

    // Sets the key and replaces the file atomically; throws std::runtime_error "Unable to
    // write to <path>. <cause>" when the file cannot be written (the file and the value stay
    // as they were).
    void writeString(const char *section, const char *key, const QString &value);
    void writeInteger(const char *section, const char *key, int value);
    void writeBool(const char *section, const char *key, bool value);

private:
    QString path_;
    struct Store; // the parsed file
    std::unique_ptr<Store> store_;
};

} // namespace velmora::app
