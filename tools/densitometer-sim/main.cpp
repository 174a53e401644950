// densitometer-sim: a densitometer on a pseudo-terminal, for tests, demos
// and anyone without the instrument. See usage() for the command line.

#include <poll.h>
#include <signal.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <thread>

#include "LineFormat.h"
#include "LineSender.h"
#include "SimDevice.h"
#include "SimLine.h"
#include "SimScript.h"

namespace tarvo::sim {
namespace {

using Clock = std::chrono::steady_clock;
using Seconds = std::chrono::duration<double>;

volatile std::sig_atomic_t stopRequested = 0;

void requestStop(int) {
    stopRequested = 1;
}

struct Options {
    std::string linkPath;
    std::string logPath;
    bool pace = false;
    int baud = 0;  // 0: 4800, or the series' own rate with --instrument
    std::optional<LineOptions> lines;
    SimScript script;
};

void usage(std::FILE* out) {
    std::fputs(
        "usage: densitometer-sim [options] [script items...]\n"
        "Opens a pseudo-terminal, prints its path on the first line of standard\n"
        "output and answers the densitometer protocol on it until terminated; with\n"
        "--instrument it sends each reading as a line of text instead, unasked.\n"
        "Options:\n"
        "  --link PATH     also make PATH a symlink to the terminal (removed at exit);\n"
        "                  an old symlink there is replaced, anything else refused\n"
        "  --log FILE      log every command and answer there (default: standard error)\n"
        "  --script FILE   read script items from FILE\n"
        "  --pace          send and take each byte at the line's speed (10 bits a byte)\n"
        "  --baud N        the line's speed for --pace (default 4800; with --instrument\n"
        "                  the series' own 1200 or 9600)\n"
        "  --instrument xrite-400|xrite-500\n"
        "                  an X-Rite 400 or 500 series densitometer: every reading is\n"
        "                  sent as a line of text at the line's pace while a client\n"
        "                  holds the line, numbered from 1 for each client\n"
        "  --cr-separator  (with --instrument) CR between fields\n"
        "  --cr-end        (with --instrument) CR alone ends a line, not CR LF\n"
        "  --no-point      (with --instrument) values in hundredths without a point\n"
        "  --header        (with --instrument) a header line before every reading\n"
        "  --noise         (with --instrument) a line of noise before every reading\n"
        "  --parity P      (with --instrument) the top bit: space (default), mark,\n"
        "                  even or odd\n"
        "Log lines: monotonic seconds, then 'cmd XK', 'send 31', 'junk 41', 'hangup',\n"
        "'ready 7' (timed reading 7 is ready to be polled) or 'unlocked' (the lock of\n"
        "a client that was killed was lifted); with --instrument 'client' and\n"
        "'released' (a client took or left the line), 'line HEX' (a line as sent)\n"
        "and 'reading colour N,C,M,Y,K,0' or 'reading density N,D,0' (its last\n"
        "byte went out; densities x1000 as the line carries them).\n",
        out);
    std::fputs(ScriptHelp, out);
}

bool readFile(const std::string& path, std::string& text) {
    std::ifstream in(path);
    if (!in) {
        return false;
    }
    std::stringstream all;
    all << in.rdbuf();
    text = all.str();
    return true;
}

bool isLineOption(const std::string& arg) {
    for (const char* option :
         {"--cr-separator", "--cr-end", "--no-point", "--header", "--noise", "--parity"}) {
        if (arg == option) {
            return true;
        }
    }
    return false;
}

template <typename Next>
bool applyLineOption(const std::string& arg, Next& next, LineOptions& lines) {
    std::string value;
    if (arg == "--parity") {
        return next(value) && parseParity(value, lines.parity);
    }
    bool& flag = arg == "--cr-separator" ? lines.crSeparator
                 : arg == "--cr-end"     ? lines.crEnd
                 : arg == "--no-point"   ? lines.noPoint
                 : arg == "--header"     ? lines.header
                                         : lines.noise;
    flag = true;
    return true;
}

bool parseOptions(int argc, char** argv, Options& options, std::string& error) {
    LineOptions lineOptions;
    bool lineOptionGiven = false;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        auto next = [&](std::string& into) {
            if (i + 1 >= argc) {
                error = arg + " needs a value";
                return false;
            }
            into = argv[++i];
            return true;
        };
        std::string value;
        if (arg == "--link") {
            if (!next(options.linkPath)) {
                return false;
            }
        } else if (arg == "--log") {
            if (!next(options.logPath)) {
                return false;
            }
        } else if (arg == "--pace") {
            options.pace = true;
        } else if (arg == "--baud") {
            if (!next(value)) {
                return false;
            }
            options.baud = std::atoi(value.c_str());
            if (options.baud <= 0) {
                error = "bad baud rate " + value;
                return false;
            }
        } else if (arg == "--instrument") {
            options.lines = options.lines.value_or(LineOptions{});
            if (!next(value) || !parseSeries(value, options.lines->series)) {
                error = "--instrument takes xrite-400 or xrite-500";
                return false;
            }
        } else if (isLineOption(arg)) {
            lineOptionGiven = true;
            if (!applyLineOption(arg, next, lineOptions)) {
                error = "bad value for " + arg;
                return false;
            }
        } else if (arg == "--script") {
            std::string text;
            if (!next(value)) {
                return false;
            }
            if (!readFile(value, text)) {
                error = "cannot read " + value;
                return false;
            }
            if (!applyScriptText(options.script, text, error)) {
                return false;
            }
        } else if (arg.rfind("--", 0) == 0) {
            error = "unknown option " + arg;
            return false;
        } else if (!applyScriptItem(options.script, arg, error)) {
            return false;
        }
    }
    if (lineOptionGiven && !options.lines) {
        error = "the line options need --instrument";
        return false;
    }
    if (options.lines) {
        const auto series = options.lines->series;
        *options.lines = lineOptions;
        options.lines->series = series;
    }
    return true;
}

std::string hex(const std::uint8_t* data, std::size_t size) {
    std::string text;
    char pair[3];
    for (std::size_t i = 0; i < size; ++i) {
        std::snprintf(pair, sizeof pair, "%02X", data[i]);
        text += pair;
    }
    return text;
}

// Runs the line: takes commands, answers them through the device, keeps the
// timed readings and the scripted hang-up on time.
class Simulator {
  public:
    Simulator(SimLine& line, SimDevice& device, std::FILE* log, std::optional<Seconds> byteTime,
              std::optional<double> hangupAt)
        : line_(line), device_(device), log_(log), byteTime_(byteTime), hangupAt_(hangupAt) {}

    int run() {
        while (!stopRequested && line_.isUp()) {
            const double elapsed = Seconds(Clock::now() - start_).count();
            advanceDevice(elapsed);
            if (line_.releaseStaleLock()) {
                record("unlocked");
            }
            if (hangupAt_ && elapsed >= *hangupAt_) {
                hangUp();
                break;
            }
            if (!waitAndTake(elapsed)) {
                return 1;
            }
        }
        return 0;
    }

  private:
    // Logs each timed reading as it becomes ready, so that a log reader can
    // time the way from the device to the program.
    void advanceDevice(double elapsed) {
        const int before = device_.timedReadings();
        device_.advance(elapsed);
        if (device_.timedReadings() != before) {
            record("ready " + std::to_string(device_.newestTimedNumber()));
        }
    }

    bool waitAndTake(double elapsed) {
        // Short enough that a killed client's lock is lifted before anyone
        // retries the line.
        double wait = 0.1;
        if (const auto due = device_.nextDue()) {
            wait = std::min(wait, *due - elapsed);
        }
        if (hangupAt_) {
            wait = std::min(wait, *hangupAt_ - elapsed);
        }
        pollfd ready{line_.fd(), POLLIN, 0};
        const int polled = ::poll(&ready, 1, std::max(0, static_cast<int>(wait * 1000) + 1));
        if (polled < 0) {
            return errno == EINTR;
        }
        if (polled == 0) {
            return true;
        }
        std::uint8_t buffer[256];
        const long n = line_.receive(buffer, sizeof buffer);
        if (n <= 0) {
            // Cannot happen while the simulator holds the terminal side; do
            // not spin if it does.
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
            return true;
        }
        const auto arrived = Clock::now();
        if (byteTime_) {
            lineFreeIn_ = std::max(lineFreeIn_, arrived) +
                          std::chrono::duration_cast<Clock::duration>(*byteTime_ * n);
        }
        for (long i = 0; i < n && line_.isUp(); ++i) {
            take(buffer[i]);
        }
        return true;
    }

    void take(std::uint8_t byte) {
        if (!prefixSeen_) {
            if (byte == 'X') {
                prefixSeen_ = true;
            } else {
                record("junk " + hex(&byte, 1));
            }
            return;
        }
        prefixSeen_ = false;
        record(std::string("cmd X") + static_cast<char>(byte));
        const SimAction action = device_.command(byte);
        if (action.hangup) {
            hangUp();
            return;
        }
        answer(action.reply);
    }

    void answer(const Bytes& reply) {
        if (reply.empty()) {
            return;
        }
        if (!byteTime_) {
            record("send " + hex(reply.data(), reply.size()));
            line_.send(reply.data(), reply.size());
            return;
        }
        // A byte reaches the other end when its last bit has gone out.
        auto due = std::max(lineFreeIn_, lineFreeOut_);
        const auto step = std::chrono::duration_cast<Clock::duration>(*byteTime_);
        record("send " + hex(reply.data(), reply.size()));
        for (const std::uint8_t byte : reply) {
            due += step;
            std::this_thread::sleep_until(due);
            line_.send(&byte, 1);
        }
        lineFreeOut_ = due;
    }

    void hangUp() {
        record("hangup");
        line_.hangUp();
    }

    void record(const std::string& event) {
        const double now = Seconds(Clock::now().time_since_epoch()).count();
        std::fprintf(log_, "%.6f %s\n", now, event.c_str());
        std::fflush(log_);
    }

    SimLine& line_;
    SimDevice& device_;
    std::FILE* log_;
    std::optional<Seconds> byteTime_;
    std::optional<double> hangupAt_;
    Clock::time_point start_ = Clock::now();
    Clock::time_point lineFreeIn_{};
    Clock::time_point lineFreeOut_{};
    bool prefixSeen_ = false;
};

void catchSignals() {
    struct sigaction action {};
    action.sa_handler = requestStop;
    sigemptyset(&action.sa_mask);
    for (int signal : {SIGTERM, SIGINT, SIGHUP}) {
        sigaction(signal, &action, nullptr);
    }
    std::signal(SIGPIPE, SIG_IGN);
}

int runPolledDevice(SimLine& line, Options& options, std::FILE* log) {
    std::optional<Seconds> byteTime;
    if (options.pace) {
        byteTime = Seconds(10.0 / (options.baud > 0 ? options.baud : 4800));
    }
    const auto hangupAt = options.script.hangupAtSeconds;
    SimDevice device(std::move(options.script));
    Simulator simulator(line, device, log, byteTime, hangupAt);
    return simulator.run();
}

// A line instrument always sends at its line's pace: that is what a reader
// of its lines has to keep up with.
int runLineInstrument(SimLine& line, Options& options, std::FILE* log) {
    const int baud = options.baud > 0 ? options.baud : seriesBaudRate(options.lines->series);
    const auto byteTime = std::chrono::duration_cast<Clock::duration>(Seconds(10.0 / baud));
    LineSender sender(line, std::move(options.script), *options.lines, log, byteTime,
                      stopRequested);
    return sender.run();
}

int runSimulator(int argc, char** argv) {
    Options options;
    std::string error;
    if (argc > 1 && (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0)) {
        usage(stdout);
        return 0;
    }
    if (!parseOptions(argc, argv, options, error)) {
        std::fprintf(stderr, "densitometer-sim: %s (see --help)\n", error.c_str());
        return 2;
    }
    std::FILE* log = stderr;
    if (!options.logPath.empty()) {
        log = std::fopen(options.logPath.c_str(), "a");
        if (log == nullptr) {
            std::fprintf(stderr, "densitometer-sim: cannot write %s: %s\n", options.logPath.c_str(),
                         std::strerror(errno));
            return 2;
        }
    }
    catchSignals();
    SimLine line;
    if (!line.open(error) || (!options.linkPath.empty() && !line.link(options.linkPath, error))) {
        std::fprintf(stderr, "densitometer-sim: %s\n", error.c_str());
        return 1;
    }
    std::printf("%s\n", line.devicePath().c_str());
    std::fflush(stdout);
    const int status =
        options.lines ? runLineInstrument(line, options, log) : runPolledDevice(line, options, log);
    if (log != stderr) {
        std::fclose(log);
    }
    return status;
}

}  // namespace
}  // namespace tarvo::sim

int main(int argc, char** argv) {
    return tarvo::sim::runSimulator(argc, argv);
}
