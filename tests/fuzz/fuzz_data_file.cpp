// libFuzzer target: any bytes as a data file.
#include "meterfiles/data_file.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    CObArray records;
    const auto bytes = reinterpret_cast<const char*>(data);
    const meterfiles::EDataFileRead result = meterfiles::ParseDataFile(bytes, size, records);
    if (result != meterfiles::EDataFileRead::Read && records.GetSize() != 0)
        std::abort();
    for (INT_PTR i = 0; i < records.GetSize(); ++i) {
        const CObjData* r = RecordAt(records, i);
        if (!std::isfinite(r->m_dValue) || !std::isfinite(r->m_dInterval) || r->m_nRecordSet != 0
            || r->m_strUnit.GetLength() > 4)
            std::abort();
    }
    // What was read can be written again.
    if (records.GetSize() > 0 && meterfiles::FormatDataFile(records).empty())
        std::abort();
    DeleteAllRecords(&records);
    return 0;
}
