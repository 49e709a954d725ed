// Loading the engine library by full path and binding its entries by export
// name, as the program does, for the command-line tools around it.
#pragma once

#include <climits>
#include <cstdio>
#include <dlfcn.h>
#include <string>
#include <unistd.h>

// libEncoder.so in the running executable's own folder.
inline std::string engineBesideExecutable()
{
    char self[PATH_MAX];
    ssize_t n = readlink("/proc/self/exe", self, sizeof self - 1);
    if (n <= 0)
        return {};
    std::string path(self, static_cast<size_t>(n));
    return path.substr(0, path.rfind('/') + 1) + "libEncoder.so";
}

// Never through the library search path: only the file named.
inline void *openEngine(const std::string &path, const char *tool)
{
    void *lib =
        path.empty() || path[0] != '/' ? nullptr : dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!lib)
        std::fprintf(stderr, "%s: cannot load %s: %s\n", tool, path.c_str(),
                     path.empty() || path[0] != '/' ? "not a full path" : dlerror());
    return lib;
}

template <typename Fn> bool bindEntry(void *lib, const char *name, Fn &fn, const char *tool)
{
    fn = reinterpret_cast<Fn>(dlsym(lib, name));
    if (!fn)
        std::fprintf(stderr, "%s: the engine has no %s\n", tool, name);
    return fn != nullptr;
}
