// Exceptions a call into the voice runtime ends with. They are thrown as heap
// objects (throw new X) and deleted by the catcher (the line thread).
#pragma once
#include "fw/Exception.h"

namespace kvo {

class ShutdownException : public fw::Exception {};
class HangupException : public fw::Exception {};
class HelpDigitException : public fw::Exception {};
class KillThreadException : public fw::Exception {};
// The host is in break mode: it runs no code for the line's event.
class VBBreakException : public fw::Exception {};
class PhraseException : public fw::Exception {};

class ControlErrorException : public fw::Exception {
public:
    ControlErrorException(long type, long data) : type_(type), data_(data) {}
    long ErrorType() const { return type_; }
    long ErrorData() const { return data_; }

private:
    long type_;
    long data_;
};

}  // namespace kvo
