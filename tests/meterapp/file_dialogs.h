// Answers Decibar's file dialogs in window tests.
#pragma once

#include "gui_fixture.h"

#include <functional>
#include <string>

// From now on every modal box of the instance is logged in its modal log;
// message boxes get its messageBoxAnswer, file dialogs the path that
// choosePath gives for them (an empty path cancels), other dialogs OK but a
// download's wait box, which stays until the download closes it.
void AnswerFileDialogs(DecibarInstance& decibar,
    std::function<std::wstring(const CFileDialog& dialog)> choosePath);

// The bytes of a file; empty when it cannot be read.
std::string FileBytes(const std::string& path);
