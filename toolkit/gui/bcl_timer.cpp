#include "toolkit/gui/bcl_timer.h"

#include <QTimer>

#include "toolkit/gui/detail/pump.h"

struct Bcl_timer::Impl {
    QTimer timer;
};

Bcl_timer::Bcl_timer() : impl_(std::make_unique<Impl>()) {}

Bcl_timer::~Bcl_timer() = default;

void Bcl_timer::start(int period_ms, std::function<void()> tick)
{
    impl_->timer.disconnect();
    QObject::connect(&impl_->timer, &QTimer::timeout, [tick = std::move(tick)] { pump::input(tick); });
    impl_->timer.start(period_ms);
}

void Bcl_timer::stop() { impl_->timer.stop(); }

bool Bcl_timer::active() const { return impl_->timer.isActive(); }
