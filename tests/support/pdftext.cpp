#include "support/pdftext.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <sstream>

namespace testutil {

namespace {

std::string Quote(const std::string& s)
{
    std::string q = "'";
    for (char c : s) {
        if (c == '\'')
            q += "'\\''";
        else
            q += c;
    }
    return q + "'";
}

bool Run(const std::string& command, std::string* out)
{
    FILE* pipe = ::popen((command + " 2>/dev/null").c_str(), "r");
    if (!pipe)
        return false;
    char buffer[4096];
    size_t n = 0;
    while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0)
        out->append(buffer, n);
    return ::pclose(pipe) == 0;
}

double Attribute(const std::string& tag, const char* name)
{
    std::string key = std::string(name) + "=\"";
    size_t at = tag.find(key);
    return at == std::string::npos ? 0.0 : std::atof(tag.c_str() + at + key.size());
}

std::string Unescape(std::string s)
{
    const std::pair<const char*, const char*> entities[] = {
        {"&lt;", "<"}, {"&gt;", ">"}, {"&quot;", "\""}, {"&apos;", "'"}, {"&amp;", "&"}};
    for (const auto& e : entities) {
        size_t at = 0;
        while ((at = s.find(e.first, at)) != std::string::npos) {
            s.replace(at, std::string(e.first).size(), e.second);
            at += std::string(e.second).size();
        }
    }
    return s;
}

}  // namespace

bool PopplerToolsAvailable()
{
    return std::system("command -v pdfinfo >/dev/null && command -v pdftotext >/dev/null && "
                       "command -v pdftoppm >/dev/null") == 0;
}

int PdfPageCount(const std::string& pdf)
{
    std::string out;
    if (!Run("pdfinfo " + Quote(pdf), &out))
        return -1;
    size_t at = out.find("Pages:");
    return at == std::string::npos ? -1 : std::atoi(out.c_str() + at + 6);
}

std::string PdfInfoField(const std::string& pdf, const std::string& field)
{
    std::string out;
    if (!Run("pdfinfo " + Quote(pdf), &out))
        return std::string();
    const std::string key = "\n" + field + ":";
    size_t at = ("\n" + out).find(key);
    if (at == std::string::npos)
        return std::string();
    at += key.size() - 1;
    const size_t end = out.find('\n', at);
    std::string value = out.substr(at, end == std::string::npos ? std::string::npos : end - at);
    value.erase(0, value.find_first_not_of(' '));
    return value;
}

bool PdfPageSize(const std::string& pdf, double* widthPt, double* heightPt)
{
    std::string out;
    if (!Run("pdfinfo " + Quote(pdf), &out))
        return false;
    size_t at = out.find("Page size:");
    return at != std::string::npos && std::sscanf(out.c_str() + at + 10, "%lf x %lf", widthPt, heightPt) == 2;
}

std::vector<PdfWord> PdfWords(const std::string& pdf)
{
    std::vector<PdfWord> words;
    std::string out;
    if (!Run("pdftotext -bbox " + Quote(pdf) + " -", &out))
        return words;
    int page = 0;
    size_t at = 0;
    while ((at = out.find('<', at)) != std::string::npos) {
        size_t end = out.find('>', at);
        if (end == std::string::npos)
            break;
        std::string tag = out.substr(at, end - at + 1);
        if (tag.rfind("<page", 0) == 0) {
            ++page;
        } else if (tag.rfind("<word", 0) == 0) {
            size_t close = out.find("</word>", end);
            if (close == std::string::npos)
                break;
            words.push_back({page, Attribute(tag, "xMin"), Attribute(tag, "yMin"), Attribute(tag, "xMax"),
                             Attribute(tag, "yMax"), Unescape(out.substr(end + 1, close - end - 1))});
            end = close + 6;
        }
        at = end + 1;
    }
    return words;
}

std::vector<PdfWord> PdfPageWords(const std::vector<PdfWord>& words, int page)
{
    std::vector<PdfWord> result;
    std::copy_if(words.begin(), words.end(), std::back_inserter(result),
                 [page](const PdfWord& w) { return w.page == page; });
    return result;
}

const PdfWord* FindPdfWord(const std::vector<PdfWord>& words, const std::string& text, int page)
{
    for (const PdfWord& w : words)
        if (w.text == text && (page == 0 || w.page == page))
            return &w;
    return nullptr;
}

std::vector<std::string> PdfPageLines(const std::vector<PdfWord>& words, int page)
{
    std::vector<PdfWord> onPage = PdfPageWords(words, page);
    std::stable_sort(onPage.begin(), onPage.end(), [](const PdfWord& a, const PdfWord& b) {
        if (std::fabs(a.yMin - b.yMin) > 1.0)
            return a.yMin < b.yMin;
        return a.xMin < b.xMin;
    });
    std::vector<std::string> lines;
    double top = -1e9;
    for (const PdfWord& w : onPage) {
        if (lines.empty() || std::fabs(w.yMin - top) > 1.0) {
            lines.push_back(w.text);
            top = w.yMin;
        } else {
            lines.back() += " " + w.text;
        }
    }
    return lines;
}

bool RenderPdfPage(const std::string& pdf, int page, int dpi, const std::string& png)
{
    std::string base = png.size() > 4 && png.compare(png.size() - 4, 4, ".png") == 0 ? png.substr(0, png.size() - 4)
                                                                                     : png;
    std::ostringstream cmd;
    cmd << "pdftoppm -png -singlefile -r " << dpi << " -f " << page << " -l " << page << " " << Quote(pdf) << " "
        << Quote(base);
    std::string out;
    return Run(cmd.str(), &out);
}

GreyPage RenderPdfPageGrey(const std::string& pdf, int page, int dpi)
{
    std::ostringstream cmd;
    cmd << "pdftoppm -gray -singlefile -r " << dpi << " -f " << page << " -l " << page << " " << Quote(pdf);
    std::string out;
    GreyPage grey;
    if (!Run(cmd.str(), &out))
        return grey;
    // A binary PGM: "P5", width, height, the largest value, one white-space byte, the pixels.
    std::istringstream in(out);
    std::string magic;
    int width = 0, height = 0, maxValue = 0;
    in >> magic >> width >> height >> maxValue;
    in.get();
    const size_t size = static_cast<size_t>(std::max(width, 0)) * static_cast<size_t>(std::max(height, 0));
    const auto start = static_cast<size_t>(in.tellg());
    if (magic != "P5" || maxValue != 255 || size == 0 || !in || out.size() - start < size)
        return grey;
    grey.width = width;
    grey.height = height;
    grey.pixels.assign(out.begin() + static_cast<std::ptrdiff_t>(start),
                       out.begin() + static_cast<std::ptrdiff_t>(start + size));
    return grey;
}

}  // namespace testutil
