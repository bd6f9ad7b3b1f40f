#include "meterdata/logged_data.h"

namespace {

const double kLoadedMaxStart = 0.0;
const double kLoadedMinStart = 130.0;

} // namespace

std::vector<SRecordingRow> RecordingRows(const CObArray& records)
{
    std::vector<SRecordingRow> rows;
    for (INT_PTR i = 0; i < records.GetSize(); ++i) {
        const CObjData* record = RecordAt(records, i);
        if (!rows.empty() && rows.back().recordSet == record->m_nRecordSet) {
            ++rows.back().count;
            continue;
        }
        rows.push_back({ record->m_nRecordSet, record->m_strDateTime, record->m_strUnit, record->m_dInterval, 1 });
    }
    return rows;
}

void SelectRecording(const CObArray& records, int recordSet, CObArray& out)
{
    for (INT_PTR i = 0; i < records.GetSize(); ++i)
        if (RecordAt(records, i)->m_nRecordSet == recordSet)
            out.Add(records.GetAt(i));
}

bool LoadedStatistics(const CObArray& records, SStatInfo* stat)
{
    if (records.GetSize() == 0)
        return false;
    SStatInfo s;
    s.max = kLoadedMaxStart;
    s.min = kLoadedMinStart;
    s.sum = 0.0;
    for (INT_PTR i = 0; i < records.GetSize(); ++i) {
        const CObjData* record = RecordAt(records, i);
        s.sum += record->m_dValue;
        if (record->m_dValue > s.max) {
            s.max = record->m_dValue;
            s.maxTime = record->m_strDateTime;
            s.maxUnit = record->m_strUnit;
        }
        if (record->m_dValue < s.min) {
            s.min = record->m_dValue;
            s.minTime = record->m_strDateTime;
            s.minUnit = record->m_strUnit;
        }
    }
    s.average = s.sum / static_cast<double>(records.GetSize());
    s.interval = RecordAt(records, 0)->m_dInterval;
    s.startTime = RecordAt(records, 0)->m_strDateTime;
    *stat = s;
    return true;
}
