#include "walkbaseline.h"

#include "cardmaker.h"

#include <algorithm>
#include <dirent.h>
#include <fcntl.h>
#include <strings.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

bool hasBmpSuffix(const std::string &name)
{
    const size_t dot = name.rfind('.');
    return dot != std::string::npos && strcasecmp(name.c_str() + dot + 1, "bmp") == 0;
}

bool headerMatches(int dirFd, const char *name)
{
    const int fd = ::openat(dirFd, name, O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    unsigned char header[54];
    const bool ok = ::pread(fd, header, sizeof header, 0) == ssize_t(sizeof header);
    ::close(fd);
    const unsigned size = header[2] | header[3] << 8 | header[4] << 16 | unsigned(header[5]) << 24;
    return ok && size == CardMaker::HeaderFileSize;
}

void walkInto(const std::string &path, std::vector<std::string> &out)
{
    DIR *dir = ::opendir(path.c_str());
    if (!dir)
        return;
    std::vector<std::string> names;
    while (dirent *entry = ::readdir(dir)) {
        if (entry->d_name[0] != '.')
            names.emplace_back(entry->d_name);
    }
    std::sort(names.begin(), names.end(), [](const std::string &a, const std::string &b) {
        return strcasecmp(a.c_str(), b.c_str()) < 0;
    });
    const int dirFd = ::dirfd(dir);
    for (const std::string &name : names) {
        struct stat st;
        if (::fstatat(dirFd, name.c_str(), &st, 0) != 0)
            continue;
        if (S_ISDIR(st.st_mode)) {
            walkInto(path + '/' + name, out);
        } else if (hasBmpSuffix(name) && st.st_size == CardMaker::PictureFileSize
                   && headerMatches(dirFd, name.c_str())) {
            out.push_back(path + '/' + name);
        }
    }
    ::closedir(dir);
}

} // namespace

std::vector<std::string> WalkBaseline::walk(const std::string &root)
{
    std::vector<std::string> out;
    walkInto(root, out);
    return out;
}
