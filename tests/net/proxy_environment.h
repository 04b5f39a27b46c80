// Tests talk to servers on 127.0.0.1 directly, whatever proxy the machine that
// runs them has configured.
#pragma once

#include <cstdlib>

inline void ClearProxyEnvironment()
{
    for (const char* name : {"http_proxy", "https_proxy", "all_proxy", "no_proxy", "HTTP_PROXY", "HTTPS_PROXY",
                             "ALL_PROXY", "NO_PROXY"}) {
        unsetenv(name);
    }
}
