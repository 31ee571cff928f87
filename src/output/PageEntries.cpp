#include "output/PageEntries.h"

#include <algorithm>

namespace dg {

void PageEntries::checkAll() {
    for (PageEntry* e : {&stencil, &result, &colorMatching})
        if (e->shown) e->ticked = true;
    for (PageEntry& e : channels)
        if (e.shown) e.ticked = true;
}

void PageEntries::uncheckAll() {
    for (PageEntry* e : {&stencil, &result, &colorMatching}) e->ticked = false;
    for (PageEntry& e : channels) e.ticked = false;
}

bool PageEntries::anyTicked() const {
    return stencil.ticked || result.ticked || colorMatching.ticked ||
           std::any_of(channels.begin(), channels.end(), [](const PageEntry& e) { return e.ticked; });
}

}  // namespace dg
