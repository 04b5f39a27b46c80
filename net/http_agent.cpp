#include "net/http_agent.h"

HttpAgent& HttpAgent::Instance()
{
    static HttpAgent agent;
    return agent;
}

CURL* HttpAgent::Open()
{
    if (handle_ != nullptr) return handle_;
    if (failNextOpening_) {
        failNextOpening_ = false;
        return nullptr;
    }
    if (!globalInitDone_) {
        if (curl_global_init(CURL_GLOBAL_DEFAULT) != CURLE_OK) return nullptr;
        globalInitDone_ = true;
    }
    handle_ = curl_easy_init();
    if (handle_ != nullptr) ++openCount_;
    return handle_;
}

HttpAgent::~HttpAgent()
{
    if (handle_ != nullptr) curl_easy_cleanup(handle_);
    if (globalInitDone_) curl_global_cleanup();
}
