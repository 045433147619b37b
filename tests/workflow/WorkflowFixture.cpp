#include "workflow/WorkflowFixture.h"

#include "support/RunSync.h"

namespace vexora::test {

void WorkflowFixture::runSyncVoid(QCoro::Task<void> task) { runSync(std::move(task)); }

}  // namespace vexora::test
