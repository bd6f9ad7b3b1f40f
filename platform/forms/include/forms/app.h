// Facts about the running program.
#pragma once

#include <string>

namespace forms {

struct App {
    // The folder that holds the program's file, without a trailing "/" except
    // for the root folder "/". Throws RuntimeError when it cannot be read.
    static std::string Path();
};

}  // namespace forms
