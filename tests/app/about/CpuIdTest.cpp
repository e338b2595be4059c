// CPU identification: the processor's own answer against what the kernel reports, and the
// "Fetches" page of the about window showing it.
#include "platform/CpuId.h"
#include "app/about/AboutWindow.h"

#include <QFile>
#include <QLabel>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <map>

using velmora::app::TForm3;
using velmora::platform::CpuIdentity;
using velmora::platform::cpuIdentity;

namespace
{

// The "name : value" lines of the first processor in /proc/cpuinfo.
std::map<QString, QString> firstProcessorInfo()
{
    std::map<QString, QString> info;
    QFile file(QStringLiteral("/proc/cpuinfo"));
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return info;
    for (const QByteArray &line : file.readAll().split('\n')) {
        if (line.trimmed().isEmpty())
            break;
        const qsizetype colon = line.indexOf(':');
        if (colon > 0)
            info[QString::fromLatin1(line.left(colon)).trimmed()] = QString::fromLatin1(line.mid(colon + 1)).trimmed();
    }
    return info;
}

QString labelText(const TForm3 &form, const char *name)
{
    const auto *label = form.findChild<QLabel *>(QLatin1String(name));
    EXPECT_NE(label, nullptr) << name;
    return label ? label->text() : QString();
}

std::vector<QString> pageTexts(const TForm3 &form)
{
    std::vector<QString> texts;
    for (const char *name :
         {"Label111", "Label112", "Label113", "Label114", "PValue", "FValue", "MValue", "SValue", "Label115"})
        texts.push_back(labelText(form, name));
    return texts;
}

class CpuIdPage : public ::testing::Test
{
protected:
    QTemporaryDir exeDir;
    TForm3 form{exeDir.path(), QStringLiteral("3.5f")};
};

} // namespace

#if defined(__i386__) || defined(__x86_64__)

TEST(CpuIdentity, AgreesWithTheKernelsProcessorDescription)
{
    const std::optional<CpuIdentity> id = cpuIdentity();
    ASSERT_TRUE(id.has_value());
    ASSERT_EQ(id->vendor.size(), 12u);

    const auto info = firstProcessorInfo();
    if (!info.count(QStringLiteral("vendor_id")))
        GTEST_SKIP() << "/proc/cpuinfo names no vendor";
    EXPECT_EQ(QString::fromLatin1(id->vendor), info.at(QStringLiteral("vendor_id")));

    // The kernel folds the extended family and model fields in; do the same here.
    const std::uint32_t eax = id->signature[0];
    const unsigned family = (eax >> 8) & 15;
    const unsigned model = (eax >> 4) & 15;
    const unsigned fullFamily = family == 15 ? family + ((eax >> 20) & 0xFF) : family;
    const unsigned fullModel = family == 6 || family == 15 ? model | ((eax >> 12) & 0xF0) : model;
    EXPECT_EQ(info.at(QStringLiteral("cpu family")).toUInt(), fullFamily);
    EXPECT_EQ(info.at(QStringLiteral("model")).toUInt(), fullModel);
    if (info.count(QStringLiteral("stepping"))) {
        EXPECT_EQ(info.at(QStringLiteral("stepping")).toUInt(), eax & 15);
    }
}

TEST_F(CpuIdPage, ShowsTheProcessorsRegistersFieldsAndVendorTheSameEachTime)
{
    form.Button1Click();
    const std::vector<QString> first = pageTexts(form);
    form.Button1Click();
    EXPECT_EQ(pageTexts(form), first);

    const std::optional<CpuIdentity> id = cpuIdentity();
    ASSERT_TRUE(id.has_value());
    const QRegularExpression registerForm(QStringLiteral("^CPUID\\[(\\d)\\] = ([0-9A-F]{8})$"));
    for (int i = 0; i < 4; ++i) {
        const QRegularExpressionMatch match = registerForm.match(first[i]);
        ASSERT_TRUE(match.hasMatch()) << first[i].toStdString();
        EXPECT_EQ(match.captured(1).toInt(), i + 1);
        EXPECT_EQ(match.captured(2).toUInt(nullptr, 16), id->signature[i]) << i;
    }
    EXPECT_EQ(first[4], QString::number((id->signature[0] >> 12) & 3));
    EXPECT_EQ(first[8], QStringLiteral("Vendor: ") + QString::fromLatin1(id->vendor));
}

#endif

TEST_F(CpuIdPage, StartsWithPlaceholders)
{
    EXPECT_EQ(pageTexts(form),
              (std::vector<QString>{"CPUID[1] = FFFFFFFF", "CPUID[2] = FFFFFFFF", "CPUID[3] = FFFFFFFF",
                                    "CPUID[4] = FFFFFFFF", "??", "??", "??", "??", "Vendor"}));
}

TEST_F(CpuIdPage, DecodesTheSignatureFieldsAndPadsRegisters)
{
    form.ReadCpuId = [] { return CpuIdentity{{0x000036C3, 0x00000A0B, 0x7FFAFBFF, 0}, "AuthenticAMD"}; };
    form.Button1Click();
    EXPECT_EQ(pageTexts(form),
              (std::vector<QString>{"CPUID[1] = 000036C3", "CPUID[2] = 00000A0B", "CPUID[3] = 7FFAFBFF",
                                    "CPUID[4] = 00000000", "3", "6", "12", "3", "Vendor: AuthenticAMD"}));
}

TEST_F(CpuIdPage, WithoutCpuidOnlyTheVendorLabelChanges)
{
    form.ReadCpuId = [] { return std::optional<CpuIdentity>(); };
    form.Button1Click();
    form.Button1Click();
    EXPECT_EQ(pageTexts(form),
              (std::vector<QString>{"CPUID[1] = FFFFFFFF", "CPUID[2] = FFFFFFFF", "CPUID[3] = FFFFFFFF",
                                    "CPUID[4] = FFFFFFFF", "??", "??", "??", "??", "CPUID not available"}));
}
