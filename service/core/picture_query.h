// The query of a picture request: which template, and which name to draw.
#pragma once

#include <optional>
#include <string>
#include <string_view>

inline constexpr int kTemplateCount = 4;

struct PictureRequest {
    int templateId = 1;  // 1 to kTemplateCount
    std::string name;    // UTF-8, without control characters or outer spaces; may be empty

    bool operator==(const PictureRequest&) const = default;
};

// Either a request, or a short English sentence saying what is wrong with the query.
struct PictureQuery {
    std::optional<PictureRequest> request;
    std::string problem;
};

// Reads "id=N&name=V" (the part after "?"). Keys and values are percent-decoded;
// both keys are required and may appear once; other keys are ignored.
PictureQuery ParsePictureQuery(std::string_view query);

// Control characters become spaces, runs of spaces become one, and outer spaces go:
// they would draw nothing or boxes, and so equal names share one cached picture.
std::string NormalizeName(std::string_view utf8);
