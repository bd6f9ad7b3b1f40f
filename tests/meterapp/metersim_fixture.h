// Decibar in this process with the metersim program as its meter: the
// meter's event lines read while the message loop runs.
#pragma once

#include "live_fixture.h"
#include "meter_process.h"

#include <string>
#include <vector>

namespace livetest {

class MeterUnderTest {
public:
    // Starts metersim with args in the port directory that $COMPORTS_DIR names.
    explicit MeterUnderTest(const std::vector<std::string>& args);

    bool Started() const { return m_started; }
    int Number() const { return m_number; }

    // Runs the message loop until the meter prints a line that starts with
    // prefix (*said gets it); lines before it are kept as seen.
    bool PumpUntilSays(const std::string& prefix, int timeoutMs, std::string* said = nullptr);
    // Runs the message loop for ms and keeps every line the meter prints.
    void PumpFor(int ms);
    // Sends a control command and waits for its "ok".
    bool Command(const std::string& line);
    void Send(const std::string& line) { m_process.Send(line); }
    // The meter's own state: "state hold off rec on maxmin off speed fast range 4 weighting A";
    // empty when it does not answer.
    std::string State();
    // Lines seen so far that start with prefix.
    std::vector<std::string> Seen(const std::string& prefix) const;

private:
    void TakeLines();

    metertest::MeterProcess m_process;
    bool m_started = false;
    int m_number = 0;
    std::vector<std::string> m_lines;
    size_t m_matched = 0; // lines before this one were looked at by PumpUntilSays
};

}  // namespace livetest
