// A scripted call on the simulated voice card, driven through the voice
// runtime as a call flow would: answer, play a prompt the caller types over,
// collect the digits, transfer, wait, and notice the caller hanging up.
#include <windows.h>

#include <cstdio>
#include <fstream>
#include <string>

#include "DriverVoiceInterface.h"
#include "RuntimeExceptions.h"
#include "fw/Handle.h"
#include "VoiceSystem.h"

namespace {

std::string Temp(const char* name) {
    char tmp[MAX_PATH];
    GetTempPathA(MAX_PATH, tmp);
    return std::string(tmp) + name;
}

// Keeps the user's [VoiceCard] Type and puts it back afterwards.
class CardType {
public:
    CardType() {
        char buf[64];
        had_ = GetPrivateProfileStringA("VoiceCard", "Type", "\x01", buf, sizeof buf, "KVO32.INI") != 1 ||
               buf[0] != '\x01';
        old_ = buf;
        WritePrivateProfileStringA("VoiceCard", "Type", "RHETOREX", "KVO32.INI");
    }
    ~CardType() { WritePrivateProfileStringA("VoiceCard", "Type", had_ ? old_.c_str() : nullptr, "KVO32.INI"); }

private:
    bool had_;
    std::string old_;
};

}  // namespace

int main() {
    const std::string scenario = Temp("voice_demo.scn"), journal = Temp("voice_demo.log"),
                      prompt = Temp("voice_demo.raw");
    std::ofstream(scenario) << "channels 2\nspeed 10\nline 0\ncall ring 1000\nkeys 1500 42#\nhangup 9000\n"
                               "dial 200 connected\n";
    std::ofstream(prompt, std::ios::binary) << std::string(3 * 8000, '\x7f');
    DeleteFileA(journal.c_str());
    SetEnvironmentVariableA("KVORHT32_SCENARIO", scenario.c_str());
    SetEnvironmentVariableA("KVORHT32_JOURNAL", journal.c_str());
    CardType card;

    kvo::LoadVoiceSystem(nullptr);
    kvo::CVoiceInterface* voice = kvo::VoiceInterface();
    std::printf("voice card: %s, %d lines\n", voice->IsVoiceCard() ? "yes" : "no", kvo::NumberOfLines());
    int rc = 1;
    fw::FileHandle file(CreateFileA(prompt.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    try {
        std::printf("ring: %ld\n", voice->WaitForRing(0, 1));
        voice->OffHook(0);
        kvo::PlaySegment seg;
        seg.file = reinterpret_cast<std::intptr_t>(file.Get());
        seg.length = 3 * 8000;
        kvo::PlayParams play;
        play.termMask = 0xFFFF;   // any key ends the prompt
        std::printf("prompt ended with %ld\n", voice->PlayList(0, {seg}, play));
        kvo::DigitRequest ask;
        ask.silence = 3;
        ask.termMask = 4096;
        std::string digits;
        const long r = voice->GetDTMFString(0, ask, digits);
        std::printf("digits: '%s' (%ld)\n", digits.c_str(), r);
        std::printf("transfer: %ld\n", voice->TransferBlind(0, "200", false));
        voice->DelayChannel(0, 30, 0, 1);   // on hold until the caller goes
    } catch (kvo::HangupException* e) {
        e->Delete();
        std::printf("caller hung up\n");
        rc = 0;
    } catch (fw::Exception* e) {
        e->Delete();
        std::printf("call failed\n");
    }
    file.Reset();
    kvo::UnloadVoiceSystem();
    std::printf("what line 0 was asked to do:\n");
    std::ifstream in(journal);
    for (std::string line; std::getline(in, line);) std::printf("  %s\n", line.c_str());
    DeleteFileA(scenario.c_str());
    DeleteFileA(journal.c_str());
    DeleteFileA(prompt.c_str());
    return rc;
}
