#pragma once

#include <QByteArray>
#include <QString>
#include <exception>

namespace vexora {

// Base of every error this system raises: each carries the text a user is shown.
class DescribedError : public std::exception {
public:
    virtual QString errorDescription() const = 0;
    const char* what() const noexcept override;

private:
    mutable QByteArray whatText_;
};

}  // namespace vexora
