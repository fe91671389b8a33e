#include "rpc/lazylibrary.h"

#include <QtGlobal>

#include <dlfcn.h>

void *LazyLibrary::resolve(const char *name)
{
    std::call_once(m_loaded, [this] {
        m_handle = dlopen(m_soname, RTLD_LAZY | RTLD_LOCAL);
        if (!m_handle)
            qFatal("Cannot load %s: %s", m_soname, dlerror());
    });
    void *function = dlsym(m_handle, name);
    if (!function)
        qFatal("%s has no %s", m_soname, name);
    return function;
}

LazyLibrary &libcrypto()
{
    static LazyLibrary library(MQ_LIBCRYPTO_SONAME);
    return library;
}
