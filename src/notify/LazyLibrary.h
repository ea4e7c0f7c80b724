#pragma once

// The sound libraries are loaded the first time a sound plays, not at every
// start: LazySndfile.cpp and LazyPulse.cpp define the functions the program
// calls, and each forwards to the library's own, looked up on first use. A
// library that cannot be loaded makes its functions fail as they document
// failure (a null handle, an error code), never crash.

// The library's handle, loaded once; null when it cannot be loaded.
void *lazyLibrary(const char *soname);

// The library's own function of that name, or null.
void *lazySymbol(const char *soname, const char *name);

#ifdef TICKWELL_SOUND_LINK_PROBE

// Built into the link probe instead (src/notify/CMakeLists.txt): each entry
// keeps the address of the library's own function, so that the probe is
// linked against the libraries and uses just the functions the program
// calls. The package's dependencies on them are read from it.
#define TICKWELL_FORWARD(soname, ret, name, params, args, failure)                                    \
    [[gnu::used]] static decltype(&name) const probe_##name = &name;

#define TICKWELL_FORWARD_VOID(soname, name, params, args) TICKWELL_FORWARD(soname, void, name, params, args, )

#else

// Defines the function `name` of the library: it calls the library's own
// with the same arguments, or gives `failure` when there is none.
#define TICKWELL_FORWARD(soname, ret, name, params, args, failure)                                    \
    ret name params                                                                                    \
    {                                                                                                  \
        static const auto real = reinterpret_cast<decltype(&name)>(lazySymbol(soname, #name));        \
        return real ? real args : failure;                                                             \
    }

#define TICKWELL_FORWARD_VOID(soname, name, params, args)                                              \
    void name params                                                                                   \
    {                                                                                                  \
        static const auto real = reinterpret_cast<decltype(&name)>(lazySymbol(soname, #name));        \
        if (real)                                                                                      \
            real args;                                                                                 \
    }

#endif
