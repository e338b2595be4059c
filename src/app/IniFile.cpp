#include "app/IniFile.h"

#include "platform/AtomicFile.h"
#include "platform/Dialogs.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

// Names and values are handled as bytes (UTF-8); no wide-character conversion is needed.
// The packaged header carries its template definitions behind SI_IMPLEMENTATION.
#define SI_NO_CONVERSION
#define SI_IMPLEMENTATION
#include <SimpleIni.h>

#include <new>
#include <stdexcept>

namespace velmora::app
{

namespace
{

// Why a write failed: the system's words for it, or the lack of memory to build the text.
QString reason(const std::exception &failure)
{
    if (const auto *write = dynamic_cast<const platform::FileWriteError *>(&failure))
        return write->cause();
    return platform::dialogTexts().noMemory;
}

} // namespace

// CSimpleIniA compares section and key names without regard to letter case
// (CSimpleIniCaseA is its case-sensitive sibling).
struct IniFile::Store {
    CSimpleIniA ini{false, false, false};
    Store() { ini.SetSpaces(false); } // key=value, as the profile format writes it
};

IniFile::IniFile(QString path) : path_(std::move(path)), store_(std::make_unique<Store>())
{
    if (QFileInfo(path_).isFile())
        store_->ini.LoadFile(QFile::encodeName(path_).constData());
}

IniFile::~IniFile() = default;

QString IniFile::readString(const char *section, const char *key, const QString &defaultValue) const
{
    const char *value = store_->ini.GetValue(section, key, nullptr);
    if (value == nullptr)
        return defaultValue;
    return QString::fromUtf8(value).left(MaxValueLength);
}

int IniFile::readInteger(const char *section, const char *key, int defaultValue) const
{
    const char *value = store_->ini.GetValue(section, key, nullptr);
    if (value == nullptr)
        return defaultValue;
    bool ok = false;
    const int number = QString::fromUtf8(value).trimmed().toInt(&ok, 10);
    return ok ? number : defaultValue;
}

bool IniFile::readBool(const char *section, const char *key, bool defaultValue) const
{
    return readInteger(section, key, defaultValue ? 1 : 0) != 0;
}

void IniFile::writeString(const char *section, const char *key, const QString &value)
{
    const QByteArray bytes = value.toUtf8();
    const char *previous = store_->ini.GetValue(section, key, nullptr);
    const std::string old = previous ? previous : std::string();
    const bool existed = previous != nullptr;

    store_->ini.SetValue(section, key, bytes.constData());
    QDir().mkpath(QFileInfo(path_).absolutePath());
    std::string text;
    try {
        if (store_->ini.Save(text) < 0)
            throw std::bad_alloc();
        platform::writeFileAtomically(path_, text);
    } catch (const std::exception &e) {
        if (existed)
            store_->ini.SetValue(section, key, old.c_str());
        else
            store_->ini.Delete(section, key, true);
        throw std::runtime_error(platform::dialogTexts().unableToWrite.arg(path_, reason(e)).toStdString());
    }
}

void IniFile::writeInteger(const char *section, const char *key, int value)
{
    writeString(section, key, QString::number(value));
}

void IniFile::writeBool(const char *section, const char *key, bool value)
{
    writeInteger(section, key, value ? 1 : 0);
}

} // namespace velmora::app
