// A spreadsheet program reading a file: LibreOffice, headless, opens a
// tab-separated text file and writes what it read as CSV.
#pragma once

#include <string>
#include <vector>

namespace testutil {

// The soffice program, or an empty text when it is not installed.
std::string FindSoffice();

// Has LibreOffice (soffice) read the tab-separated file at path, as a user
// who opens it with tab as the separator does, and returns its cells row by
// row as LibreOffice writes them (numbers in its own notation, 65.3 for
// "65.30"). False with *why set when it could not be run.
bool ReadWithLibreOffice(const std::string& soffice, const std::string& path,
    std::vector<std::vector<std::string>>* rows, std::string* why);

}  // namespace testutil
