#pragma once

namespace vexora {

// Which slice of the loaded history a page shows. The page index may point past the loaded
// pages (the list can shrink on a reload); it is clamped here, not forgotten.
struct UGCHistoryPage {
    int pageCount = 1;  // loaded pages, at least one
    int shownPage = 0;
    int first = 0;      // index of the first visible entry
    int count = 0;      // visible entries

    static UGCHistoryPage of(int loadedCount, int pageIndex, int pageSize);
    bool isFirst() const { return shownPage == 0; }
    bool isLast() const { return shownPage == pageCount - 1; }
};

}  // namespace vexora
