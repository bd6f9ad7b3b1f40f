#include "meterdata/records.h"

#include <utility>

CObArray* g_pLogRecords = nullptr;
CObArray* g_pRealTimeRecords = nullptr;

CObjData::CObjData(double value, CString dateTime, CString unit, int recordSet, double interval)
    : m_dValue(value)
    , m_strDateTime(std::move(dateTime))
    , m_strUnit(std::move(unit))
    , m_nRecordSet(recordSet)
    , m_dInterval(interval)
{
}

CObjData::~CObjData() = default;

void DeleteAllRecords(CObArray* records)
{
    if (!records)
        return;
    for (INT_PTR i = records->GetSize() - 1; i >= 0; --i) {
        delete records->GetAt(i);
        records->RemoveAt(i);
    }
}

CObjData* RecordAt(const CObArray& records, INT_PTR i)
{
    return static_cast<CObjData*>(records.GetAt(i));
}

void CreateRecordArrays()
{
    DestroyRecordArrays();
    g_pLogRecords = new CObArray;
    g_pRealTimeRecords = new CObArray;
}

void DestroyRecordArrays()
{
    DeleteAllRecords(g_pRealTimeRecords);
    DeleteAllRecords(g_pLogRecords);
    delete g_pLogRecords;
    g_pLogRecords = nullptr;
    delete g_pRealTimeRecords;
    g_pRealTimeRecords = nullptr;
}

CString FormatSampleDateTime(const std::tm& local)
{
    CString text;
    text.Format(L"%.2d-%.2d-%d,%.2d:%.2d:%.2d", local.tm_mday, local.tm_mon + 1,
        local.tm_year + 1900, local.tm_hour, local.tm_min, local.tm_sec);
    return text;
}
