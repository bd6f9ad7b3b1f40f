#include "options.h"

#include "number_text.h"

#include <getopt.h>

#include <cstring>

namespace metersim {

namespace {

enum OptionCode {
    kPort = 256,
    kFrameMs,
    kKeysInNextFrame,
    kLineRate,
    kRecordings,
    kControl,
    kSeed,
    kEmpty,
    kSilent,
    kCut,
    kGarbage,
    kStallDownload,
    kVanishAfter,
    kReturnAfter,
    kLevel,
};

const option kLongOptions[] = {
    {"help", no_argument, nullptr, 'h'},
    {"port", required_argument, nullptr, kPort},
    {"frame-ms", required_argument, nullptr, kFrameMs},
    {"keys-in-next-frame", no_argument, nullptr, kKeysInNextFrame},
    {"line-rate", required_argument, nullptr, kLineRate},
    {"recordings", required_argument, nullptr, kRecordings},
    {"control", required_argument, nullptr, kControl},
    {"seed", required_argument, nullptr, kSeed},
    {"empty", no_argument, nullptr, kEmpty},
    {"silent", no_argument, nullptr, kSilent},
    {"cut", no_argument, nullptr, kCut},
    {"garbage", optional_argument, nullptr, kGarbage},
    {"stall-download", optional_argument, nullptr, kStallDownload},
    {"vanish-after", required_argument, nullptr, kVanishAfter},
    {"return-after", required_argument, nullptr, kReturnAfter},
    {"level", required_argument, nullptr, kLevel},
    {nullptr, 0, nullptr, 0},
};

// The name as written, without "=value".
std::string WrittenName(const char* arg)
{
    const char* eq = std::strchr(arg, '=');
    return eq ? std::string(arg, eq) : std::string(arg);
}

}  // namespace

bool ParseOptions(int argc, const char* const* argv, Options& options, std::string& error)
{
    // '+' stops at the first word that is no option instead of reordering
    // argv; ':' reports a missing value apart from an unknown option.
    char* const* words = const_cast<char* const*>(argv);
    optind = 0;
    opterr = 0;
    for (;;) {
        const int at = optind == 0 ? 1 : optind;
        int index = -1;
        const int code = getopt_long(argc, words, "+:h", kLongOptions, &index);
        if (code == -1) {
            // Options end only with the arguments: "--" and other words are refused.
            const int next = at < argc && std::strcmp(argv[at], "--") == 0 ? at : optind;
            if (next < argc) {
                error = "unknown option " + std::string(argv[next]);
                return false;
            }
            break;
        }
        // Names are taken only in full, not abbreviated.
        if (index >= 0 && WrittenName(argv[at]) != std::string("--") + kLongOptions[index].name) {
            error = "unknown option " + std::string(argv[at]);
            return false;
        }
        if (code == '?') {
            error = "unknown option " + std::string(argv[at]);
            return false;
        }
        if (code == ':') {
            error = "bad or missing value for " + WrittenName(argv[at]);
            return false;
        }
        const std::string value = optarg ? optarg : "";
        auto number = [&](int low, int high, int& out) {
            const std::optional<int> n = ParseWholeNumber(value, high);
            if (!n || *n < low)
                return false;
            out = *n;
            return true;
        };

        bool ok = true;
        switch (code) {
        case 'h': options.help = true; break;
        case kPort: ok = number(1, kLastPort, options.port); break;
        case kFrameMs: ok = number(10, 1900, options.frameMs); break;
        case kKeysInNextFrame: options.keysInNextFrame = true; break;
        case kLineRate: ok = number(0, 1000000, options.lineRate); break;
        case kRecordings:
            ok = !value.empty();
            if (ok)
                options.recordingFiles.push_back(value);
            break;
        case kControl:
            ok = !value.empty();
            if (ok)
                options.controlPath = value;
            break;
        case kSeed: {
            int seed = 0;
            ok = number(0, 999999999, seed);
            if (ok)
                options.seed = static_cast<uint32_t>(seed);
            break;
        }
        case kEmpty: options.faults.emptyLogger = true; break;
        case kSilent: options.faults.silent = true; break;
        case kCut: options.faults.cut = true; break;
        case kGarbage:
            if (!optarg || value == "on")
                options.faults.garbage = GarbageMode::On;
            else if (value == "mix")
                options.faults.garbage = GarbageMode::Mix;
            else
                ok = false;
            break;
        case kStallDownload:
            options.faults.stallDownload = true;
            if (optarg) {
                const std::optional<int> seconds = ParseWholeNumber(value, 3600);
                ok = seconds.has_value();
                if (ok)
                    options.faults.stallSeconds = *seconds;
            }
            break;
        case kVanishAfter: ok = number(0, 86400000, options.vanishAfterMs); break;
        case kReturnAfter: ok = number(0, 86400000, options.returnAfterMs); break;
        case kLevel:
            options.faults.fixedTenths = ParseLevelText(value);
            ok = options.faults.fixedTenths.has_value();
            break;
        default: ok = false; break;
        }
        if (!ok) {
            error = "bad or missing value for " + WrittenName(argv[at]);
            return false;
        }
    }
    if (options.returnAfterMs >= 0 && options.vanishAfterMs < 0) {
        error = "--return-after needs --vanish-after";
        return false;
    }
    return true;
}

const char* HelpText()
{
    return R"HELP(Usage: metersim [options]

Plays a Kelvra KV415 sound-level meter on a pseudo-terminal, registered in the
port directory ($COMPORTS_DIR, else $XDG_CONFIG_HOME/comports, else
~/.config/comports) as link comN -> /dev/pts/K with the friendly name
"Silicon Labs CP210x USB to UART Bridge (COMn)". Open it at 9600 8N1 (a
pseudo-terminal ignores line settings). Exclusive mode (TIOCEXCL) set on the
port is cleared within a frame period, since a pseudo-terminal would keep it
after its user closed the port. The link is removed when the program ends
(normal exit, SIGINT, SIGTERM, SIGHUP).

Standard output, one line per event, flushed at once:
  COMn /dev/pts/K       first line: the port and its device; again after "return"
  gone COMn             the port disappeared ("vanish")
  key NAME RESULT       a key byte was taken as a press, and what it left:
                        "key Stop hold on|off", "key REC rec on|off",
                        "key MaxMin maxmin max|min|off", "key FastSlow
                        fast|slow", "key Level range 1-4", "key AC A|C";
                        RESULT is "ignored" for a key pressed while held,
                        "dropped" for a byte lost on the line ("drop")
  state ...             the answer to "state": "state hold on|off rec on|off
                        maxmin off|max|min speed fast|slow range 1-4
                        weighting A|C"
  download BYTES        a download request was answered with BYTES bytes
  download done         the reply has been sent completely
  download stalled      the reply stopped half-way (stall switch)
  ok COMMAND            a control command was carried out
  error TEXT            a control command was refused
Errors that end the program go to standard error; the exit status is then 1.

Live frames: 20 bytes every --frame-ms (default 250 ms), starting 0xA5 0x0D,
the level in BCD (d1d2d3.d4 dB), 0xA5 FAST/SLOW code, 0x00, the weighting
byte (0x1B A, 0x1C C), then the status items. Frames alternate between one
with the time item (0xA5 0x06 hour minute second, the PC's local time) plus
MAX/MIN, REC and range codes, and one with MAX/MIN, UNDER/OVER, REC and range
codes. Each frame is checked before it is sent: its hex text holds no "ff",
no "bb" and no "a5" across a byte boundary (so no false "a50d"), also with
the byte before it. The level wanders like a room (about 40-60 dB with loud
moments, 35-80 dB); C weighting reads 2.5 dB higher; MAX and MIN show the
running peak since the mode began. UNDER and OVER follow the level against
the range (30-80, 50-100, 80-130, auto 30-130 dB).

Keys (bytes received): 0x33 Stop, 0x55 REC, 0x11 MaxMin (off, MAX, MIN, off),
0x77 FastSlow, 0x88 Level (30-80, 50-100, 80-130, auto, 30-80...), 0x99 AC.
Every byte is one press. After a press the meter sends a frame with all its
status codes at once and starts its frame period again (with
--keys-in-next-frame it shows the press only in its next regular frame, as a
real meter may, up to a frame period later). Stop toggles HOLD:
while held the meter sends one byte 0xFF per frame period instead of frames
and ignores every key but Stop.

Logger download: the request 0x5A 0xAC is answered with 0xBB, a 16-bit
count N (high byte first; N - 98 is the number of bytes after it), the blocks
(8-byte BCD header: 0xAA A or 0xCC C, year, month, day, hour, minute, second,
interval; mark 0xAC; samples of 4 BCD digits in tenths of a dB) and the end
mark 0xDD. An empty logger answers 0xBB 0x00 0x64 0xDD (N - 98 = 2, as the
receiver expects). The reply is paced at --line-rate bytes/s (default 960, a
9600-baud line, so a full logger takes about 70 s; 0 sends it at once) in
writes 10 ms apart. Requests and keys that arrive during the reply, and
requests within 500 ms after it, are ignored. Live frames resume after it.
Apart from tag, count, weighting byte and marks every byte is two decimal
digits, so "bb", "ac" and "dd" are found only where they belong.

Recordings: by default four built-in recordings (27-11-2026 09:15:00, 300
samples every 1 s, dBA; 01-12-2026 13:40:30, 120 every 5 s, dBC; 05-12-2026
23:58:00, 90 every 2 s, dBA, past midnight; 08-12-2026 07:05:09, 12 every
60 s, dBA). --recordings FILE replaces them by those of the files given:
  # comment; blank lines are ignored
  recording YYYY-MM-DD HH:MM:SS INTERVAL A|C
  65.3 66.1 70.0 ...
A "recording" line starts a recording (year 2000-2099, interval 1-99 s,
weighting A or C); the levels that follow, up to the next "recording" line,
are its samples in dB with at most one decimal (0-999.9). The blocks must fit
in 65436 bytes (9 bytes per recording plus 2 per sample).

Options:
  --port N              use COMn (1-256); default the first number from 40
                        upward that has no link (a dangling link counts as free)
  --frame-ms MS         live frame period, 10-1900 ms (default 250)
  --keys-in-next-frame  show a key's effect only in the next regular frame,
                        with no extra frame
  --line-rate N         download pace in bytes/s (default 960; 0: unpaced)
  --recordings FILE     recordings to hold (may be given more than once)
  --seed N              seed of the room level (default: from the clock)
  --control FIFO        also read control commands from this named pipe
                        (created when missing, removed at the end)
  --help                this text
Fault switches (the same as the control commands below):
  --silent              send no frames and answer no requests (keys are still
                        taken; a reply already on its way is finished)
  --garbage[=on|mix]    on: 20 random bytes instead of each frame;
                        mix: 1-10 random bytes before each frame
  --cut                 write frames in 2-5 pieces with 1-20 ms between them
                        (at most a quarter of the frame period)
  --stall-download[=S]  stop every download reply half-way, then send nothing
                        and ignore all input for S seconds (default 5)
  --empty               answer downloads with an empty logger
  --level DB            show this level instead of the wandering room
  --vanish-after MS     disappear MS after start (close the pty, remove the
                        link)
  --return-after MS     come back MS after disappearing (new pty, same number)

Control commands, one per line on standard input or the --control FIFO:
  silent on|off         garbage on|mix|off      cut on|off
  stall on [S]|off      empty on|off            level DB|wander
  drop N                the next N key bytes are lost on the line
  state                 print the meter's state (see above)
  vanish                return                  quit
Random bytes (garbage) may hold anything, 0xFF and 0xA5 0x0D included.
)HELP";
}

}  // namespace metersim
