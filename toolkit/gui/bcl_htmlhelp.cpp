#include "toolkit/gui/bcl_htmlhelp.h"

#include <QDialog>
#include <QDir>
#include <QFileInfo>
#include <QPointer>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

#include "toolkit/gui/bcl_app.h"
#include "toolkit/gui/bcl_msgbox.h"
#include "toolkit/gui/detail/access.h"
#include "toolkit/gui/detail/help.h"

namespace {

QPointer<QWidget> help_window;
QTextBrowser* browser = nullptr;

// The help window belongs to a modal dialog that asks for help, else to nobody.
QWidget* help_parent_for(QWidget* owner)
{
    QWidget* window = owner ? owner->window() : nullptr;
    const auto* dialog = qobject_cast<QDialog*>(window);
    return dialog && dialog->isModal() ? window : nullptr;
}

void make_help_window(QWidget* parent)
{
    help_window = new QWidget(parent, Qt::Window);
    help_window->setObjectName(QStringLiteral("help_window"));
    help_window->setAttribute(Qt::WA_DeleteOnClose);
    help_window->setWindowTitle(QStringLiteral("ケストリクス ヘルプ"));
    auto* layout = new QVBoxLayout(help_window);
    layout->setContentsMargins(0, 0, 0, 0);
    browser = new QTextBrowser(help_window);
    layout->addWidget(browser);
    help_window->resize(720, 540);
}

} // namespace

void help_leave_window(QWidget* closing)
{
    if (help_window && help_window->parentWidget() == closing) {
        help_window->setParent(nullptr, Qt::Window);
        help_window->show();
    }
}

void Bcl_htmlhelp::set_file(const std::string& name)
{
    const std::string folder = Bcl_app::program_folder();
    for (const std::string& candidate : {folder + "/" + name, folder + "/../share/kestrix/" + name}) {
        if (QFileInfo(QString::fromLocal8Bit(candidate)).isFile()) {
            set_path(candidate);
            return;
        }
    }
    contents_.clear();
}

void Bcl_htmlhelp::set_path(const std::string& path)
{
    contents_ = QFileInfo(QString::fromLocal8Bit(path)).isFile() ? path : std::string();
}

void Bcl_htmlhelp::show_contents(Bcl_wnd* owner) { show_page(owner, contents_); }

void Bcl_htmlhelp::show_topic(Bcl_wnd* owner, int context_id)
{
    if (contents_.empty()) {
        show_page(owner, contents_);
        return;
    }
    const QFileInfo contents(QString::fromLocal8Bit(contents_));
    const QString topic = contents.dir().filePath(QStringLiteral("topic_%1.html").arg(context_id));
    show_page(owner, QFileInfo(topic).isFile() ? topic.toLocal8Bit().toStdString() : contents_);
}

void Bcl_htmlhelp::show_page(Bcl_wnd* owner, const std::string& path)
{
    QWidget* owner_widget = owner ? Bcl_widget_access::widget(*owner) : nullptr;
    if (path.empty()) {
        bcl_message_box(owner, "HtmlHelpを開けません。", "エラー");
        return;
    }
    QWidget* parent = help_parent_for(owner_widget);
    if (!help_window)
        make_help_window(parent);
    else if (help_window->parentWidget() != parent)
        help_window->setParent(parent, Qt::Window);
    browser->setSource(QUrl::fromLocalFile(QString::fromLocal8Bit(path)));
    help_window->show();
    help_window->raise();
    help_window->activateWindow();
}

void Bcl_htmlhelp::close_all()
{
    delete help_window.data();
}

std::string Bcl_htmlhelp::shown_page() const
{
    if (!help_window || !help_window->isVisible())
        return {};
    return QFileInfo(browser->source().toLocalFile()).fileName().toStdString();
}

Bcl_htmlhelp& help_viewer()
{
    static Bcl_htmlhelp viewer;
    return viewer;
}
