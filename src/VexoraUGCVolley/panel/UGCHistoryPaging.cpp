#include "panel/UGCHistoryPaging.h"

#include <algorithm>

namespace vexora {

UGCHistoryPage UGCHistoryPage::of(int loadedCount, int pageIndex, int pageSize) {
    UGCHistoryPage page;
    pageSize = std::max(pageSize, 1);
    page.pageCount = std::max((loadedCount + pageSize - 1) / pageSize, 1);
    page.shownPage = std::clamp(pageIndex, 0, page.pageCount - 1);
    page.first = page.shownPage * pageSize;
    page.count = page.first < loadedCount ? std::min(pageSize, loadedCount - page.first) : 0;
    return page;
}

}  // namespace vexora
