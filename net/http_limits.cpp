#include "net/http_limits.h"

namespace {

HttpLimits& Limits()
{
    static HttpLimits limits;
    return limits;
}

}  // namespace

const HttpLimits& CurrentHttpLimits() { return Limits(); }

void SetHttpLimitsForTesting(const HttpLimits& limits) { Limits() = limits; }
