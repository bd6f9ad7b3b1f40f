// metersim: a Kelvra KV415 sound-level meter on a pseudo-terminal.
#include "logger_reply.h"
#include "options.h"
#include "recordings.h"
#include "simulator.h"

#include <win32/files.h>

#include <csignal>
#include <iostream>
#include <sstream>
#include <sys/signalfd.h>
#include <unistd.h>

namespace {

// Recordings of the files given, or the built-in ones. False with error set.
bool LoadRecordings(const metersim::Options& options, std::vector<metersim::Recording>& recordings,
                    std::string& error)
{
    if (options.recordingFiles.empty()) {
        recordings = metersim::GeneratedRecordings();
        return true;
    }
    // The logger's memory holds some ten thousand levels: a file far larger
    // than their text is not a recordings file.
    constexpr size_t kFileBytes = 4u << 20;
    for (const std::string& path : options.recordingFiles) {
        std::string text;
        bool complete = false;
        if (!win32::ReadFileHead(path, kFileBytes, &text, &complete)) {
            error = "cannot read " + path + " as a regular file";
            return false;
        }
        if (!complete) {
            error = path + " is larger than " + std::to_string(kFileBytes) + " bytes";
            return false;
        }
        std::istringstream in(text);
        error = metersim::ParseRecordings(in, path, recordings);
        if (!error.empty())
            return false;
    }
    error = metersim::CapacityProblem(recordings);
    return error.empty();
}

}  // namespace

int main(int argc, char** argv)
{
    metersim::Options options;
    std::string error;
    if (!metersim::ParseOptions(argc, argv, options, error)) {
        std::cerr << "metersim: " << error << "\nTry metersim --help." << std::endl;
        return 1;
    }
    if (options.help) {
        std::cout << metersim::HelpText();
        return 0;
    }
    std::vector<metersim::Recording> recordings;
    if (!LoadRecordings(options, recordings, error)) {
        std::cerr << "metersim: " << error << std::endl;
        return 1;
    }
    metersim::LoggerReply reply = metersim::BuildLoggerReply(recordings);
    if (const std::string problem = metersim::CheckLoggerReply(reply); !problem.empty()) {
        std::cerr << "metersim: logger reply would be misread: " << problem << std::endl;
        return 1;
    }

    // Stop signals arrive as a readable descriptor, so the link is removed
    // by ordinary code and not inside a signal handler.
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGINT);
    sigaddset(&stopSignals, SIGTERM);
    sigaddset(&stopSignals, SIGHUP);
    sigprocmask(SIG_BLOCK, &stopSignals, nullptr);
    const int stopFd = signalfd(-1, &stopSignals, SFD_CLOEXEC);
    if (stopFd < 0) {
        std::cerr << "metersim: signalfd failed" << std::endl;
        return 1;
    }
    std::signal(SIGPIPE, SIG_IGN);
    // Started in the background of a shell, reading the terminal must fail
    // rather than stop the program.
    std::signal(SIGTTIN, SIG_IGN);

    metersim::Simulator simulator(options, std::move(reply), std::cout);
    if (!simulator.Start(error)) {
        std::cerr << "metersim: " << error << std::endl;
        return 1;
    }
    simulator.Run(stopFd);
    simulator.Shutdown();
    close(stopFd);
    return 0;
}
