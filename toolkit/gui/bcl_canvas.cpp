#include "toolkit/gui/bcl_canvas.h"

#include <QAbstractScrollArea>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QImage>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QScreen>
#include <QScrollBar>

#include "toolkit/gui/bcl_msgbox.h"
#include "toolkit/gui/detail/access.h"
#include "toolkit/gui/detail/pump.h"

namespace {

// The view's window: paints the attached canvas's image, reports sizes, scroll bar
// actions and clicks to the program.
class View_widget : public QAbstractScrollArea {
public:
    explicit View_widget(QWidget* parent) : QAbstractScrollArea(parent)
    {
        setFocusPolicy(Qt::StrongFocus);
        setFrameShape(QFrame::StyledPanel);
        setFrameShadow(QFrame::Sunken);
        viewport()->setAutoFillBackground(false);
        connect_bar(Bcl_view::Axis::horizontal, horizontalScrollBar());
        connect_bar(Bcl_view::Axis::vertical, verticalScrollBar());
    }

    Bcl_view::Handlers handlers;
    const QImage* image = nullptr;

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(viewport());
        if (image)
            painter.drawImage(0, 0, *image);
        else
            painter.fillRect(viewport()->rect(), Qt::white);
    }

    void resizeEvent(QResizeEvent*) override
    {
        if (handlers.size)
            pump::deliver([size = handlers.size, w = viewport()->width(), h = viewport()->height()] { size(w, h); });
    }

    void mousePressEvent(QMouseEvent* event) override { click(handlers.left_down, event); }
    void mouseReleaseEvent(QMouseEvent* event) override { click(handlers.left_up, event); }

    // Scrolling is the program's: the content is not moved by the scroll area.
    void scrollContentsBy(int, int) override {}

private:
    static void click(const std::function<void(const Bcl_click&)>& handler, QMouseEvent* event)
    {
        if (!handler || event->button() != Qt::LeftButton)
            return;
        const QPoint at = event->position().toPoint();
        const Bcl_click click{{at.x(), at.y()},
                              (event->modifiers() & Qt::ControlModifier) != 0,
                              (event->modifiers() & Qt::ShiftModifier) != 0};
        pump::input([handler, click] { handler(click); });
    }

    void connect_bar(Bcl_view::Axis axis, QScrollBar* bar)
    {
        QObject::connect(bar, &QScrollBar::actionTriggered, this, [this, axis, bar](int action) {
            if (!handlers.scroll)
                return;
            Bcl_view::Scroll scroll;
            switch (action) {
            case QAbstractSlider::SliderSingleStepSub:
                scroll = Bcl_view::Scroll::line_up;
                break;
            case QAbstractSlider::SliderSingleStepAdd:
                scroll = Bcl_view::Scroll::line_down;
                break;
            case QAbstractSlider::SliderPageStepSub:
                scroll = Bcl_view::Scroll::page_up;
                break;
            case QAbstractSlider::SliderPageStepAdd:
                scroll = Bcl_view::Scroll::page_down;
                break;
            case QAbstractSlider::SliderMove:
                scroll = Bcl_view::Scroll::thumb;
                break;
            default:
                return;
            }
            // The program sets the position itself: keep the bar where it was until then.
            const int thumb = bar->sliderPosition();
            bar->setSliderPosition(bar->value());
            pump::scroll([scroll_handler = handlers.scroll, axis, scroll, thumb] { scroll_handler(axis, scroll, thumb); });
        });
    }
};

View_widget* view_of(const Bcl_wnd& wnd) { return dynamic_cast<View_widget*>(Bcl_widget_access::widget(wnd)); }

QScrollBar* bar_of(const Bcl_wnd& wnd, Bcl_view::Axis axis)
{
    View_widget* view = view_of(wnd);
    if (!view)
        return nullptr;
    return axis == Bcl_view::Axis::horizontal ? view->horizontalScrollBar() : view->verticalScrollBar();
}

QColor colour_of(std::uint32_t rgb) { return QColor::fromRgb(static_cast<QRgb>(rgb)); }

} // namespace

// The window belongs to its parent and may outlive us (a parent tearing down resizes
// its children): none of our handlers may be called after we are gone.
Bcl_view::~Bcl_view()
{
    if (View_widget* view = view_of(*this))
        view->handlers = {};
}

void Bcl_view::create(Bcl_wnd& parent, std::string_view class_name)
{
    auto* view = new View_widget(Bcl_widget_access::widget(parent));
    view->setObjectName(qstr(class_name));
    Bcl_widget_access::set_widget(*this, view);
}

void Bcl_view::set_handlers(Handlers handlers) { view_of(*this)->handlers = std::move(handlers); }

void Bcl_view::set_scroll(Axis axis, int maximum, int page, int position, int line_step)
{
    QScrollBar* bar = bar_of(*this, axis);
    if (!bar)
        return;
    bar->setSingleStep(line_step);
    // The bar's range excludes the last page, the program's includes it.
    bar->setRange(0, std::max(0, maximum - page + 1));
    bar->setPageStep(page);
    bar->setValue(position);
    bar->setSliderPosition(position);
}

int Bcl_view::scroll_position(Axis axis) const
{
    const QScrollBar* bar = bar_of(*this, axis);
    return bar ? bar->value() : 0;
}

int Bcl_view::client_width() const { return view_of(*this) ? view_of(*this)->viewport()->width() : 0; }
int Bcl_view::client_height() const { return view_of(*this) ? view_of(*this)->viewport()->height() : 0; }

void Bcl_view::invalidate()
{
    if (View_widget* view = view_of(*this))
        view->viewport()->update();
}

struct Bcl_canvas::Impl {
    QPointer<QWidget> view;
    QImage image;
    QColor background = Qt::white;
    QColor text = Qt::black;
    QFont font;
    int ascent = 0;
    // Open from the first drawing after a paint until the next paint: one painter
    // for a whole redraw rather than one per text.
    std::unique_ptr<QPainter> painter;

    QPainter* begin()
    {
        if (image.isNull())
            return nullptr;
        if (!painter) {
            painter = std::make_unique<QPainter>(&image);
            painter->setFont(font);
        }
        return painter.get();
    }
    void end() { painter.reset(); }
};

Bcl_size bcl_screen_size()
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen)
        return {};
    const QSize size = screen->size();
    return {size.width(), size.height()};
}

Bcl_canvas::Bcl_canvas() : impl_(std::make_unique<Impl>())
{
    // Single-byte characters 8 pixels wide, rows 16 high; without IPAGothic the
    // font matching takes a monospace font.
    impl_->font = QFont(QStringLiteral("IPAGothic"));
    impl_->font.setStyleHint(QFont::TypeWriter);
    impl_->font.setPixelSize(16);
    impl_->ascent = QFontMetrics(impl_->font).ascent();
}

Bcl_canvas::~Bcl_canvas()
{
    impl_->end();
    if (auto* view = dynamic_cast<View_widget*>(impl_->view.data()); view && view->image == &impl_->image)
        view->image = nullptr;
}

bool Bcl_canvas::attach(Bcl_view* view, int width, int height)
{
    View_widget* widget = view ? view_of(*view) : nullptr;
    if (!widget) {
        bcl_message_box(nullptr, "ウィンドウハンドルが指定されていません", "エラー");
        return false;
    }
    impl_->end();
    impl_->view = widget;
    impl_->image = QImage(width, height, QImage::Format_RGB32);
    impl_->image.fill(impl_->background);
    widget->image = &impl_->image;
    return true;
}

void Bcl_canvas::set_background(std::uint32_t rgb) { impl_->background = colour_of(rgb); }

void Bcl_canvas::clear()
{
    if (QPainter* painter = impl_->begin())
        painter->fillRect(impl_->image.rect(), impl_->background);
}

void Bcl_canvas::set_text_colour(std::uint32_t rgb) { impl_->text = colour_of(rgb); }

void Bcl_canvas::draw_text(int x, int y, std::string_view text)
{
    if (QPainter* painter = impl_->begin()) {
        painter->setPen(impl_->text);
        painter->drawText(x, y + impl_->ascent, qstr(text));
    }
}

void Bcl_canvas::fill_rect(int x, int y, int width, int height, std::uint32_t rgb)
{
    if (QPainter* painter = impl_->begin())
        painter->fillRect(x, y, width, height, colour_of(rgb));
}

void Bcl_canvas::paint()
{
    impl_->end();
    if (auto* view = dynamic_cast<View_widget*>(impl_->view.data()))
        view->viewport()->update();
}

std::uint32_t Bcl_canvas::pixel(int x, int y) const
{
    impl_->end();
    return impl_->image.valid(x, y) ? impl_->image.pixel(x, y) & 0xFFFFFFu : 0;
}

int Bcl_canvas::cell_width() const { return QFontMetrics(impl_->font).horizontalAdvance(QLatin1Char('0')); }

int Bcl_canvas::cell_height() const { return impl_->font.pixelSize(); }

bool Bcl_canvas::fit_cells(int width, int height)
{
    impl_->end();
    constexpr int smallest = 6;
    impl_->font.setPixelSize(height);
    while (impl_->font.pixelSize() > smallest && cell_width() > width)
        impl_->font.setPixelSize(impl_->font.pixelSize() - 1);
    impl_->ascent = QFontMetrics(impl_->font).ascent();
    return cell_width() == width && cell_height() == height;
}
