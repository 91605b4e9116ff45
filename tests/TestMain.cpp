#include <QApplication>
#include <QTemporaryDir>

#include <gtest/gtest.h>

// The suites need a QApplication for widgets, fonts and the event loop; without
// a display they run on the offscreen platform.
int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // Qt wants a private runtime folder; CI and containers often have none.
    QTemporaryDir runtime;
    if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR") && runtime.isValid())
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtime.path()));
    ::testing::InitGoogleTest(&argc, argv);
    // The offscreen platform has no stacking order and says so on every raise; that notice is
    // not a fault of the code under test.
    static const QtMessageHandler defaultHandler = qInstallMessageHandler(
        [](QtMsgType type, const QMessageLogContext& context, const QString& text) {
            if (text != QLatin1String("This plugin does not support raise()"))
                defaultHandler(type, context, text);
        });
    QApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
