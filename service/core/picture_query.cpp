#include "service/core/picture_query.h"

#include "service/core/percent_decoding.h"
#include "service/core/utf8.h"

namespace {

PictureQuery Problem(std::string text)
{
    return PictureQuery{std::nullopt, std::move(text)};
}

std::optional<int> TemplateIdOf(std::string_view text)
{
    if (text.size() != 1 || text[0] < '1' || text[0] > '0' + kTemplateCount) return std::nullopt;
    return text[0] - '0';
}

}  // namespace

PictureQuery ParsePictureQuery(std::string_view query)
{
    std::optional<std::string> id;
    std::optional<std::string> name;
    while (!query.empty()) {
        const std::size_t end = query.find('&');
        const std::string_view pair = query.substr(0, end);
        query = end == std::string_view::npos ? std::string_view{} : query.substr(end + 1);
        if (pair.empty()) continue;

        const std::size_t equals = pair.find('=');
        const std::optional<std::string> key = PercentDecode(pair.substr(0, equals));
        const std::optional<std::string> value =
            PercentDecode(equals == std::string_view::npos ? std::string_view{} : pair.substr(equals + 1));
        if (!key || !value) return Problem("The query holds a malformed percent escape.");

        std::optional<std::string>* slot = nullptr;
        if (*key == "id") slot = &id;
        if (*key == "name") slot = &name;
        if (slot == nullptr) continue;
        if (slot->has_value()) return Problem("The key " + *key + " appears more than once.");
        *slot = std::move(*value);
    }

    if (!id) return Problem("The key id is missing.");
    if (!name) return Problem("The key name is missing.");
    const std::optional<int> templateId = TemplateIdOf(*id);
    if (!templateId) return Problem("The template id must be 1, 2, 3 or 4.");
    if (!IsValidUtf8(*name)) return Problem("The name is not valid UTF-8.");
    return PictureQuery{PictureRequest{*templateId, NormalizeName(*name)}, {}};
}

std::string NormalizeName(std::string_view utf8)
{
    std::string normalized;
    normalized.reserve(utf8.size());
    bool pendingSpace = false;
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        const auto byte = static_cast<unsigned char>(utf8[i]);
        bool blank = byte <= 0x20 || byte == 0x7F;
        // U+0080 to U+009F, the C1 controls, are C2 80 to C2 9F in UTF-8.
        const bool c1Control = byte == 0xC2 && i + 1 < utf8.size() &&
                               static_cast<unsigned char>(utf8[i + 1]) <= 0x9F &&
                               static_cast<unsigned char>(utf8[i + 1]) >= 0x80;
        if (c1Control) {
            blank = true;
            ++i;
        }
        if (blank) {
            pendingSpace = !normalized.empty();
            continue;
        }
        if (pendingSpace) normalized.push_back(' ');
        pendingSpace = false;
        normalized.push_back(static_cast<char>(byte));
    }
    return normalized;
}
