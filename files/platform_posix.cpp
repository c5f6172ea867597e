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

} // namespace

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
    // Keep the owner of a file that someone else's save would otherwise take
    // over; only a privileged process can, and failing to is no failed save.
    // Before fchmod, as a change of owner clears the set-id bits.
    if (exists && (old.st_uid != ::geteuid() || old.st_gid != ::getegid())) {
        [[maybe_unused]] const int kept = ::fchown(fd.get(), old.st_uid, old.st_gid);
    }
    if (::fchmod(fd.get(), exists ? (old.st_mode & 07777) : NewFileMode()) != 0)
        return fail(errno);
    if (::fsync(fd.get()) != 0)
        return fail(errno);
    if (fd.close() != 0)
        return fail(errno);
    if (::rename(temporary.c_str(), target.c_str()) != 0)
        return fail(errno);

    // Make the new directory entry durable too; the save itself has succeeded.
    const fs::path folder = target.parent_path();
    FileDescriptor dir(::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (dir.get() >= 0)
        (void)::fsync(dir.get());
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
