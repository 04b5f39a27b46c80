#include "app/startup.h"

#include <QApplication>
#include <QMessageBox>
#include <cstdio>
#include <cstdlib>
#include <new>

#include "app/keyboard_handling.h"
#include "app/main_window.h"
#include "app/program_directory.h"
#include "resources/version.h"

namespace {

constexpr int kFatalExitStatus = 255;

// The program keeps no global state; these two steps exist to keep their place
// in the start-up and exit sequence.
void GlobalInitialise() {}
void GlobalCleanUp() {}

int OnStartup()
{
    return 0;
}

[[noreturn]] void OutOfMemory()
{
    // No allocation here: the message is a constant and stderr is unbuffered.
    std::fputs("biaobai: fatal error: out of memory\n", stderr);
    std::_Exit(kFatalExitStatus);
}

QtMessageHandler qtMessageHandler = nullptr;

// Qt's own fatal errors (a display that cannot be opened, say) end the program
// like ours: a message on stderr and exit status 255, not an abort.
void OnQtMessage(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    if (type != QtFatalMsg) {
        qtMessageHandler(type, context, message);
        return;
    }
    std::fprintf(stderr, "biaobai: fatal error: %s\n", qPrintable(message));
    std::_Exit(kFatalExitStatus);
}

bool HasDisplay()
{
    // An explicitly chosen Qt platform (offscreen in tests) needs no display.
    for (const char* name : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"}) {
        const char* value = std::getenv(name);
        if (value && *value) return true;
    }
    return false;
}

}  // namespace

void FatalError(std::string_view message)
{
    std::fprintf(stderr, "biaobai: fatal error: %.*s\n", static_cast<int>(message.size()), message.data());
    if (qApp && QGuiApplication::platformName() != QLatin1String("offscreen")) {
        QMessageBox::critical(nullptr, QStringLiteral("biaobai"),
                              QString::fromUtf8(message.data(), static_cast<qsizetype>(message.size())));
    }
    std::exit(kFatalExitStatus);
}

int RunProgram(int, char** argv)
{
    std::set_new_handler(OutOfMemory);
    qtMessageHandler = qInstallMessageHandler(OnQtMessage);
    if (!PrepareProcess()) FatalError("the program's own directory cannot be found");
    if (!HasDisplay()) FatalError("no graphical display: DISPLAY is not set");

    // Qt gets no command-line options: the program takes nothing from its command line.
    int qtArgc = 1;
    char* qtArgv[] = {argv[0], nullptr};
    QApplication application(qtArgc, qtArgv);
    QApplication::setApplicationName(QStringLiteral("biaobai"));
    QApplication::setApplicationVersion(QStringLiteral(BIAOBAI_VERSION));

    GlobalInitialise();
    std::atexit(GlobalCleanUp);
    OnStartup();

    MainWindow* window = CreateMainWindow();
    if (!window) FatalError("the main window cannot be created");
    new KeyboardHandling(window);  // owned by the window

    QApplication::exec();
    return 0;
}
