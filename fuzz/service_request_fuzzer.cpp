// Any bytes as an HTTP request head: Beast parses them as the server does, and
// whatever head comes out gets a well-formed answer with one of the expected
// statuses.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>

#include <boost/asio/buffer.hpp>
#include <boost/beast/http/parser.hpp>
#include <boost/beast/http/write.hpp>

#include "service/core/request_handler.h"

namespace {

std::shared_ptr<const Picture> NamePicture(const PictureRequest& request)
{
    return MakePicture(ToByteSet(std::to_string(request.templateId) + request.name));
}

bool ExpectedStatus(http::status status)
{
    switch (status) {
    case http::status::ok:
    case http::status::not_modified:
    case http::status::bad_request:
    case http::status::not_found:
    case http::status::method_not_allowed:
        return true;
    default:
        return false;
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    http::request_parser<http::empty_body> parser;
    parser.header_limit(8 * 1024);
    parser.eager(false);
    boost::beast::error_code error;
    parser.put(boost::asio::buffer(data, size), error);
    if (error || !parser.is_header_done()) return 0;

    const RequestHead& request = parser.get();
    const Reply reply = AnswerRequest(request, NamePicture);
    if (!ExpectedStatus(reply.message.result())) std::abort();
    if (request.method() == http::verb::head && reply.message.body().size() != 0) std::abort();
    if (reply.message.result() == http::status::ok && request.method() == http::verb::get &&
        reply.message.body().size() == 0) {
        std::abort();
    }

    std::ostringstream written;
    written << reply.message;
    if (written.str().rfind("HTTP/1.", 0) != 0) std::abort();
    return 0;
}
