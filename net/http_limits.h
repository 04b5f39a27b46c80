// Bounds of every fetch: how long it waits and how much it keeps.
#pragma once

#include <chrono>
#include <cstddef>

struct HttpLimits {
    // Connecting (name lookup, TCP and TLS handshakes included) gives up after this.
    std::chrono::milliseconds connectTimeout{std::chrono::seconds(60)};
    // A transfer that receives nothing for this long ends as a failed read and
    // keeps what arrived; a server that never answers ends the same way.
    std::chrono::seconds stallTimeout{60};
    // The most body bytes held in memory; reading stops there with what was read,
    // so that a hostile server cannot exhaust memory.
    std::size_t bodyCap = std::size_t{256} * 1024 * 1024;
    // Redirects followed before the fetch fails.
    long maxRedirects = 10;
};

// The limits in force. They are constants of the program; only tests change them.
const HttpLimits& CurrentHttpLimits();

// For tests only: replaces the limits of every later fetch.
void SetHttpLimitsForTesting(const HttpLimits& limits);
