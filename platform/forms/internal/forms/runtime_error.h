// The run-time error of a form program: what a guarded operation throws when
// the system refuses it. Handlers that must go on catch it and tell the user.
#pragma once

#include <stdexcept>
#include <string>

namespace forms {

class RuntimeError : public std::runtime_error {
public:
    // `number` is the system's error number (an errno value); `description`
    // the text shown to the user.
    RuntimeError(int number, const std::string& description);
    int Number() const { return m_number; }

private:
    int m_number;
};

// The error for errno value `err`: its system text, after "<what>: ".
RuntimeError ErrorFromErrno(int err, const std::string& what);

}  // namespace forms
