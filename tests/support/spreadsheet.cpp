#include "support/spreadsheet.h"

#include "support/tempdir.h"

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <sys/wait.h>
#include <unistd.h>

namespace testutil {

namespace {

// One CSV line: fields separated by commas, quoted fields may hold commas.
std::vector<std::string> CsvFields(const std::string& line)
{
    std::vector<std::string> fields(1);
    bool quoted = false;
    for (size_t i = 0; i < line.size(); ++i) {
        const char c = line[i];
        if (quoted) {
            if (c == '"' && i + 1 < line.size() && line[i + 1] == '"') {
                fields.back() += '"';
                ++i;
            } else if (c == '"') {
                quoted = false;
            } else {
                fields.back() += c;
            }
        } else if (c == '"') {
            quoted = true;
        } else if (c == ',') {
            fields.emplace_back();
        } else {
            fields.back() += c;
        }
    }
    while (!fields.empty() && fields.back().empty())
        fields.pop_back();
    return fields;
}

}  // namespace

std::string FindSoffice()
{
    for (const char* candidate : { "/usr/bin/soffice", "/usr/lib/libreoffice/program/soffice" })
        if (access(candidate, X_OK) == 0)
            return candidate;
    return std::string();
}

bool ReadWithLibreOffice(const std::string& soffice, const std::string& path,
    std::vector<std::vector<std::string>>* rows, std::string* why)
{
    TempDir work;
    const std::string out = work.path() + "/out";
    // A profile of its own, so that no other LibreOffice is disturbed.
    const std::string command = "'" + soffice + "' -env:UserInstallation=file://" + work.path()
        + "/profile --headless --infilter='Text - txt - csv (StarCalc):9,34,76,1'"
          " --convert-to 'csv:Text - txt - csv (StarCalc):44,34,76,1' --outdir '"
        + out + "' '" + path + "' >'" + work.path() + "/log' 2>&1";
    const int status = std::system(command.c_str());
    if (status == -1 || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        *why = "soffice failed: " + command;
        return false;
    }
    std::string name = path.substr(path.rfind('/') + 1);
    name = name.substr(0, name.rfind('.')) + ".csv";
    std::ifstream csv(out + "/" + name);
    if (!csv) {
        std::ifstream log(work.path() + "/log");
        std::stringstream text;
        text << log.rdbuf();
        *why = "soffice wrote no " + name + ": " + text.str();
        return false;
    }
    rows->clear();
    for (std::string line; std::getline(csv, line);) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        rows->push_back(CsvFields(line));
    }
    return true;
}

}  // namespace testutil
