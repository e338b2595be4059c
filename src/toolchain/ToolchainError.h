// The failure that ends a tool-chain command: its text is what the window's central error
// handler shows (a tools folder that cannot be entered, a malformed count in the output).
#pragma once

#include <QString>

#include <stdexcept>

namespace velmora::toolchain
{

class ToolchainError : public std::runtime_error
{
public:
    explicit ToolchainError(const QString &message) : std::runtime_error(message.toStdString()) {}

    QString message() const { return QString::fromStdString(what()); }
};

} // namespace velmora::toolchain
