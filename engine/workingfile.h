// The file a conversion writes into before it is complete: invisible to the
// user, gone with a killed process, and given its name at the end without
// ever replacing a file.
#pragma once

#include <string>

namespace zelo {

// The folder part of a path ("." for a bare name).
std::string folderOf(const std::string &path);

// The longest file name the folder takes (its file system's limit).
size_t longestName(const std::string &folder);

// The output names, in the order they are tried: number 0 is `path` itself,
// then the number goes between the name and its extension
// ("folder/holiday.3gp", 2 -> "folder/holiday2.3gp"). The name is shortened
// at a character boundary (a byte boundary in a name that is no UTF-8) so
// that it, its number and its extension fit in `longest` bytes.
std::string numberedName(const std::string &path, int number, size_t longest = 255);

// The first of path's numbered names that is free now.
std::string firstFreeName(const std::string &path);

class WorkingFile
{
public:
    enum class Kind
    {
        Unnamed, // no name until published: nothing outlives a killed process
        Hidden   // a short hidden name, locked while its writer lives
    };

    WorkingFile() = default;
    ~WorkingFile(); // an unpublished file is removed
    WorkingFile(const WorkingFile &) = delete;
    WorkingFile &operator=(const WorkingFile &) = delete;

    // Creates the file in folder (folderOf the final path): unnamed where
    // the file system allows it (and `preferred` asks for it), hidden
    // otherwise. Removes first the hidden working files of dead writers.
    bool create(const std::string &folder, std::string &error, Kind preferred = Kind::Unnamed);

    Kind kind() const { return m_kind; }
    // Open for reading and writing until published or discarded.
    int fd() const { return m_fd; }
    // A path that opens this very file, for as long as it is unpublished.
    const std::string &path() const { return m_path; }

    // Gives the file the name `wanted`, or when that is taken the first free
    // numbered name; never replaces a file. `got` is the name it got.
    bool publish(const std::string &wanted, std::string &got, std::string &error);
    // Removes the unpublished file.
    void discard();

    // Removes the working files of dead writers in folder; a live writer's
    // file stays.
    static void tidyStale(const std::string &folder);

private:
    bool createUnnamed(const std::string &folder);
    bool createHidden(const std::string &folder, std::string &error);
    // 0 when named, else the errno of the attempt (EEXIST: taken).
    int giveName(const std::string &name);
    void close();

    int m_fd = -1;
    Kind m_kind = Kind::Unnamed;
    std::string m_path;
};

} // namespace zelo
