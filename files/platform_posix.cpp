// The files layer's system calls on POSIX systems: open, read and stat,
// the save through a temporary file, and iconv for code page 1250.
#include "files/platform.h"

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <iconv.h>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>
#if defined(__linux__)
#include <sys/xattr.h>
#endif

namespace dilatany::files::platform {
namespace {

namespace fs = std::filesystem;

SystemError FromErrno(int error)
{
    Reason reason = Reason::Other;
    switch (error) {
    case ENOSPC: reason = Reason::NoSpace; break;
    case EACCES:
    case EPERM: reason = Reason::PermissionDenied; break;
    case EROFS: reason = Reason::ReadOnlyFileSystem; break;
    case EFBIG: reason = Reason::TooLarge; break;
    case ENAMETOOLONG: reason = Reason::NameTooLong; break;
#ifdef EDQUOT
    case EDQUOT: reason = Reason::QuotaExceeded; break;
#endif
    case EISDIR: reason = Reason::NotAFile; break;
    case ENOTDIR: reason = Reason::NotADirectory; break;
    default: break;
    }
    return {reason, std::strerror(error)};
}

class FileDescriptor {
public:
    explicit FileDescriptor(int fd) : m_fd(fd) {}
    ~FileDescriptor()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    FileDescriptor(const FileDescriptor &) = delete;
    FileDescriptor &operator=(const FileDescriptor &) = delete;
    int get() const { return m_fd; }
    // Closes now, reporting the result; the destructor then does nothing.
    int close()
    {
        const int rc = ::close(m_fd);
        m_fd = -1;
        return rc;
    }

private:
    int m_fd;
};

// Reads at most `limit` bytes from `fd`; nothing on a read error.
std::optional<std::string> ReadBounded(int fd, std::size_t limit)
{
    std::string bytes(limit, '\0');
    std::size_t got = 0;
    while (got < limit) {
        const ssize_t n = ::read(fd, bytes.data() + got, limit - got);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return std::nullopt;
        if (n == 0)
            break;
        got += static_cast<std::size_t>(n);
    }
    bytes.resize(got);
    return bytes;
}

bool WriteAll(int fd, std::string_view bytes)
{
    while (!bytes.empty()) {
        const ssize_t n = ::write(fd, bytes.data(), bytes.size());
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            if (n == 0)
                errno = EIO;
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

// Follows symbolic links to the path a save really replaces. A link to a
// missing file gives that file's path, which the save then creates.
fs::path ResolveLinks(fs::path path, int &error)
{
    for (int hops = 0; hops < 40; ++hops) {
        struct stat st {};
        if (::lstat(path.c_str(), &st) != 0) {
            if (errno == ENOENT)
                return path;
            error = errno;
            return {};
        }
        if (!S_ISLNK(st.st_mode))
            return path;
        std::error_code ec;
        const fs::path target = fs::read_symlink(path, ec);
        if (ec) {
            error = ec.value();
            return {};
        }
        path = target.is_absolute() ? target : path.parent_path() / target;
    }
    error = ELOOP;
    return {};
}

// Whether the file carries extended attributes that a new file would not
// get: an access list, a user's own attributes. The security labels that
// every file gets from its folder do not count.
bool HasOwnAttributes(int fd)
{
#if defined(__linux__)
    std::string names(4096, '\0');
    ssize_t size = ::flistxattr(fd, names.data(), names.size());
    if (size < 0 && errno == ERANGE) {
        size = ::flistxattr(fd, nullptr, 0);
        if (size > 0) {
            names.resize(static_cast<std::size_t>(size));
            size = ::flistxattr(fd, names.data(), names.size());
        }
    }
    if (size <= 0)
        return false;
    for (std::size_t at = 0; at < static_cast<std::size_t>(size);) {
        const std::string_view name(names.data() + at);
        if (!name.starts_with("security."))
            return true;
        at += name.size() + 1;
    }
#else
    (void)fd;
#endif
    return false;
}

// Permission bits for a new file: 0666 less the process's umask, read without
// changing it where the system shows it.
mode_t NewFileMode()
{
    if (std::FILE *status = std::fopen("/proc/self/status", "re")) {
        char line[256];
        unsigned mask = 0;
        bool found = false;
        while (!found && std::fgets(line, sizeof line, status))
            found = std::sscanf(line, "Umask: %o", &mask) == 1;
        std::fclose(status);
        if (found)
            return 0666 & ~static_cast<mode_t>(mask);
    }
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

// The name of the temporary file beside `target`, a mkstemp template. A very
// long name is shortened so that the temporary stays within the name limit.
std::string TemporaryTemplate(const fs::path &target)
{
    std::string name = target.filename().string();
    if (name.size() > 200)
        name.resize(200);
    const fs::path folder = target.parent_path();
    const std::string prefix = folder.empty() ? std::string() : folder.string() + "/";
    return prefix + "." + name + ".XXXXXX";
}

// One iconv descriptor per direction and thread, opened on first use.
class Converter {
public:
    Converter(const char *to, const char *from) : m_cd(iconv_open(to, from))
    {
        if (m_cd == reinterpret_cast<iconv_t>(-1))
            throw std::system_error(errno, std::generic_category(),
                                    std::string("iconv_open ") + from + " -> " + to);
    }
    ~Converter() { iconv_close(m_cd); }
    Converter(const Converter &) = delete;
    Converter &operator=(const Converter &) = delete;

    // Converts as much of `in` as it can, appending to `out`. Returns the
    // number of input bytes consumed; fewer than in.size() means the byte at
    // that offset could not be converted.
    std::size_t Convert(std::string_view in, std::string &out)
    {
        iconv(m_cd, nullptr, nullptr, nullptr, nullptr);
        char *inPtr = const_cast<char *>(in.data());
        std::size_t inLeft = in.size();
        char buffer[1024];
        while (inLeft > 0) {
            char *outPtr = buffer;
            std::size_t outLeft = sizeof buffer;
            const std::size_t rc = iconv(m_cd, &inPtr, &inLeft, &outPtr, &outLeft);
            out.append(buffer, static_cast<std::size_t>(outPtr - buffer));
            if (rc == static_cast<std::size_t>(-1) && errno != E2BIG)
                break;  // EILSEQ or EINVAL: the caller looks at the byte
        }
        return in.size() - inLeft;
    }

private:
    iconv_t m_cd;
};

Converter &Decoder()
{
    thread_local Converter converter("UTF-8", "CP1250");
    return converter;
}

Converter &Encoder()
{
    thread_local Converter converter("CP1250", "UTF-8");
    return converter;
}

// The new file's directory entry made durable; the save itself has succeeded
// by then, so a failure here is not reported.
void SyncFolder(const fs::path &target)
{
    const fs::path folder = target.parent_path();
    FileDescriptor dir(::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (dir.get() >= 0)
        (void)::fsync(dir.get());
}

// A file that does not exist yet: written under a temporary name and renamed,
// so that no half-written file ever carries the name.
std::optional<SystemError> CreateFile(const fs::path &target, std::string_view bytes)
{
    std::string temporary = TemporaryTemplate(target);
    FileDescriptor fd(::mkstemp(temporary.data()));
    if (fd.get() < 0)
        return FromErrno(errno);
    const auto fail = [&](int reason) {
        ::unlink(temporary.c_str());
        return FromErrno(reason);
    };
    if (!WriteAll(fd.get(), bytes))
        return fail(errno);
    if (::fchmod(fd.get(), NewFileMode()) != 0 || ::fsync(fd.get()) != 0 || fd.close() != 0)
        return fail(errno);
    if (::rename(temporary.c_str(), target.c_str()) != 0)
        return fail(errno);
    SyncFolder(target);
    return std::nullopt;
}

enum class Replacement { Done, Failed, NotPossible };

// Replaces the existing file `old` atomically: a temporary file beside it
// with its owner, group and permission bits, renamed over it. NotPossible
// where the temporary cannot be made in the folder or cannot be given the
// owner and group; the old file is untouched then, and so on Failed, where
// `error` tells why.
Replacement ReplaceFile(const fs::path &target, const struct stat &old, std::string_view bytes, int &error)
{
    std::string temporary = TemporaryTemplate(target);
    FileDescriptor fd(::mkstemp(temporary.data()));
    if (fd.get() < 0) {
        error = errno;
        return error == EACCES || error == EPERM ? Replacement::NotPossible : Replacement::Failed;
    }
    const auto give_up = [&](Replacement outcome, int reason) {
        ::unlink(temporary.c_str());
        error = reason;
        return outcome;
    };
    struct stat fresh {};
    if (::fstat(fd.get(), &fresh) != 0)
        return give_up(Replacement::Failed, errno);
    // Another owner only a privileged process can give; a group only a member
    // of it. Before fchmod, as a change of owner clears the set-id bits.
    if (fresh.st_uid != old.st_uid || fresh.st_gid != old.st_gid) {
        const uid_t owner = fresh.st_uid != old.st_uid ? old.st_uid : static_cast<uid_t>(-1);
        const gid_t group = fresh.st_gid != old.st_gid ? old.st_gid : static_cast<gid_t>(-1);
        if (::fchown(fd.get(), owner, group) != 0)
            return give_up(Replacement::NotPossible, errno);
    }
    if (::fchmod(fd.get(), old.st_mode & 07777) != 0)
        return give_up(Replacement::NotPossible, errno);
    // A set-group-id bit the system dropped for a non-member shows here.
    if (::fstat(fd.get(), &fresh) != 0)
        return give_up(Replacement::Failed, errno);
    if ((fresh.st_mode & 07777) != (old.st_mode & 07777))
        return give_up(Replacement::NotPossible, EPERM);

    if (!WriteAll(fd.get(), bytes) || ::fsync(fd.get()) != 0 || fd.close() != 0)
        return give_up(Replacement::Failed, errno);
    if (::rename(temporary.c_str(), target.c_str()) != 0)
        return give_up(Replacement::Failed, errno);
    SyncFolder(target);
    return Replacement::Done;
}

// Writes the file through its own descriptor, for the cases where a
// replacement would change what the file is. The space for a longer file is
// reserved first, so a full disk or a size limit stops the save before any
// old byte is overwritten; a failure after that is reported all the same.
std::optional<SystemError> WriteInPlace(FileDescriptor &fd, const struct stat &old, std::string_view bytes)
{
    const auto length = static_cast<off_t>(bytes.size());
    if (length > old.st_size) {
        const int reserved = ::posix_fallocate(fd.get(), 0, length);
        // A file system without the call is written all the same.
        if (reserved != 0 && reserved != EOPNOTSUPP && reserved != EINVAL)
            return FromErrno(reserved);
    }
    if (!WriteAll(fd.get(), bytes) || ::ftruncate(fd.get(), length) != 0 || ::fsync(fd.get()) != 0
        || fd.close() != 0)
        return FromErrno(errno);
    return std::nullopt;
}

} // namespace

SystemError ErrorFromCode(unsigned long code) { return FromErrno(static_cast<int>(code)); }

ReadOutcome ReadRegularFile(const fs::path &path, std::size_t limit)
{
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0)
        return {ReadStatus::CannotOpen, {}};
    if (!S_ISREG(st.st_mode))
        return {ReadStatus::NotRegularFile, {}};

    FileDescriptor fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY));
    if (fd.get() < 0)
        return {ReadStatus::CannotOpen, {}};
    // The path may have been replaced in between; the open file decides.
    if (::fstat(fd.get(), &st) != 0)
        return {ReadStatus::CannotOpen, {}};
    if (!S_ISREG(st.st_mode))
        return {ReadStatus::NotRegularFile, {}};
    if (static_cast<std::uintmax_t>(st.st_size) > limit)
        return {ReadStatus::TooLarge, {}};

    // One byte more than allowed tells a file that grew since fstat.
    std::optional<std::string> bytes = ReadBounded(fd.get(), limit + 1);
    if (!bytes)
        return {ReadStatus::CannotOpen, {}};
    if (bytes->size() > limit)
        return {ReadStatus::TooLarge, {}};
    return {ReadStatus::Read, std::move(*bytes)};
}

std::optional<SystemError> SaveFile(const fs::path &path, std::string_view bytes)
{
    int error = 0;
    const fs::path target = ResolveLinks(path, error);
    if (error != 0)
        return FromErrno(error);

    // Only a regular file is replaced: renaming over a device or a folder
    // would destroy something that is no data file.
    struct stat old {};
    const bool exists = ::stat(target.c_str(), &old) == 0;
    if (!exists && errno != ENOENT)
        return FromErrno(errno);
    if (exists && !S_ISREG(old.st_mode))
        return SystemError{Reason::NotAFile, std::strerror(EISDIR)};
    if (!exists)
        return CreateFile(target, bytes);

    // Opening the file for writing asks the system itself whether this user
    // may write it (permission bits, access lists, the immutable flag, a
    // read-only mount), and changes nothing yet.
    FileDescriptor fd(::open(target.c_str(), O_WRONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK));
    if (fd.get() < 0) {
        if (errno == EACCES || errno == EPERM)
            return SystemError{Reason::ReadOnlyFile, std::strerror(errno)};
        return FromErrno(errno);
    }
    if (::fstat(fd.get(), &old) != 0)
        return FromErrno(errno);
    if (!S_ISREG(old.st_mode))
        return SystemError{Reason::NotAFile, std::strerror(EISDIR)};

    // A rename would leave the other names of the file with the old content,
    // and would drop an access list or other attributes of the file.
    if (old.st_nlink > 1 || HasOwnAttributes(fd.get()))
        return WriteInPlace(fd, old, bytes);
    switch (ReplaceFile(target, old, bytes, error)) {
    case Replacement::Done: return std::nullopt;
    case Replacement::Failed: return FromErrno(error);
    case Replacement::NotPossible: return WriteInPlace(fd, old, bytes);
    }
    return std::nullopt;
}

std::string DecodeCp1250Defined(std::string_view bytes)
{
    std::string text;
    text.reserve(bytes.size() + bytes.size() / 4);
    const std::size_t done = Decoder().Convert(bytes, text);
    if (done < bytes.size())
        throw std::system_error(EILSEQ, std::generic_category(), "iconv CP1250 -> UTF-8");
    return text;
}

std::size_t EncodeCp1250Prefix(std::string_view utf8, std::string &out)
{
    return Encoder().Convert(utf8, out);
}

} // namespace dilatany::files::platform
