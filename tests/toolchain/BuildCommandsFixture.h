// The build commands' test fixture: a temporary tools folder and source folder, the build
// state and settings, a recording host standing in for the window, and scripted dialogs
// that would catch a box shown past the host.
#pragma once

#include "RecordingHost.h"
#include "app/QtPrinting.h"
#include "support/ScriptedDialogs.h"
#include "toolchain/BuildCommands.h"

#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace velmora::testing
{

inline void write(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << path.toStdString();
    file.write(bytes);
}

// What a tool leaves in the current folder.
inline void writeHere(const QString &name, const QByteArray &bytes)
{
    write(QDir::current().filePath(name), bytes);
}

inline QByteArray read(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

inline QString canonical(const QString &path)
{
    return QFileInfo(path).canonicalFilePath();
}

inline const QByteArray cleanOutput = "Turbo Assembler\nError messages:    None\nWarning messages:  None\n";

class BuildCommandsFixture : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(root.isValid());
        ASSERT_TRUE(QDir(root.path()).mkpath("TTDIR"));
        ASSERT_TRUE(QDir(root.path()).mkpath("src"));
        state.ToolsDir = root.filePath("TTDIR");
        settings.toolChain = toolchain::Chain::DosTools; // the DOS tools, played by stand-ins
    }
    void TearDown() override { QDir::setCurrent(previousFolder); }

    QString tools(const QString &name) const { return state.ToolsDir + "/" + name; }
    QString src(const QString &name) const { return root.filePath("src/" + name); }
    QStringList toolsFiles() const { return QDir(state.ToolsDir).entryList(QDir::Files, QDir::Name); }

    // A source file that `SaveA` names.
    void source(const QString &path)
    {
        write(path, "mov ax,4C00h\r\nint 21h\r\n");
        host.savedFile = path;
        state.CurrentFile = path;
    }

    const QString previousFolder = QDir::currentPath();
    QTemporaryDir root;
    toolchain::BuildState state;
    toolchain::BuildSettings settings;
    RecordingHost host{state};
    ScriptedDialogs dialogs;
    toolchain::BuildCommands commands{host, state, settings};
};

} // namespace velmora::testing
