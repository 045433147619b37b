#pragma once

#include <QByteArray>
#include <optional>
#include <qglobal.h>

namespace vexora::test {

// Sets (or removes) one environment variable for the scope, then puts the old value back.
class ScopedEnvironment {
public:
    ScopedEnvironment(const char* name, std::optional<QByteArray> value) : name_(name) {
        if (qEnvironmentVariableIsSet(name)) previous_ = qgetenv(name);
        if (value) qputenv(name, *value);
        else qunsetenv(name);
    }
    ~ScopedEnvironment() {
        if (previous_) qputenv(name_, *previous_);
        else qunsetenv(name_);
    }
    ScopedEnvironment(const ScopedEnvironment&) = delete;
    ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;

private:
    const char* name_;
    std::optional<QByteArray> previous_;
};

}  // namespace vexora::test
