// Times kvo32.ocx's log_to_text on a large channel log. The log is made once
// with the record writer (four busy lines, the record mix of a day of calls)
// and kept; the library is loaded by path, so two builds can be compared on
// the same file. Prints the log's size, the processor time of the conversion
// (user + kernel of this process, best of the runs) and MB/s of log.
// Usage: logbench <kvo32.ocx> <log.vlg> <out.txt> [runs] [records]
#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "LogRecord.h"

namespace {

using LogToText = short(__stdcall*)(long, const char*, const char*);

// A day's traffic on four lines: calls that enter controls, play, collect
// digits and leave through nodes, with driver events between.
bool MakeLog(const char* path, long records) {
    using namespace kvo;
    std::FILE* f = std::fopen(path, "wb");
    if (!f) return false;
    const auto header = LogFileHeader();
    std::fwrite(header.data(), 1, header.size(), f);
    static const char* const kControls[] = {"MainMenu", "GetAccount", "PlayBalance", "Transfer"};
    static const char* const kTypes[] = {"LineGroup", "GetDigits", "PlayGreeting", "Dial"};
    std::uint32_t seed = 12345;
    auto next = [&seed] { return (seed = seed * 1103515245u + 12345u) >> 8; };
    std::vector<std::uint8_t> block;
    for (long i = 0; i < records; ++i) {
        const int line = static_cast<int>(next() % 4);
        const int c = static_cast<int>(next() % 4);
        std::optional<LogRecord> r;
        switch (next() % 8) {
        case 0: r = MakeLogRecord(line, LK_CALL_IN, {}); break;
        case 1: r = MakeLogRecord(line, LK_CONTROL_ENTER, {kControls[c], kTypes[c], c}); break;
        case 2: r = MakeLogRecord(line, LK_VOICE_PLAY, {}); break;
        case 3: r = MakeLogRecord(line, LK_VOICE_EVENT, {static_cast<int>(next() % 45), 5}); break;
        case 4: r = MakeLogRecord(line, LK_DIGITS_RECEIVED, {"12#"}); break;
        case 5: r = MakeLogRecord(line, LK_EXIT_NODE, {c, kControls[c]}); break;
        case 6: r = MakeLogRecord(line, LK_WAIT_DIGITS, {4, 0x1F}); break;
        default: r = MakeLogRecord(line, LK_CALL_END, {}); break;
        }
        r->time = {static_cast<std::uint8_t>(i / 60 % 60), static_cast<std::uint8_t>(i / 3600 % 24), 0,
                   static_cast<std::uint8_t>(i % 60)};
        const auto bytes = EncodeLogRecord(*r);
        block.insert(block.end(), bytes.begin(), bytes.end());
        if (block.size() > (1 << 20)) {
            std::fwrite(block.data(), 1, block.size(), f);
            block.clear();
        }
    }
    std::fwrite(block.data(), 1, block.size(), f);
    return std::fclose(f) == 0;
}

double ProcessSeconds() {
    FILETIME created, exited, kernel, user;
    GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
    auto value = [](const FILETIME& t) {
        return (static_cast<std::uint64_t>(t.dwHighDateTime) << 32 | t.dwLowDateTime) / 1e7;
    };
    return value(kernel) + value(user);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 4) {
        std::fprintf(stderr, "usage: logbench <kvo32.ocx> <log.vlg> <out.txt> [runs] [records]\n");
        return 2;
    }
    const int runs = argc > 4 ? std::atoi(argv[4]) : 3;
    const long records = argc > 5 ? std::atol(argv[5]) : 1400000;
    if (GetFileAttributesA(argv[2]) == INVALID_FILE_ATTRIBUTES && !MakeLog(argv[2], records)) {
        std::fprintf(stderr, "logbench: cannot write %s\n", argv[2]);
        return 1;
    }
    HMODULE library = LoadLibraryA(argv[1]);
    const auto convert =
        library ? reinterpret_cast<LogToText>(reinterpret_cast<void*>(GetProcAddress(library, "log_to_text")))
                : nullptr;
    if (!convert) {
        std::fprintf(stderr, "logbench: no log_to_text in %s\n", argv[1]);
        return 1;
    }
    WIN32_FILE_ATTRIBUTE_DATA info{};
    GetFileAttributesExA(argv[2], GetFileExInfoStandard, &info);
    const double megabytes = info.nFileSizeLow / 1e6 + info.nFileSizeHigh * 4294.967296;
    double best = 0;
    for (int i = 0; i < runs; ++i) {
        const double start = ProcessSeconds();
        const short result = convert(0, argv[2], argv[3]);
        const double spent = ProcessSeconds() - start;
        if (result != 0) {
            std::fprintf(stderr, "logbench: log_to_text returned %d\n", result);
            return 1;
        }
        if (i == 0 || spent < best) best = spent;
    }
    std::printf("log %.1f MB: log_to_text %.3f s processor (best of %d), %.0f MB/s of log\n", megabytes,
                best, runs, megabytes / (best > 0 ? best : 1e-3));
    FreeLibrary(library);
    return 0;
}
