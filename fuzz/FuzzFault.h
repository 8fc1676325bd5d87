// Stops a fuzz run whose property broke: says what went wrong and, on the next line, the text that
// shows it, then aborts so that the fuzzer keeps the input.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <string>

[[noreturn]] inline void fault(char const* what, std::string const& detail = std::string()) {
    std::fprintf(stderr, "%s\n%s\n", what, detail.c_str());
    std::abort();
}
