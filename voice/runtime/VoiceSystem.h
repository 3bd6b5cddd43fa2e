// Process-wide state of the voice runtime: the system settings, the voice
// interface in use and the flags the dispatcher raises to end line threads.
#pragma once
#include <windows.h>

#include <memory>

#include "SystemSettings.h"
#include "VoiceInterface.h"

namespace kvo {

// A copy of the settings read from KVO32.INI (read on first use, at module
// start); a copy, because the user interface may replace them while a line
// thread is dialling with one of its strings.
SystemSettings Settings();
// Reads them again (after the settings file changed underneath).
void ReloadSettings();
// The PBX settings page's apply: stores the values and writes DefaultCPL and
// the PBX strings back; false when KVO32.INI could not be written.
bool WriteSettings(const SystemSettings& settings);

// Chooses and opens the voice interface: the sound card, the voice card
// driver, or no card (the system can then only be tested).
void LoadVoiceSystem(HWND parent);
// A driver-backed interface if the configured card gives channels, else
// nothing (the reason has been shown to the user).
std::unique_ptr<CVoiceInterface> OpenDriverInterface(HWND parent);
// Ends the interface in use (module unload).
void UnloadVoiceSystem();
// Back to the state of a freshly loaded library: no interface, no driver
// library, the flags lowered, the settings read again. For tests, which
// share one process.
void ResetVoiceSystem();

// Makes `vi` the interface in use (the old one ends); the number of lines
// becomes its channel count.
void UseVoiceInterface(std::unique_ptr<CVoiceInterface> vi);
CVoiceInterface* VoiceInterface();
int NumberOfLines();
bool NoSoundCard();
bool TestOnly();

// Written by the dispatcher, read by every line after each blocking call.
bool ShutdownRequested();
void SetShutdownRequested(bool on);
bool KillChannelsRequested();
void SetKillChannelsRequested(bool on);

// Raises ShutdownException when the system is being stopped.
void ThrowIfShutdown();

}  // namespace kvo
