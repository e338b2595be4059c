#include "app/IniFile.h"
#include "QtPrinting.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <stdexcept>

namespace velmora::app
{
namespace
{

class IniFileTest : public ::testing::Test
{
protected:
    QString path(const char *name = "test.ini") const { return dir.filePath(QString::fromLatin1(name)); }

    void write(const QByteArray &text, const char *name = "test.ini") const
    {
        QFile file(path(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(text);
    }

    QString contents(const char *name = "test.ini") const
    {
        QFile file(path(name));
        return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
    }

    QTemporaryDir dir;
};

TEST_F(IniFileTest, MissingFileKeysAndMalformedNumbersYieldDefaults)
{
    {
        const IniFile missing(path("absent.ini"));
        EXPECT_EQ(missing.readString("Config", "LastF", QStringLiteral("d")), QStringLiteral("d"));
        EXPECT_EQ(missing.readInteger("Config", "bc", 7), 7);
        EXPECT_TRUE(missing.readBool("Config", "x", true));
        EXPECT_FALSE(QFile::exists(path("absent.ini"))) << "reading never creates the file";
    }
    write("[Config]\nbc=12abc\nfc=\nsize= 12 \nneg=-3\nhuge=99999999999\nflag=2\noff=0\nhex=$FF\n");
    const IniFile ini(path());
    EXPECT_EQ(ini.readInteger("Config", "bc", 5), 5);
    EXPECT_EQ(ini.readInteger("Config", "fc", 6), 6);
    EXPECT_EQ(ini.readInteger("Config", "size", 0), 12);
    EXPECT_EQ(ini.readInteger("Config", "neg", 0), -3);
    EXPECT_EQ(ini.readInteger("Config", "huge", 1), 1);
    EXPECT_EQ(ini.readInteger("Config", "hex", 4), 4);
    EXPECT_TRUE(ini.readBool("Config", "flag", false)) << "any non-zero value is true";
    EXPECT_FALSE(ini.readBool("Config", "off", true));
    EXPECT_TRUE(ini.readBool("Config", "bc", true)) << "a malformed boolean yields its default";
    EXPECT_EQ(ini.readString("Config", "fc", QStringLiteral("d")), QString()) << "an empty value is a value";
}

TEST_F(IniFileTest, CutsLongValuesTo2047Characters)
{
    const QByteArray exact(2047, 'a');
    write("[Config]\nexact=" + exact + "\nlong=" + QByteArray(2047, 'b') + "cdef\n");
    const IniFile ini(path());
    EXPECT_EQ(ini.readString("Config", "exact", {}), QString::fromLatin1(exact));
    EXPECT_EQ(ini.readString("Config", "long", {}), QString(2047, QLatin1Char('b')));
}

TEST_F(IniFileTest, EveryWriteReachesTheFileAndKeepsOtherKeys)
{
    write("[Config]\nBC=1\nUnknown=kept\n");
    IniFile ini(path());
    ini.writeInteger("config", "bc", 255);
    EXPECT_EQ(contents(), QStringLiteral("[Config]\nBC=255\nUnknown=kept\n"));
    ini.writeBool("Font", "Bold", true);
    ini.writeString("Font", "Name", QStringLiteral("Libération"));
    EXPECT_EQ(contents().split(QLatin1Char('\n'), Qt::SkipEmptyParts),
              QStringLiteral("[Config]|BC=255|Unknown=kept|[Font]|Bold=1|Name=Libération").split(QLatin1Char('|')));
    EXPECT_EQ(IniFile(path()).readString("FONT", "name", {}), QStringLiteral("Libération"))
        << "names match without regard to letter case";
}

TEST_F(IniFileTest, CreatesTheFileAndItsFolderOnFirstWrite)
{
    const QString nested = dir.filePath(QStringLiteral("a/b/cf.ini"));
    IniFile ini(nested);
    ini.writeString("Config", "LastF", QString());
    QFile file(nested);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), QByteArray("[Config]\nLastF=\n"));
}

TEST_F(IniFileTest, AWriteThatFailsRaisesUnableToWriteAndKeepsNothing)
{
    // A folder in the file's place cannot be written, whoever runs the test.
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("test.ini")));
    IniFile ini(path());
    try {
        ini.writeInteger("Config", "bc", 3);
        FAIL() << "the write should have failed";
    } catch (const std::runtime_error &e) {
        EXPECT_EQ(QString::fromUtf8(e.what()), QStringLiteral("Unable to write to ") + path() + ". Is a directory");
    }
    EXPECT_EQ(ini.readInteger("Config", "bc", -1), -1);
}

} // namespace
} // namespace velmora::app
