// Small HTML pages for answers that carry no picture.
#pragma once

#include <string>
#include <string_view>

#include <boost/beast/http/status.hpp>

#include "service/core/reply.h"

// A reply with a short HTML page naming the status and the problem. Error replies
// are not to be stored by caches.
Reply MakeErrorReply(http::status status, std::string_view problem, unsigned version);
