#include "service/core/request_log.h"

#include <unistd.h>

#include <cerrno>
#include <cstdio>

namespace {

void AppendEscaped(std::string& line, std::string_view text)
{
    static const char kHex[] = "0123456789ABCDEF";
    for (char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte > 0x20 && byte < 0x7F && byte != '\\') {
            line.push_back(c);
        } else {
            line += "\\x";
            line.push_back(kHex[byte >> 4]);
            line.push_back(kHex[byte & 0x0F]);
        }
    }
}

}  // namespace

std::string FormatLogLine(const RequestRecord& record)
{
    std::string line;
    line.reserve(record.method.size() + record.target.size() + 48);
    AppendEscaped(line, record.method);
    line.push_back(' ');
    AppendEscaped(line, record.target);
    char numbers[64];
    std::snprintf(numbers, sizeof numbers, " %u %zu bytes %.2f ms\n", record.status, record.bodyBytes, record.milliseconds);
    line += numbers;
    return line;
}

void WriteLogLine(int fd, const std::string& line)
{
    ssize_t written;
    do {
        written = ::write(fd, line.data(), line.size());
    } while (written < 0 && errno == EINTR);
}
