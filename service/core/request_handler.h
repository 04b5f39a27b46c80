// What the service answers to one request head: pictures, the health check and
// errors. Knows nothing of sockets, so tests and the fuzzer call it directly.
#pragma once

#include <functional>
#include <memory>

#include "service/core/picture.h"
#include "service/core/picture_query.h"
#include "service/core/reply.h"

inline constexpr std::string_view kPicturePath = "/zb/hf/toutu.php";
inline constexpr std::string_view kHealthPath = "/healthz";

// Gives the picture for a request, drawing it when needed. May throw.
using PictureSource = std::function<std::shared_ptr<const Picture>(const PictureRequest&)>;

// Answers GET and HEAD; HEAD gets the same head as GET with no body. The reply
// keeps the connection open when the request asked for that.
Reply AnswerRequest(const RequestHead& request, const PictureSource& pictures);
