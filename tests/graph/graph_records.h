// Record arrays for the graph tests, freed with the fixture.
#pragma once

#include "graph/graph_state.h"
#include "meterdata/records.h"

#include <initializer_list>
#include <ostream>

// Readable CString values in failure messages.
void PrintTo(const CString& text, std::ostream* os);

namespace graphtest {

// An array that owns its records.
class Records {
public:
    Records() = default;
    ~Records();
    Records(const Records&) = delete;
    Records& operator=(const Records&) = delete;

    void Add(double value, const wchar_t* dateTime = L"01-02-2017,09:05:03", const wchar_t* unit = L"dBA",
        double interval = 0.5);
    // `count` samples one second apart from 10:00:00 on 1 February 2017.
    void AddSeconds(int count, double value = 50.0);
    void AddValues(std::initializer_list<double> values);
    int Count() const { return static_cast<int>(m_array.GetSize()); }
    const CObArray& Array() const { return m_array; }

private:
    CObArray m_array;
};

// A graph of plot width x height at the full ranges (X 0..20, Y 0..130).
SGraphState FreshGraph(int plotWidth, int plotHeight);

} // namespace graphtest
