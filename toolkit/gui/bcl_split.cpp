#include "toolkit/gui/bcl_split.h"

#include <QMouseEvent>
#include <QPointer>

#include <functional>

#include "toolkit/gui/detail/access.h"
#include "toolkit/gui/split_bar.h"

namespace {

// The bar between the panes: the sizing cursor over it, and dragging it moves it.
class Bar_handle : public QWidget {
public:
    Bar_handle(bool vertical, QWidget* parent, std::function<void(int)> dragged)
        : QWidget(parent), vertical_(vertical), dragged_(std::move(dragged))
    {
        setCursor(vertical ? Qt::SizeVerCursor : Qt::SizeHorCursor);
    }

protected:
    void mousePressEvent(QMouseEvent* event) override { dragging_ = event->button() == Qt::LeftButton; }
    void mouseReleaseEvent(QMouseEvent*) override { dragging_ = false; }
    void mouseMoveEvent(QMouseEvent* event) override
    {
        if (!dragging_)
            return;
        // Where the bar's near edge goes, in the splitter's coordinates, keeping the
        // point grabbed under the mouse.
        const QPoint at = mapToParent(event->position().toPoint());
        dragged_((vertical_ ? at.y() : at.x()) - Split_bar::thickness / 2);
    }

private:
    bool vertical_;
    bool dragging_ = false;
    std::function<void(int)> dragged_;
};

// Lays the two panes out around the bar.
class Split_widget : public QWidget {
public:
    Split_widget(bool vertical, QWidget* parent)
        : QWidget(parent), vertical_(vertical), handle_(new Bar_handle(vertical, this, [this](int position) {
              bar_.drag_to(position);
              lay_out();
          }))
    {
    }

    void set_panes(QWidget* first, QWidget* second, int position)
    {
        first_ = first;
        second_ = second;
        first->setParent(this);
        second->setParent(this);
        first->show();
        second->show();
        bar_.set_position(position);
        lay_out();
    }

    Split_bar bar_;

protected:
    void resizeEvent(QResizeEvent*) override { lay_out(); }

private:
    void lay_out()
    {
        const int extent = vertical_ ? height() : width();
        bar_.set_extent(extent);
        const int bar = bar_.shown();
        const int rest = std::max(0, extent - bar - Split_bar::thickness);
        if (vertical_)
            handle_->setGeometry(0, bar, width(), Split_bar::thickness);
        else
            handle_->setGeometry(bar, 0, Split_bar::thickness, height());
        if (!first_ || !second_)
            return;
        if (vertical_) {
            first_->setGeometry(0, 0, width(), bar);
            second_->setGeometry(0, bar + Split_bar::thickness, width(), rest);
        } else {
            first_->setGeometry(0, 0, bar, height());
            second_->setGeometry(bar + Split_bar::thickness, 0, rest, height());
        }
    }

    bool vertical_;
    Bar_handle* handle_;
    QPointer<QWidget> first_;
    QPointer<QWidget> second_;
};

Split_widget* split_of(const Bcl_wnd& wnd) { return dynamic_cast<Split_widget*>(Bcl_widget_access::widget(wnd)); }

} // namespace

void Bcl_split::create(Bcl_wnd& parent, int id)
{
    auto* split = new Split_widget(vertical_, Bcl_widget_access::widget(parent));
    split->setObjectName(control_name(id));
    Bcl_widget_access::set_widget(*this, split);
}

void Bcl_split::set_panes(Bcl_wnd& first, Bcl_wnd& second, int position)
{
    split_of(*this)->set_panes(Bcl_widget_access::widget(first), Bcl_widget_access::widget(second), position);
}

int Bcl_split::position() const { return split_of(*this)->bar_.position(); }

int Bcl_split::shown_position() const { return split_of(*this)->bar_.shown(); }
