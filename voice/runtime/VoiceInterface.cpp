#include "VoiceInterface.h"
#include <fw/ModulePath.h>

#include "LogResources.h"
#include "VoiceSystem.h"

namespace kvo {

// Both areas are linked into the same module.

void VoiceMessage(HWND parent, const std::string& text) {
    MessageBoxA(parent, text.c_str(), "Kavoro", MB_OK | MB_ICONEXCLAMATION);
}

CVoiceInterface::CVoiceInterface() : testChannel_(Settings().testChannel) {}

CVoiceInterface::~CVoiceInterface() = default;

bool CVoiceInterface::CreateHiddenWindow(HWND parent) {
    if (Handle()) return true;
    static const bool registered = fw::Window::RegisterClass(fw::ThisModule(), "AfxWnd");
    // Without a parent the window still serves as a message target.
    return registered && Create(fw::ThisModule(), "AfxWnd", "", WS_CHILD, 0, 0, 0, 0, 0,
                                parent ? parent : HWND_MESSAGE);
}

long CVoiceInterface::Open(HWND parent) {
    if (CreateHiddenWindow(parent)) return 0;
    VoiceMessage(parent, "failed to create window");
    return 1;
}

void CVoiceInterface::SimulateHangup(int) {}
int CVoiceInterface::IsVoiceCard() { return 0; }
int CVoiceInterface::GetTestChannel() { return testChannel_; }

long CVoiceInterface::StartTestCall(HWND parent) {
    VoiceMessage(parent, "no play device configured");
    return 0;
}

long CVoiceInterface::EndTestCall() { return 0; }
long CVoiceInterface::SeizeChannel(int) { return 0; }
long CVoiceInterface::ReleaseChannel(int) { return 1; }
long CVoiceInterface::GetLoopCurrentStatus(int) { return 0; }
long CVoiceInterface::WaitForRing(int, long) { return 1; }
long CVoiceInterface::RefuseCall(int) { return 0; }
long CVoiceInterface::OffHook(int) { return 1; }
long CVoiceInterface::OnHook(int) { return 1; }
long CVoiceInterface::StopChannel(int) { return 1; }
long CVoiceInterface::ClearDTMFQueue(int) { return 1; }
long CVoiceInterface::PlayList(int, const kvo::PlayList&, PlayParams&) { return 1; }
long CVoiceInterface::GetDTMFString(int, DigitRequest&, std::string&) { return 1; }
long CVoiceInterface::GetDTMFDigit(int, char*) { return 1; }
long CVoiceInterface::DelayChannel(int, long, long, long) { return 1; }
long CVoiceInterface::RecordSound(int, RecordParams&) { return 1; }
long CVoiceInterface::GetStatus(long, long) { return 1; }
long CVoiceInterface::TransferSupervised(int, const std::string&, bool) { return 1; }
long CVoiceInterface::DialOut(int, const std::string&, bool, long) { return 1; }
long CVoiceInterface::DialNoProgress(int, const std::string&, bool) { return 1; }
long CVoiceInterface::TransferBlind(int, const std::string&, bool) { return 1; }
long CVoiceInterface::PauseTest() { return 0; }
long CVoiceInterface::ResumeTest() { return 0; }
void CVoiceInterface::SimulateDigit(int, char) {}
long CVoiceInterface::IsOffHook(int) { return 0; }

}  // namespace kvo
