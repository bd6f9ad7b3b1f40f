// Framework exceptions. They are allocated with new, thrown as pointers and
// released by the catcher with Delete().
#pragma once

#include "afx/object.h"

class CException : public CObject {
    DECLARE_DYNAMIC(CException)
public:
    // autoDelete FALSE marks an exception that is not on the heap: Delete()
    // then leaves it alone.
    explicit CException(BOOL autoDelete = TRUE);

    // Writes a description of the failure into text (at most maxChars
    // characters, terminator included) and sets *helpContext (when not null)
    // to 0. The base class has no description: it writes an empty string and
    // returns FALSE.
    virtual BOOL GetErrorMessage(LPWSTR text, UINT maxChars, UINT* helpContext = nullptr) const;

    // Deletes the exception when it was allocated to be thrown.
    void Delete();

private:
    BOOL m_bAutoDelete;
};

// An argument out of the range a framework call accepts, such as an index past
// the end of a collection or string.
class CInvalidArgException : public CException {
    DECLARE_DYNAMIC(CInvalidArgException)
public:
    CInvalidArgException() = default;
    BOOL GetErrorMessage(LPWSTR text, UINT maxChars, UINT* helpContext = nullptr) const override;
};
