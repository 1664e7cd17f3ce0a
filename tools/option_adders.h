#pragma once

#include <CLI/CLI.hpp>
#include <functional>
#include <string>
#include <utility>

#include "tools/command_options.h"

namespace vitalchart {
namespace cli {

// The ways the verbs' options are added to a parser: each reads its value
// the moment it is met, and a malformed value throws CCommandLineError.

// An option with one value, read by fn as soon as it is met.
inline void AddValue(CLI::App& app, const char* pszName, const char* pszValue, const std::string& strHelp,
                     std::function<void(const std::string&)> fn) {
    app.add_option_function<std::string>(pszName, std::move(fn), strHelp)->type_name(pszValue)->trigger_on_parse();
}

inline void AddFlag(CLI::App& app, const char* pszName, const char* pszHelp, std::function<void()> fn) {
    app.add_flag_callback(pszName, std::move(fn), pszHelp)->trigger_on_parse();
}

[[noreturn]] inline void Refuse(const std::string& strMessage) {
    throw CCommandLineError(strMessage);
}

}  // namespace cli
}  // namespace vitalchart
