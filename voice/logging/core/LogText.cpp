#include "LogText.h"

#include <algorithm>
#include <cstdio>
#include <vector>

namespace kvo {
namespace {

template <class... T>
std::string Format(const char* fmt, T... args) {
    char buf[64];
    int n = std::snprintf(buf, sizeof buf, fmt, args...);
    return n < 0 ? std::string() : std::string(buf, std::min<std::size_t>(n, sizeof buf - 1));
}

// Applies a printf format to typed values without ever handing printf an
// argument of the wrong type: each conversion is rebuilt and fed the value
// converted to what it expects.
std::string ApplyFormat(const char* fmt, const std::vector<LogArg>& values) {
    std::string out;
    std::size_t next = 0;
    for (const char* p = fmt; *p;) {
        if (*p != '%') {
            out += *p++;
            continue;
        }
        const char* start = p++;
        if (*p == '%') {
            out += '%';
            ++p;
            continue;
        }
        std::string directive = "%";
        while (*p && std::string_view("-+ #0").find(*p) != std::string_view::npos) directive += *p++;
        while (*p >= '0' && *p <= '9') directive += *p++;
        if (*p == '.') {
            directive += *p++;
            while (*p >= '0' && *p <= '9') directive += *p++;
        }
        while (*p == 'l' || *p == 'h') ++p;  // every number is 32 bits
        const char conv = *p;
        if (!conv) {
            out.append(start);
            break;
        }
        ++p;
        const LogArg* v = next < values.size() ? &values[next] : nullptr;
        if (conv == 's') {
            ++next;
            std::string text;
            if (v && v->type == LogArgType::String)
                text = v->text;
            else if (v && v->type == LogArgType::Number)
                text = std::to_string(v->number);
            if (directive == "%") {
                out += text;
            } else {
                std::vector<char> buf(text.size() + 512);
                int n = std::snprintf(buf.data(), buf.size(), (directive + 's').c_str(), text.c_str());
                if (n > 0) out.append(buf.data(), std::min<std::size_t>(n, buf.size() - 1));
            }
            continue;
        }
        const long number = v && v->type == LogArgType::Number ? v->number : 0;
        switch (conv) {
        case 'd':
        case 'i':
            ++next;
            out += Format((directive + "l" + conv).c_str(), number);
            break;
        case 'u':
        case 'x':
        case 'X':
        case 'o':
            ++next;
            out += Format((directive + "l" + conv).c_str(), static_cast<unsigned long>(
                                                            static_cast<std::uint32_t>(number)));
            break;
        case 'c':
            ++next;
            out += static_cast<char>(number);
            break;
        default:  // not a conversion these messages use: shown as written
            out.append(start, p);
            break;
        }
    }
    return out;
}

}  // namespace

std::string ResultCodeText(std::int32_t code, std::int32_t value) {
    const char* name = ResultCodeName(code);
    if (!name) return Format("Unknown return code %i %i", static_cast<int>(code), static_cast<int>(value));
    return Format("%s %i", name, static_cast<int>(value));
}

std::string LogMessageText(const LogRecord& record, const char* format) {
    const LogKindInfo* info = FindLogKind(record.kind);
    if (!info) return {};
    std::vector<LogArg> values;
    if (record.kind == LK_VOICE_EVENT) {
        LogArg text;
        text.type = LogArgType::String;
        text.text = ResultCodeText(record.args[0].number, record.args[1].number);
        values.push_back(text);
    } else {
        values.assign(record.args.begin(), record.args.end());
    }
    return ApplyFormat(format ? format : info->format, values);
}

std::string LogLineText(const LogRecord& record, const char* format) {
    const LogKindInfo* info = FindLogKind(record.kind);
    if (!info) return {};
    std::string line;
    if (info->category == LC_ERRORS) line = "Error: ";
    const bool test = record.channel == kTestChannel;
    const int shown = static_cast<int>(static_cast<std::uint32_t>(record.channel) + 1);
    if (info->timed) {
        const LogTime& t = record.time;
        line += Format("%.2i:%.2i:%.2i-> ", t.hour, t.minute, t.second);
    }
    if (!test) line += Format("ch %i ", shown);
    return line + LogMessageText(record, format);
}

}  // namespace kvo
