#include "toolkit/RegularFile.h"

#include <QFile>
#include <QRandomGenerator>
#include <algorithm>
#include <cerrno>
#include <climits>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace toolkit {

namespace {

    constexpr int kMaxLinks = 40; // as the kernel, before it gives up with ELOOP

    // What a save replaces: a regular file, or nothing yet.
    struct Target {
        QByteArray path;
        bool exists = false;
        struct stat status = {};
    };

    QByteArray folderOf(const QByteArray& path)
    {
        const qsizetype slash = path.lastIndexOf('/');
        return slash < 0 ? QByteArray(".") : slash == 0 ? QByteArray("/") : path.left(slash);
    }

    // The kernel's rule for links in sticky world-writable folders (/tmp and the like), applied
    // whatever the system's setting: only links of the folder's owner or of our own user are
    // followed there.
    bool mayFollow(const struct stat& link, const QByteArray& folder)
    {
        struct stat status = {};
        if (::stat(folder.constData(), &status) != 0)
            return false;
        const bool shared = (status.st_mode & S_ISVTX) && (status.st_mode & S_IWOTH);
        return !shared || link.st_uid == ::geteuid() || link.st_uid == status.st_uid;
    }

    // Follows `path` link by link to what a save would replace.
    std::optional<Target> resolve(QByteArray path)
    {
        for (int links = 0; links <= kMaxLinks; ++links) {
            Target target { path };
            if (::lstat(path.constData(), &target.status) != 0) {
                // A missing file is created; a link to nothing is left alone.
                if (errno == ENOENT && links == 0)
                    return target;
                return std::nullopt;
            }
            if (S_ISREG(target.status.st_mode)) {
                target.exists = true;
                return target;
            }
            if (!S_ISLNK(target.status.st_mode))
                return std::nullopt;
            const QByteArray folder = folderOf(path);
            if (!mayFollow(target.status, folder))
                return std::nullopt;
            QByteArray link(PATH_MAX, '\0');
            const ssize_t size = ::readlink(path.constData(), link.data(), size_t(link.size()));
            if (size <= 0 || size >= link.size())
                return std::nullopt;
            link.truncate(size);
            path = link.startsWith('/') ? link : folder + '/' + link;
        }
        return std::nullopt;
    }

    bool writeAll(int fd, const QByteArray& bytes)
    {
        qsizetype done = 0;
        while (done < bytes.size()) {
            const ssize_t n = ::write(fd, bytes.constData() + done, size_t(bytes.size() - done));
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0)
                return false;
            done += n;
        }
        return ::fdatasync(fd) == 0;
    }

    // Where no temporary file can be made, the old file itself takes the new bytes: emptied
    // first, so that a write failing part-way leaves fewer fields, never mixed ones.
    bool rewriteInPlace(const Target& target, const QByteArray& bytes)
    {
        const int fd = ::open(
            target.path.constData(), O_WRONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
        if (fd < 0)
            return false;
        struct stat opened = {};
        const bool same = ::fstat(fd, &opened) == 0 && S_ISREG(opened.st_mode)
            && opened.st_dev == target.status.st_dev && opened.st_ino == target.status.st_ino;
        const bool written = same && ::ftruncate(fd, 0) == 0 && writeAll(fd, bytes);
        return ::close(fd) == 0 && written;
    }

    // A new file beside the target, readable only by us until it has the old file's owner and
    // mode; a new settings file gets the usual mode for a new file.
    int createTemporary(const Target& target, QByteArray& name)
    {
        const QByteArray folder = folderOf(target.path);
        const QByteArray base = target.path.mid(target.path.lastIndexOf('/') + 1);
        for (int attempt = 0; attempt < 100; ++attempt) {
            name = folder + "/." + base + '.'
                + QByteArray::number(QRandomGenerator::global()->generate64(), 36);
            const int fd = ::open(name.constData(),
                O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, target.exists ? 0600 : 0666);
            if (fd >= 0 || errno != EEXIST)
                return fd;
        }
        return -1;
    }

    bool takeOwnerAndMode(int fd, const struct stat& old)
    {
        struct stat status = {};
        if (::fstat(fd, &status) != 0)
            return false;
        if ((status.st_uid != old.st_uid || status.st_gid != old.st_gid)
            && ::fchown(fd, old.st_uid, old.st_gid) != 0)
            return false;
        // After the owner: changing it clears the set-user and set-group bits.
        return ::fchmod(fd, old.st_mode & 07777) == 0;
    }

} // namespace

bool RegularFile::replace(const QString& path, const QByteArray& bytes)
{
    const std::optional<Target> target = resolve(QFile::encodeName(path));
    if (!target)
        return false;
    QByteArray temporary;
    const int fd = createTemporary(*target, temporary);
    if (fd < 0)
        return target->exists && rewriteInPlace(*target, bytes);
    if (target->exists && !takeOwnerAndMode(fd, target->status)) {
        // Someone else's file, which we may write but not give away: it stays theirs.
        ::close(fd);
        ::unlink(temporary.constData());
        return rewriteInPlace(*target, bytes);
    }
    const bool written = writeAll(fd, bytes);
    if (::close(fd) != 0 || !written
        || ::rename(temporary.constData(), target->path.constData()) != 0) {
        ::unlink(temporary.constData());
        return false;
    }
    return true;
}

std::optional<RegularFile::Contents> RegularFile::read(const QString& path, qint64 maxBytes)
{
    const QByteArray name = QFile::encodeName(path);
    // Checked before the open, so that a device node is never opened at all (opening some has
    // effects), then again on what was opened, in case the name changed in between.
    struct stat before = {};
    if (::stat(name.constData(), &before) != 0 || !S_ISREG(before.st_mode))
        return std::nullopt;
    const int fd = ::open(name.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0)
        return std::nullopt;
    struct stat opened = {};
    if (::fstat(fd, &opened) != 0 || !S_ISREG(opened.st_mode)) {
        ::close(fd);
        return std::nullopt;
    }

    // One byte more than asked tells whether the file goes on.
    Contents contents;
    const qint64 wanted = maxBytes + 1;
    contents.bytes.resize(
        qsizetype(std::min<qint64>(wanted, std::max<qint64>(opened.st_size, 0) + 1)));
    qint64 got = 0;
    bool failed = false;
    while (got < wanted) {
        if (got == contents.bytes.size())
            contents.bytes.resize(qsizetype(std::min<qint64>(wanted, got * 2 + 4096)));
        const ssize_t n
            = ::read(fd, contents.bytes.data() + got, size_t(contents.bytes.size() - got));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            failed = true;
            break;
        }
        if (n == 0)
            break;
        got += n;
    }
    ::close(fd);
    if (failed)
        return std::nullopt;
    contents.whole = got <= maxBytes;
    contents.bytes.resize(qsizetype(std::min(got, maxBytes)));
    return contents;
}

} // namespace toolkit
