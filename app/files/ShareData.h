#pragma once
// Data shipped with the program (standard stars, extinction tables): in a
// build beside the program, installed in <prefix>/share/raylen.
#include <string>
#include <vector>

namespace raylen {

constexpr const char* standardsFolder = "standards";
constexpr const char* extinctionFolder = "extinction";

// The shipped folder of that name; empty when neither place holds it.
std::string shareDataFolder(const std::string& name);

// Names of the ".dat" tables of a shipped folder without the suffix, sorted.
std::vector<std::string> shippedTables(const std::string& folder);

// A path as given when that file exists, else the shipped table of that
// name (with or without ".dat"), else the text unchanged so that the
// reader reports it missing.
std::string resolveShippedTable(const std::string& folder, const std::string& nameOrPath);

} // namespace raylen
