#include "toolkit/gui/bcl_sdi.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QMainWindow>
#include <QMenuBar>
#include <QMimeData>
#include <QScreen>
#include <QUrl>

#include "toolkit/gui/bcl_msgbox.h"
#include "toolkit/gui/detail/access.h"
#include "toolkit/gui/detail/menus.h"
#include "toolkit/gui/detail/pump.h"

struct Bcl_sdi_access {
    static void close(Bcl_sdi& sdi) { sdi.on_close(); }
    static void help(Bcl_sdi& sdi) { sdi.on_help(); }
    static void dropped(Bcl_sdi& sdi, const std::vector<File_path>& files) { sdi.on_files_dropped(files); }
    static void size(Bcl_sdi& sdi, int width, int height) { sdi.on_size(width, height); }
};

namespace {

std::vector<File_path> local_files(const QMimeData* data)
{
    std::vector<File_path> files;
    if (data && data->hasUrls())
        for (const QUrl& url : data->urls())
            if (url.isLocalFile())
                files.emplace_back(QFile::encodeName(url.toLocalFile()).toStdString());
    return files;
}

// The Qt window behind Bcl_sdi: its close box, drops and size changes reach the
// program.
class Main_window : public QMainWindow {
public:
    explicit Main_window(Bcl_sdi& owner) : owner_(&owner) {}
    // The wrapper is going: nothing reaches it any more.
    void forget_owner() { owner_ = nullptr; }

protected:
    void closeEvent(QCloseEvent* event) override
    {
        event->ignore();
        if (owner_ && !owner_->destroyed())
            pump::input([owner = owner_] { Bcl_sdi_access::close(*owner); });
    }

    void dragEnterEvent(QDragEnterEvent* event) override
    {
        if (!local_files(event->mimeData()).empty())
            event->acceptProposedAction();
    }

    void dropEvent(QDropEvent* event) override
    {
        const std::vector<File_path> files = local_files(event->mimeData());
        event->acceptProposedAction();
        // Opened once the drop has returned: its prompts and loading must not run
        // inside the window system's drag and drop.
        if (owner_)
            pump::post([owner = owner_, files] {
                if (!owner->destroyed())
                    Bcl_sdi_access::dropped(*owner, files);
            });
    }

    void resizeEvent(QResizeEvent* event) override
    {
        QMainWindow::resizeEvent(event);
        if (owner_)
            pump::deliver([owner = owner_, w = width(), h = height()] { Bcl_sdi_access::size(*owner, w, h); });
    }

private:
    Bcl_sdi* owner_;
};

QMainWindow* main_window(const Bcl_sdi& sdi) { return static_cast<QMainWindow*>(Bcl_widget_access::widget(sdi)); }

} // namespace

Bcl_sdi::Bcl_sdi()
{
    auto* window = new Main_window(*this);
    Bcl_widget_access::set_widget(*this, window);
    // F1 asks for context help wherever the focus is in the window.
    auto* help = new QAction(window);
    help->setShortcut(QKeySequence(Qt::Key_F1));
    help->setShortcutContext(Qt::WindowShortcut);
    window->addAction(help);
    QObject::connect(help, &QAction::triggered, window, [this] { pump::input([this] { Bcl_sdi_access::help(*this); }); });
}

Bcl_sdi::~Bcl_sdi()
{
    static_cast<Main_window*>(main_window(*this))->forget_owner();
    pump::discard_deferred();
}

void Bcl_sdi::set_title(std::string_view text) { main_window(*this)->setWindowTitle(qstr(text)); }

std::string Bcl_sdi::title() const { return utf8(main_window(*this)->windowTitle()); }

void Bcl_sdi::set_menu(const std::vector<Bcl_menu_item>& bar)
{
    QMainWindow* window = main_window(*this);
    auto* menu_bar = new QMenuBar(window);
    for (const Bcl_menu_item& item : bar) {
        QMenu* menu = menu_bar->addMenu(qstr(item.text));
        menus::fill(*menu, item.children, [this](int id) { command(id); });
    }
    // The old menu bar is destroyed by the window.
    window->setMenuBar(menu_bar);
}

void Bcl_sdi::enable_menu_item(int id, bool enabled)
{
    for (QAction* action : menus::actions_with_id(*main_window(*this)->menuBar(), id))
        action->setEnabled(enabled);
}

void Bcl_sdi::check_menu_item(int id, bool checked)
{
    for (QAction* action : menus::actions_with_id(*main_window(*this)->menuBar(), id)) {
        action->setCheckable(true);
        action->setChecked(checked);
    }
}

std::vector<int> Bcl_sdi::menu_ids() const
{
    std::vector<int> ids;
    for (const QAction* top : main_window(*this)->menuBar()->actions())
        if (const QMenu* menu = top->menu())
            for (const QAction* action : menu->actions())
                ids.push_back(action->isSeparator() ? 0 : menus::id_of(action));
    return ids;
}

bool Bcl_sdi::menu_item_enabled(int id) const
{
    const auto actions = menus::actions_with_id(*main_window(*this)->menuBar(), id);
    return !actions.empty() && actions.front()->isEnabled();
}

bool Bcl_sdi::menu_item_checked(int id) const
{
    const auto actions = menus::actions_with_id(*main_window(*this)->menuBar(), id);
    return !actions.empty() && actions.front()->isChecked();
}

bool Bcl_sdi::create(std::string_view class_name)
{
    QMainWindow* window = main_window(*this);
    window->setObjectName(qstr(class_name));
    // The system's default size: a comfortable part of the screen.
    const QRect area = window->screen()->availableGeometry();
    window->resize(std::min(1000, area.width()), std::min(720, area.height()));
    Bcl_widget_access::created(*this);
    window->show();
    return true;
}

bool Bcl_sdi::load_accelerators(std::span<const Bcl_accelerator> accelerators)
{
    QMainWindow* window = main_window(*this);
    std::vector<std::pair<QKeySequence, int>> keys;
    for (const Bcl_accelerator& accelerator : accelerators) {
        const QKeySequence key = QKeySequence::fromString(qstr(accelerator.key), QKeySequence::PortableText);
        if (key.isEmpty() || key[0].key() == Qt::Key_unknown) {
            bcl_message_box(this, "アクセラレーターの読込に失敗しました", "エラー");
            return false;
        }
        keys.emplace_back(key, accelerator.id);
    }
    for (const auto& [key, id] : keys) {
        auto* action = new QAction(window);
        action->setShortcut(key);
        action->setShortcutContext(Qt::WindowShortcut);
        action->setProperty("bcl_accelerator", id);
        window->addAction(action);
        QObject::connect(action, &QAction::triggered, window, [this, id = id] { command(id); });
    }
    return true;
}

void Bcl_sdi::set_client(Bcl_wnd& client) { main_window(*this)->setCentralWidget(Bcl_widget_access::widget(client)); }

void Bcl_sdi::accept_files(bool accept) { main_window(*this)->setAcceptDrops(accept); }

void Bcl_sdi::bring_to_front()
{
    main_window(*this)->raise();
    main_window(*this)->activateWindow();
}

int Bcl_sdi::client_width() const { return main_window(*this)->width(); }

int Bcl_sdi::client_height() const
{
    const QMainWindow* window = main_window(*this);
    return window->height() - (window->menuWidget() ? window->menuWidget()->sizeHint().height() : 0);
}

void Bcl_sdi::command(int id)
{
    if (!destroyed_)
        pump::input([this, id] { on_command(id); });
}

void Bcl_sdi::close()
{
    if (!destroyed_)
        pump::deliver([this] { on_close(); });
}

void Bcl_sdi::destroy()
{
    if (destroyed_)
        return;
    destroyed_ = true;
    main_window(*this)->hide();
    // Only the message loop ends: asking Qt to quit with no loop running would make
    // every later modal dialog return at once.
    if (running_)
        QApplication::exit(0);
}

int Bcl_sdi::run()
{
    if (destroyed_)
        return 0;
    running_ = true;
    const int code = QApplication::exec();
    running_ = false;
    return code;
}
