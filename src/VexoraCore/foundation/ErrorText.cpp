#include "foundation/ErrorText.h"

#include "foundation/FoundationErrors.h"

namespace vexora {

QString errorText(const std::exception_ptr& error) {
    try {
        std::rethrow_exception(error);
    } catch (const DescribedError& described) {
        return described.errorDescription();
    } catch (const std::exception& other) {
        return QString::fromLocal8Bit(other.what());
    } catch (...) {
    }
    return QStringLiteral("An unexpected error occurred.");
}

bool isCancellationLike(const std::exception_ptr& error) {
    try {
        std::rethrow_exception(error);
    } catch (const CancellationError&) {
        return true;
    } catch (const NetworkError& network) {
        return network.code() == QNetworkReply::OperationCanceledError;
    } catch (...) {
    }
    return false;
}

}  // namespace vexora
