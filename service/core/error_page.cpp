#include "service/core/error_page.h"

namespace {

std::string EscapeHtml(std::string_view text)
{
    std::string escaped;
    escaped.reserve(text.size());
    for (char c : text) {
        switch (c) {
        case '&': escaped += "&amp;"; break;
        case '<': escaped += "&lt;"; break;
        case '>': escaped += "&gt;"; break;
        case '"': escaped += "&quot;"; break;
        default: escaped.push_back(c);
        }
    }
    return escaped;
}

}  // namespace

Reply MakeErrorReply(http::status status, std::string_view problem, unsigned version)
{
    const std::string title =
        std::to_string(static_cast<unsigned>(status)) + " " + std::string(http::obsolete_reason(status));
    auto page = std::make_shared<std::string>(
        "<!DOCTYPE html>\n<html><head><meta charset=\"utf-8\"><title>" + title + "</title></head>\n<body><h1>" +
        title + "</h1><p>" + EscapeHtml(problem) + "</p></body></html>\n");

    Reply reply;
    reply.message.version(version);
    reply.message.result(status);
    reply.message.set(http::field::server, "biaobai-service");
    reply.message.set(http::field::content_type, "text/html; charset=utf-8");
    reply.message.set(http::field::cache_control, "no-store");
    reply.message.body() = {page->data(), page->size()};
    reply.message.prepare_payload();
    reply.owner = std::move(page);
    return reply;
}
