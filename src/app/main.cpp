// The window program: sets up the application, the prompts and the main window.
#include "app/desktop_integration.h"
#include "app/main_window.h"
#include "platform/error_handler.h"
#include "platform/local_path.h"
#include "platform/qt_prompts.h"
#include "platform/termination_signals.h"

int main(int argc, char** argv) {
    tabulo::platform::TabuloApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("tabulo"));
    QGuiApplication::setDesktopFileName(QStringLiteral("tabulo"));
    tabulo::app::installQtJapanese(app);
    tabulo::platform::QtPrompts prompts;
    tabulo::platform::installPrompts(&prompts);
    // From argv itself: file names need not be UTF-8, and every byte counts.
    QStringList arguments;
    for (int i = 1; i < argc; ++i) arguments << tabulo::platform::fromLocalPath(argv[i]);
    tabulo::app::TfmTabulo window(arguments);
    prompts.setParentWidget(&window);
    tabulo::platform::endChildrenWithTheProgram([&window] { window.deleteWorkFilesNow(); });
    window.show();
    const int status = QApplication::exec();
    tabulo::platform::installPrompts(nullptr);
    return status;
}
