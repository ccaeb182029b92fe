#include "toolkit/text/place_text.h"

#include <vector>

namespace {
// Steps kept at each end; the ones between become one "..." step (ASCII: the
// place goes into Shift-JIS messages and UTF-8 ones alike).
constexpr std::size_t kept_steps = 3;
} // namespace

std::string shortened_place(std::string_view place)
{
    std::vector<std::size_t> dots;
    for (std::size_t at = place.find('.'); at != std::string_view::npos; at = place.find('.', at + 1))
        dots.push_back(at);
    // Steps are one more than dots; shortening pays only beyond one step left out.
    if (dots.size() + 1 <= 2 * kept_steps + 1)
        return std::string(place);
    std::string text(place.substr(0, dots[kept_steps - 1] + 1));
    text += "...";
    text += place.substr(dots[dots.size() - kept_steps]);
    return text;
}
