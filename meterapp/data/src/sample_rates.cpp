#include "meterdata/sample_rates.h"

const SSampleRate kSampleRates[kSampleRateCount] = {
    { 0.1, L"0.1", L"0.1" },
    { 0.2, L"0.2", L"0.2" },
    { 0.5, L"0.5", L"0.5" },
    { 1, L"1", L"1.0" },
    { 1.5, L"1.5", L"1.5" },
    { 2, L"2", L"2.0" },
    { 2.5, L"2.5", L"2.5" },
    { 3, L"3", L"3.0" },
    { 5, L"5", L"5.0" },
    { 10, L"10", L"10.0" },
};

int RateIndexOf(double interval)
{
    CString text;
    text.Format(L"%.1f", interval);
    for (int i = 0; i < kSampleRateCount; ++i)
        if (text == kSampleRates[i].setupText)
            return i;
    return -1;
}
