#include "GreetingPlayer.h"

#include <windows.h>

#include <vector>

#include "AppSettings.h"
#include "ChannelLog.h"
#include "DigitMask.h"
#include "LineState.h"
#include "VoiceSystem.h"
#include "fw/Handle.h"
#include "fw/ole/Text.h"

namespace kvo {
namespace {

constexpr short kWavePhrase = 1;  // kvoWAVEFILE
constexpr long kEveryKey = kDigitKeysMask | kvoDigit_0 | kvoDigit_S | kvoDigit_N;

bool IsAbsolute(const std::string& path) {
    return (path.size() > 1 && path[1] == ':') || (!path.empty() && (path[0] == '\\' || path[0] == '/'));
}

// Relative names are looked for in the project's voice directory, then the
// system's.
fw::FileHandle OpenVoiceFile(const std::string& file) {
    std::vector<std::string> tries;
    if (IsAbsolute(file)) {
        tries.push_back(file);
    } else {
        const AppSettings app = CurrentAppSettings();
        tries = {app.projectVoiceDir + file, app.systemVoiceDir + file, file};
    }
    for (const std::string& path : tries) {
        fw::FileHandle h(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
        if (h) return h;
    }
    return fw::FileHandle();
}

struct OpenPhrase {
    std::string name;
    fw::FileHandle file;
    long length;
};

long PlayFiles(int line, const std::vector<std::string>& files, const std::string& name, bool termOnDtmf) {
    CVoiceInterface* vi = VoiceInterface();
    if (!vi) return 0;
    WriteLogS(line, LK_PLAYING_GREETING, name.c_str());
    std::vector<OpenPhrase> open;
    for (const std::string& f : files) {
        fw::FileHandle h = OpenVoiceFile(f);
        if (!h) {
            WriteLogSN(line, LK_FILE_OPEN_ERROR, f.c_str(), long(GetLastError()));
            continue;
        }
        const DWORD size = GetFileSize(h.Get(), nullptr);
        if (size == INVALID_FILE_SIZE || size <= DWORD(kWaveDataOffset)) continue;
        open.push_back({f, std::move(h), long(size) - kWaveDataOffset});
    }
    if (open.empty()) return 0;
    PlayList list;
    for (const OpenPhrase& p : open) {
        PlaySegment seg;
        seg.file = reinterpret_cast<std::intptr_t>(p.file.Get());
        seg.offset = kWaveDataOffset;
        seg.length = p.length;
        list.push_back(seg);
    }
    PlayParams params;
    params.termMask = termOnDtmf ? kEveryKey : 0;
    params.format = CurrentAppSettings().playFormat;
    SetLineStatusText(line, 1, open.front().name.c_str());
    return vi->PlayList(line, list, params);
}

}  // namespace

long PlayWaveGreeting(int line, const GreetingData& greeting) {
    std::vector<std::string> files;
    for (const PhraseData& p : greeting.phrases)
        if (p.phrsType == kWavePhrase) files.push_back(fw::ole::Narrow(p.file));
    if (files.empty()) return 0;
    return PlayFiles(line, files, fw::ole::Narrow(greeting.name), greeting.termOnDtmf);
}

bool GreetingHasSound(const GreetingData& greeting) {
    for (const PhraseData& p : greeting.phrases) {
        if (p.phrsType != kWavePhrase) continue;
        fw::FileHandle h = OpenVoiceFile(fw::ole::Narrow(p.file));
        const DWORD size = h ? GetFileSize(h.Get(), nullptr) : INVALID_FILE_SIZE;
        if (size != INVALID_FILE_SIZE && size > DWORD(kWaveDataOffset)) return true;
    }
    return false;
}

long PlayWaveFile(int line, const std::string& file, const std::string& name) {
    if (file.empty()) return 0;
    return PlayFiles(line, {file}, name, true);
}

}  // namespace kvo
