// The process-wide HTTP client state: libcurl initialised once and one easy
// handle that every fetch reuses (its connection, DNS and TLS session caches go
// with it). Opened by the first fetch that needs it, closed at process exit.
// Used on one thread only.
#pragma once

#include <curl/curl.h>

class HttpAgent {
public:
    static HttpAgent& Instance();

    // The open handle, opening the agent first when it is not open; nullptr when
    // opening fails, in which case the next call tries again.
    CURL* Open();

    bool IsOpen() const { return handle_ != nullptr; }
    // How often the agent has been opened in this process; it stays open, so this
    // is never more than 1.
    int OpenCount() const { return openCount_; }

    // For tests only: makes the next opening fail as if libcurl had refused it.
    void FailNextOpeningForTesting() { failNextOpening_ = true; }

    HttpAgent(const HttpAgent&) = delete;
    HttpAgent& operator=(const HttpAgent&) = delete;

private:
    HttpAgent() = default;
    ~HttpAgent();

    bool globalInitDone_ = false;
    bool failNextOpening_ = false;
    CURL* handle_ = nullptr;
    int openCount_ = 0;
};
