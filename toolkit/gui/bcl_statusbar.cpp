#include "toolkit/gui/bcl_statusbar.h"

#include <QApplication>
#include <QLabel>
#include <QMainWindow>
#include <QProgressBar>
#include <QPainter>
#include <QStatusBar>
#include <QStyle>
#include <QStyleOptionButton>
#include <QStyleOptionProgressBar>
#include <QTimer>

#include <algorithm>

#include "toolkit/gui/bcl_sdi.h"
#include "toolkit/gui/detail/access.h"
#include "toolkit/gui/detail/pump.h"
#include "toolkit/gui/detail/status_note.h"
#include "toolkit/gui/placement.h"

namespace {

// How long a field's note stays in the status bar.
constexpr int note_ms = 10000;

// What the stop button says, and its key.
const QString stop_text = QStringLiteral("中止");
const QString stop_description = QStringLiteral("中止 (Esc)");
const QString stopped_note = QStringLiteral("中止しました。");

// A progress bar that is drawn only while an operation runs, with the button that
// stops it at its right end; when none runs, its place shows a field's note, if
// there is one. It is never hidden (nor is anything else in the status bar, as
// QStatusBar's own messages would), and the button is drawn rather than a widget of
// its own: showing a widget lays out the whole window at once, which would resize
// and redraw the views in the middle of the operation, while the document is
// half-way. A click on the button reaches no handler of this bar: the pump's input
// filter reads the button's place from the stop_button property (see pump.h).
class Operation_bar : public QProgressBar {
public:
    explicit Operation_bar(QWidget* parent) : QProgressBar(parent)
    {
        set_running(false);
        note_timer_.setSingleShot(true);
        QObject::connect(&note_timer_, &QTimer::timeout, this, [this] { set_note(QString()); });
    }
    void set_running(bool running)
    {
        if (running == running_)
            return;
        running_ = running;
        // Read by the window tests, which see only Qt's widgets.
        setProperty("running", running);
        setToolTip(running ? stop_description : QString());
        setAccessibleName(running ? stop_description : QString());
        place_stop_button();
        update();
    }
    // Shows `note` for note_ms while no operation runs; an empty note clears it.
    void set_note(const QString& note)
    {
        note_ = note;
        setProperty("note", note);
        setAccessibleDescription(note);
        if (note.isEmpty())
            note_timer_.stop();
        else
            note_timer_.start(note_ms);
        update();
    }

protected:
    void resizeEvent(QResizeEvent* event) override
    {
        QProgressBar::resizeEvent(event);
        place_stop_button();
    }
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        if (running_) {
            const Bcl_rect place = button_place();
            QStyleOptionProgressBar bar;
            initStyleOption(&bar);
            constexpr int gap = 4;
            bar.rect = QRect(0, 0, std::max(place.x - gap, 0), height());
            style()->drawControl(QStyle::CE_ProgressBar, &bar, &painter, this);
            QStyleOptionButton button;
            button.initFrom(this);
            button.rect = QRect(place.x, place.y, place.width, place.height);
            button.text = stop_text;
            style()->drawControl(QStyle::CE_PushButton, &button, &painter, this);
        } else if (!note_.isEmpty()) {
            painter.setPen(palette().color(QPalette::WindowText));
            painter.drawText(rect(), Qt::AlignLeft | Qt::AlignVCenter,
                             fontMetrics().elidedText(note_, Qt::ElideRight, width()));
        }
    }

private:
    [[nodiscard]] Bcl_rect button_place() const
    {
        return stop_button_place(width(), height(), fontMetrics().horizontalAdvance(stop_text));
    }
    void place_stop_button()
    {
        const Bcl_rect place = button_place();
        setProperty("stop_button", running_ ? QVariant(QRect(place.x, place.y, place.width, place.height)) : QVariant());
    }

    bool running_ = true;
    QString note_;
    QTimer note_timer_;
};

// The status text takes the first quarter of the bar; the progress bar fills the rest.
class Status_bar : public QStatusBar {
public:
    explicit Status_bar(QWidget* parent) : QStatusBar(parent), text(new QLabel(this)), progress(new Operation_bar(this))
    {
        setSizeGripEnabled(false);
        text->setObjectName(QStringLiteral("status_text"));
        progress->setObjectName(control_name(100));
        progress->setRange(0, 100);
        progress->setValue(0);
        progress->setTextVisible(false);
        progress->setMaximumHeight(text->sizeHint().height());
        addWidget(text);
        addWidget(progress, 1);
    }

    QLabel* text;
    Operation_bar* progress;

protected:
    void resizeEvent(QResizeEvent* event) override
    {
        text->setFixedWidth(width() / 4);
        QStatusBar::resizeEvent(event);
    }
};

Status_bar* bar_of(const Bcl_wnd& wnd) { return dynamic_cast<Status_bar*>(Bcl_widget_access::widget(wnd)); }

} // namespace

Bcl_statusbar::~Bcl_statusbar()
{
    if (&reporter() == this)
        set_reporter(nullptr);
    if (wait_cursor_)
        QApplication::restoreOverrideCursor();
}

void Bcl_statusbar::create(Bcl_sdi& owner)
{
    auto* window = static_cast<QMainWindow*>(Bcl_widget_access::widget(owner));
    auto* bar = new Status_bar(window);
    bar->setObjectName(control_name(3001));
    window->setStatusBar(bar);
    Bcl_widget_access::set_widget(*this, bar);
    set_reporter(this);
}

void Bcl_statusbar::set_text(const Bcl_str& text)
{
    Status_bar* bar = bar_of(*this);
    if (!bar)
        return;
    // A field's note makes room for the operation that now runs.
    if (!text.empty())
        bar->progress->set_note(QString());
    bar->text->setText(QString::fromStdString(text.empty() ? resting_text_ : text.to_utf8()));
    // A status text means a long operation is running: the wait cursor shows it.
    if (!text.empty() && !wait_cursor_)
        QApplication::setOverrideCursor(Qt::WaitCursor);
    else if (text.empty() && wait_cursor_)
        QApplication::restoreOverrideCursor();
    wait_cursor_ = !text.empty();
    text_shown_ = !text.empty();
    show_progress();
    if (!text.empty())
        repaint();
}

void Bcl_statusbar::set_resting_text(const std::string& text)
{
    resting_text_ = text;
    Status_bar* bar = bar_of(*this);
    if (bar && !text_shown_)
        bar->text->setText(QString::fromStdString(text));
}

void Bcl_statusbar::show_progress()
{
    Status_bar* bar = bar_of(*this);
    if (!bar)
        return;
    // A range of 0 to 0 is Qt's busy bar: for a status text without a total.
    bar->progress->setMaximum(text_shown_ && !armed() ? 0 : 100);
    bar->progress->set_running(armed() || text_shown_);
}

void Bcl_statusbar::repaint()
{
    last_redraw_ = std::chrono::steady_clock::now();
    pump::repaint_now();
}

void Bcl_statusbar::set_progress(int percent)
{
    if (Status_bar* bar = bar_of(*this))
        bar->progress->setValue(percent);
}

void Bcl_statusbar::on_begin(std::uint64_t)
{
    set_progress(0);
    show_progress();
    repaint();
}

void Bcl_statusbar::on_percent(int percent)
{
    set_progress(percent);
    repaint();
}

void Bcl_statusbar::on_end()
{
    set_progress(0);
    show_progress();
}

void Bcl_statusbar::on_stopped()
{
    if (Status_bar* bar = bar_of(*this))
        bar->progress->set_note(stopped_note);
}

void Bcl_statusbar::on_tick()
{
    if (std::chrono::steady_clock::now() - last_redraw_ >= redraw_interval)
        repaint();
}

void show_status_note(QWidget& from, const std::string& note)
{
    QMainWindow* main = nullptr;
    for (QWidget* w = &from; w && !main; w = w->parentWidget())
        main = qobject_cast<QMainWindow*>(w);
    auto* bar = main ? dynamic_cast<Status_bar*>(main->findChild<QStatusBar*>(QString(), Qt::FindDirectChildrenOnly))
                     : nullptr;
    if (bar)
        bar->progress->set_note(QString::fromStdString(note));
}
