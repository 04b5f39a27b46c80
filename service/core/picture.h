// A finished picture as the service sends it.
#pragma once

#include <memory>
#include <string>

#include "encoding/text.h"

struct Picture {
    ByteSet jpeg;
    std::string entityTag;  // quoted strong ETag, derived from the bytes alone
};

// Wraps the bytes with their entity tag. The tag depends on nothing but the bytes,
// so every instance behind a load balancer gives the same tag for the same picture.
std::shared_ptr<const Picture> MakePicture(ByteSet jpeg);
