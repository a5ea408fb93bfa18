#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

namespace toolkit {

// Reading a file that someone else may have put in the program's way: only a regular file is
// opened, without ever waiting on it (a FIFO or a device would block or never end), and only
// its first bytes are read, so that neither a huge file nor a link to /dev/zero can stall the
// program or exhaust its memory.
class RegularFile {
public:
    struct Contents {
        QByteArray bytes; // at most the size asked for
        bool whole = true; // false when the file holds more than that
    };

    // The first `maxBytes` bytes of the file at `path`; nothing when it is missing, is not a
    // regular file once links are followed, or cannot be read.
    static std::optional<Contents> read(const QString& path, qint64 maxBytes);

    // Replaces the regular file at `path` (or creates it) with `bytes`, all or nothing: a
    // complete temporary file in the same folder, given the old file's owner, group and mode,
    // then a rename; a hard link to the old file keeps the old content. Only when no temporary
    // file can be made there (a read-only folder) is a writable file rewritten in place. Links
    // are followed only where the kernel itself would follow them for us, so a link planted
    // in a sticky world-writable folder by another user is not. Writes nothing and returns
    // false when the path leads to anything but a regular file or a missing one, or a link is
    // refused.
    static bool replace(const QString& path, const QByteArray& bytes);
};

} // namespace toolkit
