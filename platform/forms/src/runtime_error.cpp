#include "forms/runtime_error.h"

#include <cstring>

namespace forms {

RuntimeError::RuntimeError(int number, const std::string& description)
    : std::runtime_error(description), m_number(number)
{
}

RuntimeError ErrorFromErrno(int err, const std::string& what)
{
    return RuntimeError(err, what + ": " + std::strerror(err));
}

}  // namespace forms
