#include "toolkit/gui/bcl_dlg.h"

#include <QAbstractButton>
#include <QDialog>
#include <QKeyEvent>
#include <QLayout>
#include <QPainter>
#include <QScreen>

#include "res/resources.h"
#include "toolkit/gui/bcl_htmlhelp.h"
#include "toolkit/gui/detail/access.h"
#include "toolkit/gui/detail/help.h"
#include "toolkit/gui/detail/pump.h"
#include "toolkit/gui/placement.h"

struct Bcl_dialog_access {
    static void command(Bcl_dlg& dialog, int id) { dialog.on_command(id); }
    static void close(Bcl_dlg& dialog) { dialog.on_close(); }
    static void init(Bcl_dlg& dialog) { dialog.on_init_dialog(); }
    static int help_topic(const Bcl_dlg& dialog) { return dialog.help_topic_; }
};

namespace {

// The Qt dialog behind a Bcl_dlg: Escape is Cancel (command 2), the close box is
// on_close, F1 opens the dialog's help topic.
class Dialog_widget : public QDialog {
public:
    Dialog_widget(Bcl_dlg& owner, QWidget* parent) : QDialog(parent), owner_(owner) {}

    void reject() override
    {
        pump::input([owner = &owner_] { Bcl_dialog_access::command(*owner, 2); });
    }

protected:
    void closeEvent(QCloseEvent* event) override
    {
        event->ignore();
        pump::input([owner = &owner_] { Bcl_dialog_access::close(*owner); });
    }

    // Without a window manager's frame (a bare X server) a dialog opened centred over
    // another has no visible edge, and the part of its owner that it covers reads as
    // controls that were never drawn.
    void paintEvent(QPaintEvent* event) override
    {
        QDialog::paintEvent(event);
        QPainter painter(this);
        painter.setPen(palette().color(QPalette::Dark));
        painter.drawRect(rect().adjusted(0, 0, -1, -1));
    }

    void keyPressEvent(QKeyEvent* event) override
    {
        if (event->key() == Qt::Key_F1 && Bcl_dialog_access::help_topic(owner_) != 0) {
            help_viewer().show_topic(&owner_, Bcl_dialog_access::help_topic(owner_));
            return;
        }
        QDialog::keyPressEvent(event);
    }

private:
    Bcl_dlg& owner_;
};

Bcl_rect rect_of(const QRect& r) { return {r.x(), r.y(), r.width(), r.height()}; }

void place(QDialog& dialog, QWidget* owner)
{
    QScreen* screen = owner ? owner->screen() : dialog.screen();
    const Bcl_rect area = rect_of(screen->availableGeometry());
    const Bcl_rect centre_on = owner ? rect_of(owner->window()->frameGeometry()) : area;
    const Bcl_rect placed = dialog_place(centre_on, dialog.width(), dialog.height(), area);
    dialog.move(placed.x, placed.y);
}

// Clicks of the template's buttons (named id_N) reach on_command(N).
void connect_buttons(Bcl_dlg& owner, QDialog& dialog)
{
    for (QAbstractButton* button : dialog.findChildren<QAbstractButton*>()) {
        const QString name = button->objectName();
        bool numbered = false;
        const int id = name.startsWith(QLatin1String("id_")) ? name.mid(3).toInt(&numbered) : 0;
        if (numbered)
            QObject::connect(button, &QAbstractButton::clicked, &dialog,
                             [&owner, id] { pump::input([&owner, id] { Bcl_dialog_access::command(owner, id); }); });
    }
}

} // namespace

Bcl_dlg::Bcl_dlg(std::string template_name, int help_topic)
    : template_name_(std::move(template_name)), help_topic_(help_topic)
{
}

Bcl_dlg::~Bcl_dlg() = default;

int Bcl_dlg::run(Bcl_wnd* owner)
{
    QWidget* owner_widget = owner ? Bcl_widget_access::widget(*owner) : nullptr;
    if (owner_widget)
        owner_widget = owner_widget->window();
    auto dialog = std::make_unique<Dialog_widget>(*this, owner_widget);
    if (!build_dialog_template(template_name_, *dialog))
        return 0;
    Bcl_widget_access::set_widget(*this, dialog.get());
    connect_buttons(*this, *dialog);
    on_init_dialog();
    // Unless the dialog placed the focus itself, it starts on the first control.
    if (!sets_own_focus())
        if (QWidget* focus = dialog->focusWidget())
            focus->clearFocus();
    dialog->adjustSize();
    const bool fixed = dialog->layout() && dialog->layout()->sizeConstraint() == QLayout::SetFixedSize;
    if (!fixed)
        dialog->setMinimumSize(dialog->size());
    place(*dialog, owner_widget);
    const int code = dialog->exec();
    help_leave_window(dialog.get());
    Bcl_widget_access::set_widget(*this, nullptr);
    return code;
}

void Bcl_dlg::end(int code)
{
    if (auto* dialog = qobject_cast<QDialog*>(Bcl_widget_access::widget(*this)))
        dialog->done(code);
}

void Bcl_dlg::on_command(int id)
{
    if (id == 1)
        end(1);
    else if (id == 2)
        end(0);
}

void Bcl_dlg::on_close() { end(0); }
