// Per-line values the voice interface reads and writes while a line thread
// runs a call: the status shown for the line and the line's help digit. Each
// entry has one writer at a time (the line's own thread, or the user
// interface while the line is idle).
#pragma once
#include <string>

#include "SystemSettings.h"

namespace kvo {

enum LineStatusCode {
    LS_IDLE = 0,
    LS_PLAYING = 1,
    LS_WAITING_FOR_DIGITS = 2,
    LS_RECORDING = 3,
    LS_DIALLING = 5,
    LS_WAITING_FOR_DIALTONE = 17,
};

void SetLineStatusText(int channel, int code, const char* text);
int LineStatusCodeOf(int channel);
std::string LineStatusTextOf(int channel);   // the argument last given, at most 19 characters

// The key that asks for help on the line, 0 for none.
void SetLineHelpDigit(int channel, char digit);
char LineHelpDigit(int channel);

}  // namespace kvo
