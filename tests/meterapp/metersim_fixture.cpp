#include "metersim_fixture.h"

namespace livetest {

MeterUnderTest::MeterUnderTest(const std::vector<std::string>& args)
    : m_process(args)
{
    std::string device;
    m_started = metertest::ReadPortLine(m_process, m_number, device);
}

void MeterUnderTest::TakeLines()
{
    std::string line;
    while (m_process.ReadLine(line, 0))
        m_lines.push_back(line);
}

bool MeterUnderTest::PumpUntilSays(const std::string& prefix, int timeoutMs, std::string* said)
{
    return PumpUntil([&] {
        TakeLines();
        for (; m_matched < m_lines.size(); ++m_matched) {
            if (m_lines[m_matched].compare(0, prefix.size(), prefix) == 0) {
                if (said)
                    *said = m_lines[m_matched];
                ++m_matched;
                return true;
            }
        }
        return false;
    }, timeoutMs);
}

void MeterUnderTest::PumpFor(int ms)
{
    PumpUntil([&] {
        TakeLines();
        return false;
    }, ms);
}

bool MeterUnderTest::Command(const std::string& line)
{
    m_process.Send(line);
    return PumpUntilSays("ok " + line.substr(0, line.find(' ')), 10000);
}

std::string MeterUnderTest::State()
{
    m_process.Send("state");
    std::string state;
    return PumpUntilSays("state ", 10000, &state) ? state : std::string();
}

std::vector<std::string> MeterUnderTest::Seen(const std::string& prefix) const
{
    std::vector<std::string> seen;
    for (const std::string& line : m_lines) {
        if (line.compare(0, prefix.size(), prefix) == 0)
            seen.push_back(line);
    }
    return seen;
}

}  // namespace livetest
