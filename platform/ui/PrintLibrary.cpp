#include "PrintLibrary.h"

#include "PrintJobException.h"

#include <dlfcn.h>

#include <filesystem>
#include <string>
#include <system_error>

namespace platform::printlibrary {

namespace {

[[noreturn]] void cannotLoad(const std::string& reason)
{
    throw PrintJobException("the print library could not be loaded: " + reason);
}

[[noreturn]] void cannotLoad()
{
    const char* reason = dlerror();
    cannotLoad(reason ? reason : "no reason given");
}

void* load()
{
    if (void* linked = dlopen(FileName, RTLD_NOW | RTLD_NOLOAD))
        return linked;
    std::error_code error;
    const std::filesystem::path executable = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error)
        cannotLoad("cannot find the program's folder: " + error.message());
    const std::string path = (executable.parent_path() / FileName).string();
    // Bound now, so that a library that does not fit the program fails here and is told, not at
    // its first call.
    if (void* library = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL))
        return library;
    cannotLoad();
}

}

decltype(&sumwisePrintDialog) entryPoint()
{
    // Loaded once and kept: its pages may outlive any one press. A failed load is tried again at
    // the next press.
    static decltype(&sumwisePrintDialog) entry = nullptr;
    if (!entry) {
        void* library = load();
        void* symbol = dlsym(library, EntryPointName);
        if (!symbol)
            cannotLoad();
        entry = reinterpret_cast<decltype(&sumwisePrintDialog)>(symbol);
    }
    return entry;
}

}
