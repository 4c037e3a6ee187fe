#pragma once

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <vector>

namespace ravelfin::test {

struct CliResult {
    int exitCode = -1;
    std::string out;
    std::string err;
};

inline std::string ShellQuote(const std::string& s) {
    std::string q = "'";
    for (char c : s) {
        if (c == '\'') q += "'\\''";
        else q += c;
    }
    return q + "'";
}

inline std::string ReadWhole(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

/// Runs the built `ravelfin` as a user would and collects what it printed.
inline CliResult RunCli(const std::vector<std::string>& args) {
    static int counter = 0;
    const auto dir = std::filesystem::temp_directory_path();
    const auto stem = "ravelfin-cli-" + std::to_string(::getpid()) + "-" + std::to_string(++counter);
    const auto outPath = dir / (stem + ".out");
    const auto errPath = dir / (stem + ".err");
    std::string command = ShellQuote(RAVELFIN_CLI);
    // Appended: GCC 12 warns on "literal" + a temporary string (-Wrestrict, a false positive
    // of its inlined insert).
    for (const auto& a : args) {
        command += ' ';
        command += ShellQuote(a);
    }
    command += " </dev/null >" + ShellQuote(outPath.string()) + " 2>" + ShellQuote(errPath.string());
    const int status = std::system(command.c_str());
    CliResult result;
    result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    result.out = ReadWhole(outPath);
    result.err = ReadWhole(errPath);
    std::filesystem::remove(outPath);
    std::filesystem::remove(errPath);
    return result;
}

}  // namespace ravelfin::test
