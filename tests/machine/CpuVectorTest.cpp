// Runs the single-step vectors captured from a real 8086 (../shared/testdata/cpu8086), one
// test per opcode file, in the i8086 model with IN reading FFh. Only documented
// instructions count: files and ModR/M forms the metadata marks as aliases, undocumented,
// undefined or coprocessor escapes are skipped. Flags the metadata calls undefined are
// masked, also in the FLAGS word a divide error pushes.
#include "machine/Cpu.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QString>
#include <gtest/gtest.h>
#include <zlib.h>

#include <cstdio>
#include <string>
#include <vector>

using namespace velmora::machine;

namespace
{

const QString kVectorDir = QStringLiteral(VELMORA_SOURCE_DIR "/../shared/testdata/cpu8086");

// The stems of the vector files (00, 80.3, ...), or no stems when the folder is absent.
std::vector<std::string> vectorStems()
{
    std::vector<std::string> stems;
    const QStringList files = QDir(kVectorDir).entryList({QStringLiteral("*.jsonl.gz")}, QDir::Files, QDir::Name);
    for (const QString &file : files)
        stems.push_back(file.chopped(int(sizeof(".jsonl.gz") - 1)).toStdString());
    if (stems.empty())
        stems.push_back("absent");
    return stems;
}

QByteArray gunzip(const QString &path)
{
    QByteArray out;
    gzFile file = gzopen(QFile::encodeName(path).constData(), "rb");
    if (!file)
        return out;
    char buffer[65536];
    int n;
    while ((n = gzread(file, buffer, sizeof buffer)) > 0)
        out.append(buffer, n);
    gzclose(file);
    return out;
}

const QJsonObject &metadataOpcodes()
{
    static const QJsonObject opcodes = [] {
        QFile file(kVectorDir + QStringLiteral("/metadata.json"));
        if (!file.open(QIODevice::ReadOnly))
            return QJsonObject();
        return QJsonDocument::fromJson(file.readAll()).object().value(QStringLiteral("opcodes")).toObject();
    }();
    return opcodes;
}

// The metadata entry of an opcode, or of one reg field of a group opcode.
QJsonObject entryOf(const QString &opcode, int reg)
{
    const QJsonObject entry = metadataOpcodes().value(opcode).toObject();
    if (reg < 0 || !entry.contains(QStringLiteral("reg")))
        return entry;
    return entry.value(QStringLiteral("reg")).toObject().value(QString::number(reg)).toObject();
}

bool isPrefix(int byte)
{
    return byte == 0x26 || byte == 0x2E || byte == 0x36 || byte == 0x3E || byte == 0xF0 || byte == 0xF2 || byte == 0xF3;
}

struct RegisterField {
    const char *name;
    uint16_t Registers::*field;
};
const RegisterField kRegisters[] = {{"ax", &Registers::ax}, {"bx", &Registers::bx},      {"cx", &Registers::cx},
                                    {"dx", &Registers::dx}, {"cs", &Registers::cs},      {"ss", &Registers::ss},
                                    {"ds", &Registers::ds}, {"es", &Registers::es},      {"sp", &Registers::sp},
                                    {"bp", &Registers::bp}, {"si", &Registers::si},      {"di", &Registers::di},
                                    {"ip", &Registers::ip}, {"flags", &Registers::flags}};

// Runs one vector; returns an empty string when it passes, else what differed.
std::string runVector(Memory &memory, const QJsonObject &test, uint16_t flagsMask, bool divideFile)
{
    const QJsonObject initial = test.value(QStringLiteral("initial")).toObject();
    const QJsonObject final = test.value(QStringLiteral("final")).toObject();
    const QJsonObject initialRegs = initial.value(QStringLiteral("regs")).toObject();
    const QJsonObject finalRegs = final.value(QStringLiteral("regs")).toObject();

    memory.clear();
    Cpu cpu(memory, CpuModel::i8086);
    for (const RegisterField &r : kRegisters)
        cpu.regs().*r.field = uint16_t(initialRegs.value(QLatin1String(r.name)).toInt());
    for (const QJsonValue &pair : initial.value(QStringLiteral("ram")).toArray())
        memory.write8(uint32_t(pair[0].toInt()), uint8_t(pair[1].toInt()));

    cpu.step();

    std::string failure;
    char line[160];
    Registers expected;
    for (const RegisterField &r : kRegisters) {
        const QString name = QLatin1String(r.name);
        expected.*r.field = uint16_t((finalRegs.contains(name) ? finalRegs : initialRegs).value(name).toInt());
        const uint16_t mask = r.field == &Registers::flags ? flagsMask : 0xFFFF;
        const uint16_t actual = cpu.regs().*r.field;
        if ((actual & mask) != (expected.*r.field & mask)) {
            std::snprintf(line, sizeof line, " %s=%04X (expected %04X)", r.name, actual, expected.*r.field);
            failure += line;
        }
    }
    // A divide error pushes FLAGS with undefined flags at SS:SP+4 of the handler's stack.
    uint32_t pushedFlags = UINT32_MAX;
    if (divideFile && uint16_t(expected.sp + 6) == uint16_t(initialRegs.value(QStringLiteral("sp")).toInt()))
        pushedFlags = Memory::linear(expected.ss, uint16_t(expected.sp + 4));
    for (const QJsonValue &pair : final.value(QStringLiteral("ram")).toArray()) {
        const auto address = uint32_t(pair[0].toInt());
        const auto wanted = uint8_t(pair[1].toInt());
        uint8_t mask = 0xFF;
        if (address == pushedFlags)
            mask = uint8_t(flagsMask);
        else if (address == ((pushedFlags + 1) & Memory::kMask))
            mask = uint8_t(flagsMask >> 8);
        const uint8_t actual = memory.read8(address);
        if ((actual & mask) != (wanted & mask)) {
            std::snprintf(line, sizeof line, " [%05X]=%02X (expected %02X)", address, actual, wanted);
            failure += line;
        }
    }
    return failure;
}

class CpuVectorTest : public ::testing::TestWithParam<std::string>
{
};

TEST_P(CpuVectorTest, DocumentedInstructionsMatchTheRealChip)
{
    const QString stem = QString::fromStdString(GetParam());
    if (stem == QLatin1String("absent"))
        GTEST_SKIP() << "The 8086 test vectors are not at " << kVectorDir.toStdString() << "; nothing to run.";
    const QString opcode = stem.section(QLatin1Char('.'), 0, 0);
    const int group = stem.contains(QLatin1Char('.')) ? stem.section(QLatin1Char('.'), 1).toInt() : -1;
    // 8Fh, C6h and C7h keep every reg field in one file; each test is judged by its own.
    const bool judgedPerTest =
        opcode == QLatin1String("8F") || opcode == QLatin1String("C6") || opcode == QLatin1String("C7");
    if (!judgedPerTest) {
        const QString status = entryOf(opcode, group).value(QStringLiteral("status")).toString();
        if (status != QLatin1String("normal"))
            GTEST_SKIP() << stem.toStdString() << " is " << status.toStdString() << ", not a documented instruction";
    }
    const bool divideFile = stem == QLatin1String("D4") || stem == QLatin1String("F6.6") ||
                            stem == QLatin1String("F6.7") || stem == QLatin1String("F7.6") ||
                            stem == QLatin1String("F7.7");

    const QByteArray text = gunzip(kVectorDir + QLatin1Char('/') + stem + QStringLiteral(".jsonl.gz"));
    ASSERT_FALSE(text.isEmpty()) << "cannot read " << stem.toStdString();
    Memory memory;
    int passed = 0, run = 0;
    for (const QByteArray &line : text.split('\n')) {
        if (line.trimmed().isEmpty())
            continue;
        const QJsonObject test = QJsonDocument::fromJson(line).object();
        const QJsonArray bytes = test.value(QStringLiteral("bytes")).toArray();
        int at = 0;
        while (at < bytes.size() && isPrefix(bytes[at].toInt()))
            ++at;
        const int reg = judgedPerTest && at + 1 < bytes.size() ? (bytes[at + 1].toInt() >> 3) & 7 : group;
        const QJsonObject entry = entryOf(opcode, reg);
        if (entry.value(QStringLiteral("status")).toString() != QLatin1String("normal"))
            continue;
        const auto flagsMask = uint16_t(entry.value(QStringLiteral("flags-mask")).toInt(0xFFFF));
        ++run;
        const std::string failure = runVector(memory, test, flagsMask, divideFile);
        if (failure.empty())
            ++passed;
        else
            ADD_FAILURE() << "test " << test.value(QStringLiteral("idx")).toInt() << " \""
                          << test.value(QStringLiteral("name")).toString().toStdString() << "\":" << failure;
    }
    EXPECT_GT(run, 0) << "no documented vectors in " << stem.toStdString();
    RecordProperty("passed", passed);
    std::printf("[ vectors  ] %s: %d of %d passed\n", stem.toStdString().c_str(), passed, run);
}

INSTANTIATE_TEST_SUITE_P(Opcode, CpuVectorTest, ::testing::ValuesIn(vectorStems()),
                         [](const ::testing::TestParamInfo<std::string> &info) {
                             std::string name = info.param;
                             for (char &c : name)
                                 if (c == '.')
                                     c = '_';
                             return name;
                         });

} // namespace
