// The stand-in container's form file: controls by ProgID and name with their
// property bags and places, the host's event handlers, and the steps the
// container runs. Portable (no Windows calls); text is UTF-8. The format is
// in README.md.
#pragma once
#include <string>
#include <string_view>
#include <vector>

namespace container {

struct FormProperty {
    std::string name;
    std::string value;
};

struct FormControl {
    std::string progId;
    std::string name;
    std::vector<FormProperty> properties;
    // Where the form shows it, in pixels; unplaced controls go in a row.
    bool placed = false;
    int left = 0, top = 0, width = 0, height = 0;
};

// One value in a step: text (quoted, or a bare word), or "$n", the n-th
// argument (1-based) of the event a handler runs for.
struct Argument {
    std::string text;
    int eventArg = 0;   // n of "$n"; 0 for text
    bool word = false;  // written bare where only keywords go (Answer's buttons, Mode)
};

// One link of a member path: Frame1.Transfer.Prop00(1) has three.
struct PathPart {
    std::string name;
    std::vector<Argument> args;  // index or call arguments in parentheses
};

// Set <path> = <value>       Get <path>          Call <path> [arg, ...]
// Wait <ctl>.<event> [count [timeout]]           Verb <ctl> <number>
// Break   Continue   Mode design|run   Pause <ms>   Unload [<ctl>]
// Answer "<title>" <text>|OK|Cancel|Yes|No
struct FormStep {
    std::string verb;
    std::vector<PathPart> path;  // target (Set, Get, Call, Wait, Verb, Unload)
    std::vector<Argument> args;  // the value of Set, the rest of the others
    int line = 0;                // where it stands in the file (0: made in code)
};

// On <ctl>.<event> ... End: steps run on the container's thread when that
// event arrives; "$n" names the event's arguments, and Set $n = v stores
// into a by-reference one.
struct FormHandler {
    std::string control;
    std::string event;
    std::vector<FormStep> steps;
};

struct Form {
    std::vector<FormControl> controls;
    std::vector<FormHandler> handlers;
    std::vector<FormStep> steps;
};

struct ParseError {
    int line = 0;  // 1-based; 0 when there is no error
    std::string message;
    explicit operator bool() const { return line != 0; }
};

// Parses `text` into `form`; on error `form` holds what came before it.
ParseError ParseForm(std::string_view text, Form& form);
std::string FormatForm(const Form& form);
// A step as the file writes it, without indentation.
std::string FormatStep(const FormStep& step);
std::string FormatPath(const std::vector<PathPart>& path);

// A value as written in the file: quoted, with \\ \" \n \r \t escapes.
std::string QuoteValue(std::string_view value);
// Reverses QuoteValue; a bare word stands for itself. False on bad quoting.
bool UnquoteValue(std::string_view text, std::string& value);

}  // namespace container
