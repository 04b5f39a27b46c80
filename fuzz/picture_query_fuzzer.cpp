// Any query string: either a clean request or a stated problem, never both.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "service/core/picture_query.h"
#include "service/core/utf8.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view query(reinterpret_cast<const char*>(data), size);
    const PictureQuery parsed = ParsePictureQuery(query);
    if (parsed.request.has_value() == !parsed.problem.empty()) std::abort();
    if (!parsed.request) return 0;

    const PictureRequest& request = *parsed.request;
    if (request.templateId < 1 || request.templateId > kTemplateCount) std::abort();
    if (!IsValidUtf8(request.name)) std::abort();
    if (NormalizeName(request.name) != request.name) std::abort();
    if (!request.name.empty() && (request.name.front() == ' ' || request.name.back() == ' ')) std::abort();
    for (char c : request.name) {
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) std::abort();
    }
    return 0;
}
