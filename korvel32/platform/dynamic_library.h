// A shared library loaded at run time and the functions taken from it by
// name. Unloaded when the object goes, so that a library is never left
// loaded behind its user.
#pragma once

#include <string>

namespace korvel {

class DynamicLibrary {
public:
    DynamicLibrary() = default;
    ~DynamicLibrary();
    DynamicLibrary(DynamicLibrary &&other) noexcept;
    DynamicLibrary &operator=(DynamicLibrary &&other) noexcept;
    DynamicLibrary(const DynamicLibrary &) = delete;
    DynamicLibrary &operator=(const DynamicLibrary &) = delete;

    // Loads the library file at path, resolving all its symbols at once; an
    // empty object when it cannot be loaded (error() says why).
    static DynamicLibrary open(const std::string &path);

    bool loaded() const { return handle_ != nullptr; }
    // The system's reason of the last failed open.
    const std::string &error() const { return error_; }

    // The address of the exported symbol, or nullptr when there is none.
    void *symbol(const char *name) const;

    // The function of that name as a pointer of type Function, or nullptr.
    template <typename Function>
    Function function(const char *name) const {
        return reinterpret_cast<Function>(symbol(name));
    }

    void close();

private:
    void *handle_ = nullptr;
    std::string error_;
};

} // namespace korvel
