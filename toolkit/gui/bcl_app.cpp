#include "toolkit/gui/bcl_app.h"

#include <unistd.h>

#include <QApplication>
#include <QFont>
#include <QIcon>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include <cstdlib>

#include "res/resources.h"
#include "toolkit/gui/bcl_htmlhelp.h"

namespace {

// Qt's texts that Debian's qtbase_ja does not hold: the file dialog's type column.
class Missing_toolkit_texts : public QTranslator {
public:
    bool isEmpty() const override { return false; }

    QString translate(const char* context, const char* source, const char*, int) const override
    {
        if (qstrcmp(context, "QAbstractFileIconProvider") != 0)
            return {};
        if (qstrcmp(source, "Folder") == 0 || qstrcmp(source, "File Folder") == 0)
            return QStringLiteral("フォルダ");
        if (qstrcmp(source, "Drive") == 0)
            return QStringLiteral("ドライブ");
        return {};
    }
};

} // namespace

struct Bcl_app::Impl {
    std::unique_ptr<QApplication> application;
    QTranslator toolkit_texts;
    Missing_toolkit_texts missing_texts;
    bool translated = false;
};

Bcl_app::Bcl_app(int& argc, char** argv) : impl_(std::make_unique<Impl>())
{
    impl_->application = std::make_unique<QApplication>(argc, argv);
    for (int i = 1; i < argc; ++i)
        arguments_.emplace_back(argv[i]);
    QApplication::setApplicationName(QStringLiteral("kestrix"));
    QApplication::setDesktopFileName(QStringLiteral("kestrix"));
    // The main window ends the program when it is destroyed, not when the last window
    // closes (the help window may outlive a dialog).
    QApplication::setQuitOnLastWindowClosed(false);
    load_program_resources();
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/images/icon.png")));

    // Qt's own buttons, dialogs, dates and numbers in Japanese (the translations are
    // Debian's qt6-translations-l10n).
    QLocale::setDefault(QLocale(QLocale::Japanese, QLocale::Japan));
    impl_->translated = impl_->toolkit_texts.load(QStringLiteral("qtbase_ja"),
                                                  QLibraryInfo::path(QLibraryInfo::TranslationsPath));
    if (impl_->translated)
        QApplication::installTranslator(&impl_->toolkit_texts);
    QApplication::installTranslator(&impl_->missing_texts);

    // A Japanese font for every control (Debian fonts-ipafont-gothic), 9 points as the
    // dialogs are laid out for.
    QFont font(QStringLiteral("IPAGothic"));
    font.setPointSize(9);
    QApplication::setFont(font);
}

Bcl_app::~Bcl_app()
{
    help_viewer().close_all();
    QApplication::removeTranslator(&impl_->missing_texts);
    QApplication::removeTranslator(&impl_->toolkit_texts);
}

bool Bcl_app::translated() const { return impl_->translated; }

std::string Bcl_app::program_folder()
{
    std::string path(4096, '\0');
    const ssize_t length = ::readlink("/proc/self/exe", path.data(), path.size());
    if (length <= 0)
        return ".";
    path.resize(static_cast<std::size_t>(length));
    return path.substr(0, path.rfind('/'));
}

bool bcl_display_available()
{
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) {
        const char* value = std::getenv(name);
        if (value && *value)
            return true;
    }
    return false;
}
