// libFuzzer target: a data file's records through everything they feed: the
// DATALOGGER list and statistics, the graph with zooms, pans and cursors, its
// time axis, the export, a save read back and the printouts' page maths.
//
// Input: the data file, then kChoiceBytes bytes of the user's choices (window
// and page sizes, mouse actions); a shorter input is all choices.
#include "downstream.h"

#include "meterfiles/data_file.h"

#include <cstdint>
#include <cstdlib>

namespace {

constexpr size_t kChoiceBytes = 48;

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    // A zone with daylight saving: its missing and doubled hours reach the time axis.
    setenv("TZ", "Europe/Amsterdam", 1);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const size_t choiceBytes = std::min(size, kChoiceBytes);
    const size_t fileBytes = size - choiceBytes;
    FuzzedDataProvider choices(data + fileBytes, choiceBytes);

    CObArray records;
    if (meterfiles::ParseDataFile(reinterpret_cast<const char*>(data), fileBytes, records)
        == meterfiles::EDataFileRead::Read)
        fuzzing::RecordsDownstream(records, choices);
    DeleteAllRecords(&records);
    return 0;
}
