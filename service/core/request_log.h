// One line per answered request: method, target, status, body bytes, milliseconds.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

struct RequestRecord {
    std::string_view method;  // "-" when the request could not be read
    std::string_view target;  // "-" likewise
    unsigned status = 0;
    std::size_t bodyBytes = 0;
    double milliseconds = 0;
};

// "GET /healthz 200 3 bytes 0.12 ms" and a newline. Bytes outside printable ASCII in
// the method or target are written as \xHH, so no request can forge log lines.
std::string FormatLogLine(const RequestRecord& record);

// Writes the line with one write() call, so that lines from several threads
// never interleave.
void WriteLogLine(int fd, const std::string& line);
