// The records every kept level reading lives in, the statistics of a
// recording, and the two application-wide record arrays.
#pragma once

#include <afx/afxcore.h>

#include <ctime>

// One stored level sample. Created on the heap, stored by pointer and
// deleted through CObject*; never copied and never changed after construction.
class CObjData : public CObject {
public:
    // value: level in dB; dateTime: "dd-mm-yyyy,hh:mm:ss" text (see
    // FormatSampleDateTime); unit: "dBA" or "dBC"; recordSet: logged block
    // number, 0 for real-time and file records; interval: seconds.
    CObjData(double value, CString dateTime, CString unit, int recordSet, double interval);
    ~CObjData() override;

    CObjData(const CObjData&) = delete;
    CObjData& operator=(const CObjData&) = delete;

    double m_dValue;
    CString m_strDateTime;
    CString m_strUnit;
    int m_nRecordSet;
    double m_dInterval;
};

// Statistics of one recording, copied by value. The texts start empty and the
// numbers at zero; every owner sets the numbers it relies on before use.
struct SStatInfo {
    SStatInfo() = default;
    SStatInfo(const SStatInfo&) = default;
    SStatInfo& operator=(const SStatInfo&) = default;
    ~SStatInfo() = default;

    double max = 0;
    double min = 0;
    double average = 0;
    CString maxTime;
    CString maxUnit;
    CString minUnit;
    CString minTime;
    CString startTime;
    double sum = 0;
    double interval = 0;
};

// The logged records (downloaded or read from a data file) and the real-time
// records, each a CObArray of CObjData* that owns its records. Both exist
// exactly while the main view exists (CreateRecordArrays in its constructor,
// DestroyRecordArrays in its destructor); null otherwise.
extern CObArray* g_pLogRecords;
extern CObArray* g_pRealTimeRecords;

// Creates both arrays empty, the logged one first. Arrays that already exist
// are emptied and deleted first, so nothing leaks on a second call.
void CreateRecordArrays();

// Deletes every record of the real-time array, then of the logged array, then
// both arrays, and sets both pointers to null. Safe when they are null.
void DestroyRecordArrays();

// Deletes every record of the array, walking from the last element to the
// first, and removes its slot. A null array is left alone.
void DeleteAllRecords(CObArray* records);

// The record at index i of an array of CObjData*.
CObjData* RecordAt(const CObArray& records, INT_PTR i);

// "dd-mm-yyyy,hh:mm:ss" of a local time, as the real-time sampler and the
// time axis write it (for example "05-03-2017,14:07:09"). The time axis reads
// these texts back (graph/time_axis.h).
CString FormatSampleDateTime(const std::tm& local);
