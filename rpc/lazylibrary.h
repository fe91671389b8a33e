#pragma once

// Libraries the program needs only once it connects (the TLS crypto library, the SSH library) are loaded then, by
// their run-time name: linked at start they would cost every start their loading and relocation before the first
// frame. MQ_LAZY_FUNCTION(library, name) declares a function of the same name and signature, in the namespace it is
// written in, that resolves the library's function on its first call.

#include <mutex>
#include <utility>

class LazyLibrary
{
public:
    explicit LazyLibrary(const char *soname) : m_soname(soname) { }
    LazyLibrary(const LazyLibrary &) = delete;
    LazyLibrary &operator=(const LazyLibrary &) = delete;

    // The function's address. A library or a function that cannot be found ends the program with the loader's
    // message, as the loader would have refused to start it had the library been linked.
    void *resolve(const char *name);

private:
    const char *m_soname;
    std::once_flag m_loaded;
    void *m_handle = nullptr;
};

LazyLibrary &libcrypto();

#define MQ_LAZY_FUNCTION(library, name)                                                                                \
    template<typename... Args>                                                                                         \
    inline auto name(Args &&...args)                                                                                   \
    {                                                                                                                  \
        static const auto function = reinterpret_cast<decltype(&::name)>(library().resolve(#name));                    \
        return function(std::forward<Args>(args)...);                                                                  \
    }
