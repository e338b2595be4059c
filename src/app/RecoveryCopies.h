// The recovery copies of unsaved editor text. Every running Velmora keeps at most one, in a
// folder of the user's state folder: "<id>.recovery" holds a header line, the source file's
// name (percent-encoded, empty while untitled) on the second line and then the text's bytes;
// "<id>.lock" stays locked while that Velmora runs. A copy whose lock can be taken was left by
// a Velmora that ended without a clean exit (a crash, a kill, a power cut, a logout) and is
// offered at the next start.
#pragma once

#include "platform/FileLock.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>

#include <memory>
#include <string_view>
#include <vector>

namespace velmora::app
{

class RecoveryCopies
{
public:
    // A copy left behind; locked by this object while it lives, so that no other Velmora
    // starting now offers it too.
    struct LeftCopy {
        QString path;
        QString sourceFile; // empty for untitled text
        QDateTime written;
        std::unique_ptr<platform::FileLock> lock;
    };

    // Copies go to folder, which is created when needed; an empty folder keeps no copies.
    explicit RecoveryCopies(QString folder);
    ~RecoveryCopies();

    // Replaces this Velmora's copy atomically; throws platform::FileWriteError.
    void write(const QString &sourceFile, std::string_view text);
    // Removes this Velmora's copy; true when there was one.
    bool remove();
    bool exists() const;
    QString path() const { return copyPath_; }

    // The copies of Velmoras that have ended, newest first. Files that are no copies are
    // passed over.
    std::vector<LeftCopy> leftBehind() const;
    // The text of the copy at copyPath; throws std::runtime_error when it cannot be read.
    static QByteArray text(const QString &copyPath);
    // Deletes a copy and its lock file.
    static void discard(const LeftCopy &copy);

private:
    QString folder_;
    QString copyPath_; // empty when copies are not kept
    std::unique_ptr<platform::FileLock> lock_;
};

} // namespace velmora::app
