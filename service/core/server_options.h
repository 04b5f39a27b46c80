// Limits and settings of the HTTP server.
#pragma once

#include <chrono>
#include <cstddef>

#include <boost/asio/ip/tcp.hpp>

struct ServerOptions {
    boost::asio::ip::tcp::endpoint endpoint{boost::asio::ip::make_address_v4("127.0.0.1"), 8936};
    int threads = 1;
    // Connections beyond this get a short 503 and are closed at once.
    std::size_t maxConnections = 1024;
    // A whole request head must arrive within this time, counted from when the
    // server starts waiting for it; an idle keep-alive connection ends after it too.
    std::chrono::milliseconds requestTimeout{10'000};
    // A client must take the whole answer within this time.
    std::chrono::milliseconds writeTimeout{10'000};
    // On stop, answers under way get this long to finish.
    std::chrono::milliseconds drainTimeout{5'000};
    // Request line plus header fields; more gives 431 (or 414 while the request
    // line itself is not complete).
    std::size_t headerLimit = 8 * 1024;
    // Longer request targets give 414.
    std::size_t targetLimit = 4 * 1024;
};
