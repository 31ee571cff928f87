#include "output/PageEntries.h"

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

}  // namespace dg
