#include "core/binary_folder.hpp"

#include <dlfcn.h>
#include <sys/stat.h>

#include <climits>
#include <cstdlib>

namespace zk {
namespace {

std::string find_binary_folder() {
    Dl_info info{};
    if (dladdr(reinterpret_cast<const void*>(&find_binary_folder), &info) == 0 ||
        info.dli_fname == nullptr) {
        return {};
    }
    char resolved[PATH_MAX];
    if (realpath(info.dli_fname, resolved) == nullptr) return {};
    std::string path(resolved);
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

}  // namespace

const std::string& binary_folder() {
    static const std::string folder = find_binary_folder();
    return folder;
}

bool is_folder(const std::string& path) {
    struct stat info {};
    return !path.empty() && stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

}  // namespace zk
