// The answer to one HTTP request, ready for Beast to write.
#pragma once

#include <memory>

#include <boost/beast/http/empty_body.hpp>
#include <boost/beast/http/message.hpp>
#include <boost/beast/http/span_body.hpp>

namespace http = boost::beast::http;

using RequestHead = http::request<http::empty_body>;

// The body is a view of bytes that `owner` keeps alive, so that a cached picture
// goes out without being copied.
struct Reply {
    http::response<http::span_body<const char>> message;
    std::shared_ptr<const void> owner;
};
