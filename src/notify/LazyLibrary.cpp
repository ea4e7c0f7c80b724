#include "LazyLibrary.h"

#include <dlfcn.h>

#include <cstring>
#include <mutex>
#include <string>
#include <unordered_map>

void *lazyLibrary(const char *soname)
{
    // A handful of libraries, each opened once and never closed.
    static std::mutex lock;
    static std::unordered_map<std::string, void *> handles;
    const std::lock_guard<std::mutex> guard(lock);
    auto found = handles.find(soname);
    if (found == handles.end())
        found = handles.emplace(soname, dlopen(soname, RTLD_NOW | RTLD_LOCAL)).first;
    return found->second;
}

void *lazySymbol(const char *soname, const char *name)
{
    void *handle = lazyLibrary(soname);
    return handle ? dlsym(handle, name) : nullptr;
}
