// Fetching the body behind an http or https URL.
#pragma once

#include "encoding/text.h"

// Sends one GET for `url` and returns the whole body of the answer, whatever its
// status code; the empty ByteSet when nothing could be fetched, the bytes read so
// far when the connection failed on the way. Blocks until done. The empty URL,
// a URL that cannot be split and a scheme other than http or https give the
// empty ByteSet without any network activity.
ByteSet HttpReadFile(const Text& url);
