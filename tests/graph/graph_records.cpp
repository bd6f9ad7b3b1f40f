#include "graph_records.h"

#include "graph/geometry.h"

#include <string>

void PrintTo(const CString& text, std::ostream* os)
{
    std::string narrow;
    for (int i = 0; i < text.GetLength(); ++i)
        narrow.push_back(static_cast<char>(text.GetAt(i) < 128 ? text.GetAt(i) : '?'));
    *os << '"' << narrow << '"';
}

namespace graphtest {

Records::~Records()
{
    DeleteAllRecords(&m_array);
}

void Records::Add(double value, const wchar_t* dateTime, const wchar_t* unit, double interval)
{
    m_array.Add(new CObjData(value, dateTime, unit, 0, interval));
}

void Records::AddSeconds(int count, double value)
{
    for (int i = 0; i < count; ++i) {
        CString text;
        text.Format(L"01-02-2017,10:%.2d:%.2d", i / 60 % 60, i % 60);
        Add(value, text, L"dBA", 1.0);
    }
}

void Records::AddValues(std::initializer_list<double> values)
{
    int second = 0;
    for (double value : values) {
        CString text;
        text.Format(L"01-02-2017,11:00:%.2d", second++);
        Add(value, text);
    }
}

SGraphState FreshGraph(int plotWidth, int plotHeight)
{
    SGraphState s;
    graph::SetUpView(s, plotWidth + PLOT_MARGIN_WIDTH, plotHeight + PLOT_MARGIN_HEIGHT);
    return s;
}

} // namespace graphtest
