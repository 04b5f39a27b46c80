#include "service/core/request_handler.h"

#include <exception>
#include <string>

#include "service/core/error_page.h"

namespace {

// Proxies may send the absolute form "http://host/path?query"; only the path and
// query count here.
std::string_view OriginFormOf(std::string_view target)
{
    for (std::string_view scheme : {"http://", "https://"}) {
        if (target.substr(0, scheme.size()) == scheme) {
            const std::size_t slash = target.find('/', scheme.size());
            return slash == std::string_view::npos ? std::string_view("/") : target.substr(slash);
        }
    }
    return target;
}

std::string_view Trim(std::string_view text)
{
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
    return text;
}

// If-None-Match compares weakly: W/"x" matches "x".
bool MatchesEntityTag(std::string_view ifNoneMatch, std::string_view entityTag)
{
    while (!ifNoneMatch.empty()) {
        const std::size_t comma = ifNoneMatch.find(',');
        std::string_view candidate = Trim(ifNoneMatch.substr(0, comma));
        ifNoneMatch = comma == std::string_view::npos ? std::string_view{} : ifNoneMatch.substr(comma + 1);
        if (candidate.substr(0, 2) == "W/") candidate.remove_prefix(2);
        if (candidate == "*" || candidate == entityTag) return true;
    }
    return false;
}

Reply PictureReply(const RequestHead& request, std::shared_ptr<const Picture> picture)
{
    Reply reply;
    auto& message = reply.message;
    message.version(request.version());
    message.set(http::field::server, "biaobai-service");
    message.set(http::field::etag, picture->entityTag);
    // Same URL, same picture: caches may keep it for a day.
    message.set(http::field::cache_control, "public, max-age=86400");
    if (MatchesEntityTag(request[http::field::if_none_match], picture->entityTag)) {
        message.result(http::status::not_modified);
        return reply;
    }
    message.result(http::status::ok);
    message.set(http::field::content_type, "image/jpeg");
    message.set("X-Content-Type-Options", "nosniff");
    message.body() = {reinterpret_cast<const char*>(picture->jpeg.data()), picture->jpeg.size()};
    message.prepare_payload();
    reply.owner = std::move(picture);
    return reply;
}

Reply HealthReply(const RequestHead& request)
{
    static const std::string kHealthy = "ok\n";
    Reply reply;
    reply.message.version(request.version());
    reply.message.result(http::status::ok);
    reply.message.set(http::field::server, "biaobai-service");
    reply.message.set(http::field::content_type, "text/plain; charset=utf-8");
    reply.message.set(http::field::cache_control, "no-store");
    reply.message.body() = {kHealthy.data(), kHealthy.size()};
    reply.message.prepare_payload();
    return reply;
}

Reply Route(const RequestHead& request, const PictureSource& pictures)
{
    const unsigned version = request.version();
    if (request.method() != http::verb::get && request.method() != http::verb::head) {
        Reply reply = MakeErrorReply(http::status::method_not_allowed, "Only GET and HEAD are served.", version);
        reply.message.set(http::field::allow, "GET, HEAD");
        return reply;
    }

    const std::string_view target = OriginFormOf(request.target());
    const std::size_t question = target.find('?');
    const std::string_view path = target.substr(0, question);
    const std::string_view query = question == std::string_view::npos ? std::string_view{} : target.substr(question + 1);

    if (path == kHealthPath) return HealthReply(request);
    if (path != kPicturePath) return MakeErrorReply(http::status::not_found, "There is nothing here.", version);

    PictureQuery parsed = ParsePictureQuery(query);
    if (!parsed.request) return MakeErrorReply(http::status::bad_request, parsed.problem, version);
    try {
        std::shared_ptr<const Picture> picture = pictures(*parsed.request);
        if (picture) return PictureReply(request, std::move(picture));
    } catch (const std::exception&) {
        // Reported below like a picture that could not be drawn.
    }
    return MakeErrorReply(http::status::internal_server_error, "The picture could not be drawn.", version);
}

}  // namespace

Reply AnswerRequest(const RequestHead& request, const PictureSource& pictures)
{
    Reply reply = Route(request, pictures);
    reply.message.keep_alive(request.keep_alive());
    if (request.method() == http::verb::head) {
        // Same head as for GET, including Content-Length, but no body bytes.
        reply.message.body() = {};
    }
    return reply;
}
