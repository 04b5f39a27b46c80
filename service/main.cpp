// biaobai-service: draws greeting pictures and serves them over HTTP.
#include <pthread.h>
#include <sys/resource.h>
#include <signal.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include <QGuiApplication>
#include <QThreadPool>

#include "service/command_line.h"
#include "service/core/http_server.h"
#include "service/core/picture_store.h"
#include "service/core/request_handler.h"
#include "service/picture/greeting_painter.h"

namespace {

// Enough for a few thousand pictures of about 40 KB.
constexpr std::size_t kCacheBytes = 128u * 1024 * 1024;

std::string EndpointText(const boost::asio::ip::tcp::endpoint& endpoint)
{
    const std::string address = endpoint.address().to_string();
    const std::string host = endpoint.address().is_v6() ? "[" + address + "]" : address;
    return host + ":" + std::to_string(endpoint.port());
}

}  // namespace

int main(int argc, char** argv)
{
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    const int cores = static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
    const CommandLine commandLine = ParseCommandLine(arguments, cores);
    switch (commandLine.action) {
    case CommandLine::Action::Help:
        std::fputs(UsageText().c_str(), stdout);
        return 0;
    case CommandLine::Action::Version:
        std::printf("biaobai-service %s\n", BIAOBAI_VERSION);
        return 0;
    case CommandLine::Action::Fail:
        std::fprintf(stderr, "biaobai-service: %s\n%s", commandLine.error.c_str(), UsageText().c_str());
        return 2;
    case CommandLine::Action::Run:
        break;
    }

    // Every connection takes a file descriptor: allow as many as the system lets us.
    rlimit files{};
    if (getrlimit(RLIMIT_NOFILE, &files) == 0 && files.rlim_cur < files.rlim_max) {
        files.rlim_cur = files.rlim_max;
        setrlimit(RLIMIT_NOFILE, &files);
    }

    // The stop signals are taken by sigwait below; every thread started from here
    // on inherits the block, so none of them is interrupted by one.
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGINT);
    sigaddset(&stopSignals, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);

    // Drawing needs Qt's font database but no display.
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    int qtArgc = 1;  // Qt must not take options that are ours
    char* qtArgv[] = {argv[0], nullptr};
    QGuiApplication application(qtArgc, qtArgv);
    // The pictures are painted on Qt's pool (see DrawGreeting), one per worker thread at most.
    QThreadPool::globalInstance()->setMaxThreadCount(commandLine.settings.threads);

    PictureStore pictures(kCacheBytes, DrawGreeting);
    pictures.Get(PictureRequest{1, ""});  // loads the faces before the first client waits for them

    const ServiceSettings& settings = commandLine.settings;
    ServerOptions options;
    options.threads = settings.threads;
    options.endpoint = {boost::asio::ip::make_address(settings.address), settings.port};
    try {
        HttpServer server(
            options,
            [&pictures](const RequestHead& request) {
                return AnswerRequest(request, [&pictures](const PictureRequest& picture) { return pictures.Get(picture); });
            },
            [](const RequestRecord& record) { WriteLogLine(2, FormatLogLine(record)); });
        server.Start();
        std::fprintf(stderr, "biaobai-service %s listening on %s with %d threads\n", BIAOBAI_VERSION,
                     EndpointText(server.LocalEndpoint()).c_str(), settings.threads);

        int signal = 0;
        sigwait(&stopSignals, &signal);
        std::fprintf(stderr, "biaobai-service: %s, stopping\n", signal == SIGINT ? "SIGINT" : "SIGTERM");
        server.Stop();
        server.Wait();
    } catch (const boost::system::system_error& error) {
        std::fprintf(stderr, "biaobai-service: cannot listen on %s:%u: %s\n", settings.address.c_str(), settings.port,
                     error.code().message().c_str());
        return 1;
    }
    std::fprintf(stderr, "biaobai-service: stopped\n");
    return 0;
}
