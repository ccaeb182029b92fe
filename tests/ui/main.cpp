// The window tests' main: Qt's offscreen platform unless another is chosen, and the
// application object for the whole run (not for listing the tests, which the build
// does without a display).
#include <gtest/gtest.h>

#include <QByteArray>
#include <QString>
#include <QtGlobal>

#include <cstdlib>
#include <filesystem>
#include <memory>

#include "toolkit/gui/bcl_app.h"

namespace {

int app_argc = 1;
char app_name[] = "kestrix_ui_tests";
char* app_argv[] = {app_name, nullptr};

class Application_environment : public testing::Environment {
public:
    void SetUp() override { application_ = std::make_unique<Bcl_app>(app_argc, app_argv); }
    void TearDown() override { application_.reset(); }

private:
    std::unique_ptr<Bcl_app> application_;
};

// The offscreen platform says on every top-level window that it cannot pass size
// hints on; nothing a test needs to see.
void quieter_messages(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    if (message.contains(QLatin1String("propagateSizeHints")))
        return;
    qt_message_output(type, context, message);
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // A system whose locale is not Japanese, as most are: the window must be Japanese
    // all the same.
    qputenv("LANG", "C.UTF-8");
    qunsetenv("LC_ALL");
    qunsetenv("LC_TIME");
    qunsetenv("LC_MESSAGES");
    // A private folder for Qt's runtime files and settings: what the file dialogs
    // remember (the last folder) must not carry over between runs or reach the user's
    // own settings.
    char runtime[] = "/tmp/kestrix-ui-runtime-XXXXXX";
    const bool own_runtime = ::mkdtemp(runtime) != nullptr;
    if (own_runtime) {
        if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR"))
            qputenv("XDG_RUNTIME_DIR", runtime);
        qputenv("XDG_CONFIG_HOME", runtime);
    }
    qInstallMessageHandler(quieter_messages);
    testing::InitGoogleTest(&argc, argv);
    testing::AddGlobalTestEnvironment(new Application_environment);
    const int result = RUN_ALL_TESTS();
    if (own_runtime) {
        std::error_code ignored;
        std::filesystem::remove_all(runtime, ignored);
    }
    return result;
}
