#include "engine/workingfile.h"

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <fstream>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace zelo {

namespace {

// Short, so that the working name fits wherever a legal output name does.
constexpr char kHiddenPrefix[] = ".zelo-";
constexpr char kHiddenSuffix[] = ".part";
constexpr size_t kHiddenLength = sizeof kHiddenPrefix - 1 + 6 + sizeof kHiddenSuffix - 1;
constexpr int kMostNumbers = 100000;

bool isHiddenWorkingName(const std::string &name)
{
    return name.size() == kHiddenLength && name.rfind(kHiddenPrefix, 0) == 0 &&
           name.compare(name.size() - (sizeof kHiddenSuffix - 1), std::string::npos,
                        kHiddenSuffix) == 0;
}

bool sameFile(int fd, const std::string &path)
{
    struct stat open, named;
    return fstat(fd, &open) == 0 && lstat(path.c_str(), &named) == 0 &&
           open.st_dev == named.st_dev && open.st_ino == named.st_ino;
}

// mkstemp makes the file private; the finished file should carry the mode
// any other new file of this user gets.
mode_t userFileMode()
{
    mode_t mask = 022;
    std::ifstream status("/proc/self/status");
    std::string key;
    while (status >> key) {
        if (key == "Umask:") {
            status >> std::oct >> mask;
            break;
        }
    }
    return 0666 & ~mask;
}

} // namespace

std::string folderOf(const std::string &path)
{
    size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

size_t longestName(const std::string &folder)
{
    const long limit = ::pathconf(folder.c_str(), _PC_NAME_MAX);
    return limit > 0 ? size_t(limit) : NAME_MAX;
}

namespace {

// Where to cut `text` to keep at most `size` bytes without splitting a UTF-8
// sequence; bytes that start no valid sequence are cut anywhere.
size_t characterCut(const std::string &text, size_t size)
{
    if (size >= text.size())
        return text.size();
    const auto byte = [&](size_t i) { return static_cast<unsigned char>(text[i]); };
    size_t lead = size;
    while (lead > 0 && size - lead < 3 && (byte(lead) & 0xC0) == 0x80)
        --lead;
    const unsigned char first = byte(lead);
    const size_t length = first >= 0xF0 ? 4 : first >= 0xE0 ? 3 : first >= 0xC0 ? 2 : 1;
    if (lead == size || lead + length <= size || lead + length > text.size())
        return size;
    for (size_t i = lead + 1; i < lead + length; ++i)
        if ((byte(i) & 0xC0) != 0x80)
            return size;
    return lead;
}

} // namespace

std::string numberedName(const std::string &path, int number, size_t longest)
{
    const size_t slash = path.rfind('/');
    const size_t nameAt = slash == std::string::npos ? 0 : slash + 1;
    size_t dot = path.rfind('.');
    if (dot == std::string::npos || dot < nameAt)
        dot = path.size();
    const std::string tail =
        (number > 0 ? std::to_string(number) : std::string()) + path.substr(dot);
    std::string base = path.substr(nameAt, dot - nameAt);
    if (base.size() + tail.size() > longest && tail.size() < longest)
        base.resize(characterCut(base, longest - tail.size()));
    return path.substr(0, nameAt) + base + tail;
}

std::string firstFreeName(const std::string &path)
{
    const size_t longest = longestName(folderOf(path));
    struct stat st;
    for (int n = 0; n < kMostNumbers; ++n) {
        std::string name = numberedName(path, n, longest);
        if (::lstat(name.c_str(), &st) != 0)
            return name;
    }
    return path;
}

WorkingFile::~WorkingFile()
{
    discard();
}

bool WorkingFile::create(const std::string &folder, std::string &error, Kind preferred)
{
    discard();
    tidyStale(folder);
    if (preferred == Kind::Unnamed && createUnnamed(folder))
        return true;
    return createHidden(folder, error);
}

bool WorkingFile::createUnnamed(const std::string &folder)
{
#ifdef O_TMPFILE
    m_fd = ::open(folder.c_str(), O_TMPFILE | O_RDWR | O_CLOEXEC, 0666);
    if (m_fd < 0)
        return false;
    // Naming it at the end links it in by the process's own link to it.
    m_path = "/proc/self/fd/" + std::to_string(m_fd);
    if (::access(m_path.c_str(), W_OK) != 0) {
        close();
        return false;
    }
    m_kind = Kind::Unnamed;
    return true;
#else
    (void)folder;
    return false;
#endif
}

bool WorkingFile::createHidden(const std::string &folder, std::string &error)
{
    // A tidier of another process may take the new file for a dead one in
    // the moment before it is locked: then make another.
    for (int attempt = 0; attempt < 10; ++attempt) {
        std::string pattern = folder + "/" + kHiddenPrefix + "XXXXXX" + kHiddenSuffix;
        int fd = mkostemps(pattern.data(), sizeof kHiddenSuffix - 1, O_CLOEXEC);
        if (fd < 0) {
            error = "cannot write into the folder '" + folder + "': " + std::strerror(errno);
            return false;
        }
        if (flock(fd, LOCK_EX | LOCK_NB) == 0 && sameFile(fd, pattern)) {
            fchmod(fd, userFileMode());
            m_fd = fd;
            m_path = pattern;
            m_kind = Kind::Hidden;
            return true;
        }
        ::close(fd);
    }
    error = "cannot write into the folder '" + folder + "': its working files keep vanishing";
    return false;
}

void WorkingFile::tidyStale(const std::string &folder)
{
    DIR *dir = opendir(folder.c_str());
    if (!dir)
        return;
    while (const dirent *entry = readdir(dir)) {
        const std::string name = entry->d_name;
        if (!isHiddenWorkingName(name))
            continue;
        const std::string path = folder + "/" + name;
        int fd = ::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
        if (fd < 0)
            continue;
        // The lock dies with its writer: whoever can take it holds a file
        // nobody writes any more.
        if (flock(fd, LOCK_EX | LOCK_NB) == 0 && sameFile(fd, path))
            ::unlink(path.c_str());
        ::close(fd);
    }
    closedir(dir);
}

int WorkingFile::giveName(const std::string &name)
{
    if (m_kind == Kind::Unnamed) {
        // Linking fails when the name is taken, whoever took it.
        return ::linkat(AT_FDCWD, m_path.c_str(), AT_FDCWD, name.c_str(), AT_SYMLINK_FOLLOW) == 0
                   ? 0
                   : errno;
    }
#ifdef RENAME_NOREPLACE
    if (::renameat2(AT_FDCWD, m_path.c_str(), AT_FDCWD, name.c_str(), RENAME_NOREPLACE) == 0)
        return 0;
    if (errno != EINVAL && errno != ENOSYS && errno != ENOTSUP)
        return errno;
#endif
    // A second link, then the working name dropped: just as safe.
    if (::link(m_path.c_str(), name.c_str()) == 0) {
        ::unlink(m_path.c_str());
        return 0;
    }
    if (errno != EPERM && errno != ENOTSUP && errno != ENOSYS)
        return errno;
    // A file system with neither: the best left is to look first.
    struct stat st;
    if (::lstat(name.c_str(), &st) == 0)
        return EEXIST;
    return std::rename(m_path.c_str(), name.c_str()) == 0 ? 0 : errno;
}

bool WorkingFile::publish(const std::string &wanted, std::string &got, std::string &error)
{
    if (m_fd < 0) {
        error = "cannot name the output '" + wanted + "': nothing was written";
        return false;
    }
    const size_t longest = longestName(folderOf(wanted));
    int err = EEXIST;
    for (int n = 0; n < kMostNumbers && err == EEXIST; ++n) {
        got = numberedName(wanted, n, longest);
        err = giveName(got);
    }
    if (err != 0) {
        error = "cannot name the output '" + wanted + "': " + std::strerror(err);
        got.clear();
        return false;
    }
    m_path.clear();
    close();
    return true;
}

void WorkingFile::discard()
{
    if (m_kind == Kind::Hidden && !m_path.empty())
        ::unlink(m_path.c_str());
    m_path.clear();
    close();
}

void WorkingFile::close()
{
    if (m_fd >= 0)
        ::close(m_fd);
    m_fd = -1;
}

} // namespace zelo
