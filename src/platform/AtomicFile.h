// Writing a whole file so that it is either replaced completely or not at all: the bytes go
// to a temporary file in the same folder, are flushed to the disk and then renamed over the
// old file. A full disk, a quota or any other failure part way leaves the old file as it was.
#pragma once

#include <QString>

#include <stdexcept>
#include <string_view>

namespace velmora::platform
{

// A file that could not be written; the message names the file and the cause.
class FileWriteError : public std::runtime_error
{
public:
    FileWriteError(const std::string &message, int error) : std::runtime_error(message), error_(error) {}
    // The errno of the failure.
    int error() const { return error_; }
    // The system's words for it ("No space left on device").
    QString cause() const;

private:
    int error_;
};

// Replaces (or creates) the file at path by bytes. A symbolic link is written through; an
// existing file keeps its permissions, and one that may not be written is not replaced. The
// temporary file's name is short and fixed in length, so names up to the file system's limit
// save. When the folder cannot take the temporary file but the file itself is writable, the
// file is not overwritten in place (a failure part way would leave half of it): the write is
// refused.
//
// Throws FileWriteError: "Cannot create file "<path>". <reason>" when no file could be
// started, "Cannot write file "<path>". <reason>" when the bytes could not be stored.
void writeFileAtomically(const QString &path, std::string_view bytes);

} // namespace velmora::platform
