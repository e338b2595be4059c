// Test helper: a temporary folder made the current directory for the life of the object,
// with the previous current directory restored afterwards, and small file writers.
#pragma once

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace velmora::testing
{

class TemporaryCurrentDir
{
public:
    TemporaryCurrentDir() : previous_(QDir::currentPath())
    {
        EXPECT_TRUE(dir_.isValid());
        EXPECT_TRUE(QDir::setCurrent(dir_.path()));
    }
    ~TemporaryCurrentDir() { QDir::setCurrent(previous_); }

    QString path() const { return dir_.path(); }
    QString filePath(const QString &name) const { return dir_.filePath(name); }

    // Writes bytes to name (folders created), optionally with execute permission.
    QString write(const QString &name, const QByteArray &bytes, bool executable = false) const
    {
        const QString path = filePath(name);
        QDir().mkpath(QFileInfo(path).absolutePath());
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        file.close();
        auto permissions = QFile::ReadOwner | QFile::WriteOwner;
        if (executable)
            permissions |= QFile::ExeOwner;
        file.setPermissions(permissions);
        return path;
    }

    QByteArray read(const QString &name) const
    {
        QFile file(filePath(name));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

private:
    QString previous_;
    QTemporaryDir dir_;
};

} // namespace velmora::testing
