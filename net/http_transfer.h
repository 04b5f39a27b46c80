// One HTTP GET over libcurl, with the request form and the limits of a fetch.
#pragma once

#include <curl/curl.h>

#include "encoding/text.h"
#include "net/http_limits.h"
#include "net/url_split.h"

// Sends "GET <target> HTTP/1.0" for the http or https URL in `parts` on `handle`
// and returns the body of the final response (redirects are followed), whatever
// its status. A failure before the body gives the empty ByteSet; a failure while
// reading it keeps the bytes that came before.
ByteSet FetchBody(CURL* handle, const UrlParts& parts, const HttpLimits& limits);
