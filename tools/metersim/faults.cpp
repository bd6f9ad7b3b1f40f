#include "faults.h"

#include "number_text.h"

#include <sstream>
#include <vector>

namespace metersim {

namespace {

bool ParseOnOff(const std::vector<std::string>& words, bool& on)
{
    if (words.size() != 2)
        return false;
    if (words[1] == "on")
        on = true;
    else if (words[1] == "off")
        on = false;
    else
        return false;
    return true;
}

}  // namespace

bool ParseControlCommand(const std::string& line, ControlCommand& command, std::string& error)
{
    std::istringstream in(line);
    std::vector<std::string> words;
    for (std::string word; in >> word;)
        words.push_back(word);
    if (words.empty()) {
        error = "empty command";
        return false;
    }
    using Kind = ControlCommand::Kind;
    const std::string& verb = words[0];
    command = ControlCommand{};
    bool ok = false;
    if (verb == "silent") {
        command.kind = Kind::Silent;
        ok = ParseOnOff(words, command.on);
    } else if (verb == "cut") {
        command.kind = Kind::Cut;
        ok = ParseOnOff(words, command.on);
    } else if (verb == "empty") {
        command.kind = Kind::Empty;
        ok = ParseOnOff(words, command.on);
    } else if (verb == "garbage") {
        command.kind = Kind::Garbage;
        ok = words.size() == 2;
        if (ok && words[1] == "on")
            command.garbage = GarbageMode::On;
        else if (ok && words[1] == "mix")
            command.garbage = GarbageMode::Mix;
        else if (ok && words[1] == "off")
            command.garbage = GarbageMode::Off;
        else
            ok = false;
    } else if (verb == "stall") {
        command.kind = Kind::Stall;
        if (words.size() == 3 && words[1] == "on") {
            const std::optional<int> seconds = ParseWholeNumber(words[2], 3600);
            ok = seconds.has_value();
            if (ok) {
                command.on = true;
                command.seconds = *seconds;
            }
        } else {
            ok = ParseOnOff(words, command.on);
        }
    } else if (verb == "level") {
        command.kind = Kind::Level;
        if (words.size() == 2 && words[1] == "wander") {
            ok = true;
        } else if (words.size() == 2) {
            command.tenths = ParseLevelText(words[1]);
            ok = command.tenths.has_value();
        }
    } else if (verb == "drop") {
        command.kind = Kind::Drop;
        const std::optional<int> count = words.size() == 2 ? ParseWholeNumber(words[1], 1000) : std::nullopt;
        ok = count.has_value();
        if (ok)
            command.count = *count;
    } else if (verb == "state" || verb == "vanish" || verb == "return" || verb == "quit") {
        command.kind = verb == "state"    ? Kind::State
                     : verb == "vanish" ? Kind::Vanish
                     : verb == "return" ? Kind::Return
                                        : Kind::Quit;
        ok = words.size() == 1;
    } else {
        error = "unknown command \"" + verb + "\"";
        return false;
    }
    if (!ok)
        error = "bad arguments for \"" + verb + "\"";
    return ok;
}

void ApplyControlCommand(const ControlCommand& command, Faults& faults)
{
    using Kind = ControlCommand::Kind;
    switch (command.kind) {
    case Kind::Silent: faults.silent = command.on; break;
    case Kind::Garbage: faults.garbage = command.garbage; break;
    case Kind::Cut: faults.cut = command.on; break;
    case Kind::Stall:
        faults.stallDownload = command.on;
        if (command.on)
            faults.stallSeconds = command.seconds;
        break;
    case Kind::Empty: faults.emptyLogger = command.on; break;
    case Kind::Level: faults.fixedTenths = command.tenths; break;
    case Kind::Drop: faults.keysToDrop = command.count; break;
    case Kind::State:
    case Kind::Vanish:
    case Kind::Return:
    case Kind::Quit:
        break;
    }
}

}  // namespace metersim
