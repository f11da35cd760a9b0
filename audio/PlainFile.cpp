#include "PlainFile.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace mirelo {

namespace {

// A descriptor closed when it goes.
class Descriptor {
public:
    explicit Descriptor(int fd) : fd_(fd) {}
    ~Descriptor() {
        if (fd_ >= 0)
            ::close(fd_);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int Fd() const { return fd_; }

private:
    int fd_;
};

// A name with something before `ending`.
bool EndsWithNoCase(const std::string& name, const std::string& ending) {
    return name.size() > ending.size() &&
           std::equal(ending.rbegin(), ending.rend(), name.rbegin(), [](char a, char b) {
               return std::tolower(static_cast<unsigned char>(a)) ==
                      std::tolower(static_cast<unsigned char>(b));
           });
}

} // namespace

std::optional<std::uint64_t> RegularFileSize(const std::string& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode))
        return std::nullopt;
    return static_cast<std::uint64_t>(info.st_size);
}

std::optional<std::vector<std::uint8_t>> ReadRegularFile(const std::string& path, std::size_t count,
                                                         bool whole) {
    const Descriptor file(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    struct stat info {};
    if (file.Fd() < 0 || ::fstat(file.Fd(), &info) != 0 || !S_ISREG(info.st_mode))
        return std::nullopt;
    const auto size = static_cast<std::uint64_t>(info.st_size);
    if (whole ? size > count : size < count)
        return std::nullopt;
    std::vector<std::uint8_t> bytes(whole ? static_cast<std::size_t>(size) : count);
    for (std::size_t done = 0; done < bytes.size();) {
        const ssize_t n = ::read(file.Fd(), bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return std::nullopt;
        done += static_cast<std::size_t>(n);
    }
    return bytes;
}

std::vector<std::string> RegularFilesIn(const std::string& folder, const std::string& extension) {
    std::vector<std::string> paths;
    DIR* dir = ::opendir(folder.c_str());
    if (!dir)
        return paths;
    const std::string prefix = folder.empty() || folder.back() == '/' ? folder : folder + '/';
    while (const dirent* entry = ::readdir(dir)) {
        const std::string path = prefix + entry->d_name;
        if (EndsWithNoCase(entry->d_name, extension) && RegularFileSize(path))
            paths.push_back(path);
    }
    ::closedir(dir);
    std::sort(paths.begin(), paths.end());
    return paths;
}

} // namespace mirelo
