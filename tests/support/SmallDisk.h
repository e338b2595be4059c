// A small file system of its own (tmpfs) mounted on a folder, to fill up: writes to it fail
// part way with "No space left on device". Mounting needs the rights to mount; where the
// tests run without them, mounted() is false and the test skips.
#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>

#include <cstdio>

#include <sys/mount.h>

namespace velmora::testing
{

class SmallDisk
{
public:
    SmallDisk(const QString &folder, int kilobytes) : folder_(QFile::encodeName(folder))
    {
        const QByteArray options = "size=" + QByteArray::number(kilobytes) + "k";
        mounted_ = ::mount("tmpfs", folder_.constData(), "tmpfs", 0, options.constData()) == 0;
    }
    ~SmallDisk()
    {
        if (mounted_)
            ::umount2(folder_.constData(), MNT_DETACH);
    }
    SmallDisk(const SmallDisk &) = delete;
    SmallDisk &operator=(const SmallDisk &) = delete;

    bool mounted() const { return mounted_; }

    // Fills the disk with a file of its own until no byte more fits.
    void fill() const
    {
        std::FILE *file = std::fopen((folder_ + "/filler").constData(), "wb");
        if (!file)
            return;
        static const char block[4096] = {};
        while (std::fwrite(block, 1, sizeof block, file) == sizeof block && std::fflush(file) == 0) {
        }
        while (std::fputc(0, file) != EOF && std::fflush(file) == 0) {
        }
        std::fclose(file);
    }

private:
    QByteArray folder_;
    bool mounted_ = false;
};

} // namespace velmora::testing
