// Message boxes of a form program.
#pragma once

#include "win32/user.h"

#include <string>

namespace forms {

class Form;

// Shows `prompt` (UTF-8; "\r\n" breaks a line) in a message box of `type`
// (MB_ flags) with the caption `title`, owned by `owner`'s window when it is
// loaded. Goes through MessageBoxW, so whatever handler is installed answers.
// Returns the button chosen (IDOK, IDYES...).
int MsgBox(const Form* owner, const std::string& prompt, UINT type, const std::string& title);

}  // namespace forms
