// An environment variable set for the length of a test; the old value, or its absence,
// comes back at the end.
#pragma once

#include <QByteArray>
#include <QString>
#include <QtGlobal>

namespace velmora::testing
{

class ScopedEnv
{
public:
    ScopedEnv(const char *name, const QString &value)
        : name_(name), hadValue_(qEnvironmentVariableIsSet(name)), old_(qgetenv(name))
    {
        qputenv(name, value.toUtf8());
    }
    ~ScopedEnv()
    {
        if (hadValue_)
            qputenv(name_, old_);
        else
            qunsetenv(name_);
    }
    ScopedEnv(const ScopedEnv &) = delete;
    ScopedEnv &operator=(const ScopedEnv &) = delete;

private:
    const char *name_;
    bool hadValue_;
    QByteArray old_;
};

} // namespace velmora::testing
