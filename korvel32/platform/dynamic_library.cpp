#include "platform/dynamic_library.h"

#include <dlfcn.h>

#include <utility>

namespace korvel {

DynamicLibrary::~DynamicLibrary() { close(); }

DynamicLibrary::DynamicLibrary(DynamicLibrary &&other) noexcept
        : handle_(std::exchange(other.handle_, nullptr)), error_(std::move(other.error_)) {}

DynamicLibrary &DynamicLibrary::operator=(DynamicLibrary &&other) noexcept {
    if (this != &other) {
        close();
        handle_ = std::exchange(other.handle_, nullptr);
        error_ = std::move(other.error_);
    }
    return *this;
}

DynamicLibrary DynamicLibrary::open(const std::string &path) {
    DynamicLibrary library;
    // Local symbols: two libraries loaded side by side keep their own names.
    library.handle_ = ::dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (library.handle_ == nullptr) {
        const char *reason = ::dlerror();
        library.error_ = reason != nullptr ? reason : path;
    }
    return library;
}

void *DynamicLibrary::symbol(const char *name) const { return handle_ != nullptr ? ::dlsym(handle_, name) : nullptr; }

void DynamicLibrary::close() {
    if (handle_ != nullptr) ::dlclose(std::exchange(handle_, nullptr));
}

} // namespace korvel
