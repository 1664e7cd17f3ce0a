#pragma once

#include <dlfcn.h>

#include <future>
#include <string>

namespace vitalchart {
namespace cli {

// A module of the command (tools/pdf_module.h, tools/surface_module.h): a
// library loaded by name, whose one exported function returns a table of
// functions that begins with the interface number of the build it is from.
template <class Module>
struct LoadedModule {
    const Module* pModule = nullptr;
    std::string strError;  // why pModule is null
};

// Loads the module pszFile and takes its table from pszEntry. The file is
// found as a library is, through the program's run path: beside the
// project's libraries in the build tree and where they are installed. It
// stays loaded for the life of the process. strWhat names the module in
// the error.
//
// The load binds lazily: the system's libraries a module brings bind their
// calls among themselves on first use, as in any program, instead of all
// of them up front in every render, most never called. The project's
// own libraries and modules are linked to bind every symbol they use when
// loaded (-z now), so that a library too old for them fails here, with
// dlerror's message, and not halfway through a chart.
template <class Module>
LoadedModule<Module> LoadModule(const char* pszFile, const char* pszEntry, unsigned nInterface,
                                const std::string& strWhat) {
    LoadedModule<Module> loaded;
    void* pHandle = ::dlopen(pszFile, RTLD_LAZY | RTLD_LOCAL);
    if (pHandle == nullptr) {
        const char* pszWhy = ::dlerror();
        loaded.strError =
            "cannot load the " + strWhat + " " + pszFile + ": " + (pszWhy != nullptr ? pszWhy : "not found");
        return loaded;
    }
    using Entry = const Module* (*)();
    const auto pEntry = reinterpret_cast<Entry>(::dlsym(pHandle, pszEntry));
    const Module* pModule = pEntry != nullptr ? pEntry() : nullptr;
    if (pModule == nullptr || pModule->nInterface != nInterface) {
        loaded.strError = "the " + strWhat + " " + pszFile + " is of another build of vitalchart";
        return loaded;
    }
    loaded.pModule = pModule;
    return loaded;
}

// Runs pfnLoad on a thread of its own. The future is waited for when
// destroyed; it is empty where no thread could be had, and the module is
// then loaded when first needed.
std::future<void> LoadBeside(void (*pfnLoad)());

}  // namespace cli
}  // namespace vitalchart
