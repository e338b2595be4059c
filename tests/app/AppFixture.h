// A main window started in a temporary program folder, with scripted dialogs.
#pragma once

#include "QtPrinting.h"
#include "app/MainWindow.h"
#include "support/ScriptedDialogs.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

namespace velmora::testing
{

class AppFixture : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(folder.isValid());
        // Upper-case letters and a blank in the program folder, as users have them.
        exeDir = folder.path() + QStringLiteral("/Velmora Prog/");
        ASSERT_TRUE(QDir().mkpath(exeDir + QStringLiteral("TTDIR")));
        ASSERT_TRUE(QDir().mkpath(exeDir + QStringLiteral("info")));
    }

    // Creates the window as the program does; it is shown and active.
    app::TVelmora &start(const QStringList &arguments = {})
    {
        window = std::make_unique<app::TVelmora>(app::StartUp{exeDir, arguments, recoveryDir()});
        window->show();
        window->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(window.get()));
        return *window;
    }

    QString iniPath() const { return exeDir + QStringLiteral("cf.ini"); }
    QString recoveryDir() const { return folder.path() + QStringLiteral("/state/velmora/"); }

    void writeIni(const QByteArray &text) const
    {
        QFile file(iniPath());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(text);
    }

    QString readIni() const
    {
        QFile file(iniPath());
        return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
    }

    // A file of the given bytes in the temporary folder; its path.
    QString writeFile(const char *name, const QByteArray &bytes) const
    {
        const QString path = folder.path() + QLatin1Char('/') + QString::fromLatin1(name);
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return path;
    }

    static QByteArray readFile(const QString &path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
    }

    template <class T> T *component(const char *name) const
    {
        return window->findChild<T *>(QString::fromLatin1(name));
    }

    QTemporaryDir folder;
    QString exeDir;
    ScriptedDialogs dialogs;
    std::unique_ptr<app::TVelmora> window;
};

} // namespace velmora::testing
