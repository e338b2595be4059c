// Small DOS .com programs the tests build with nasm and run in DOSBox.
#pragma once

#include <QByteArray>
#include <QStandardPaths>

namespace velmora::testing
{

inline bool dosToolsInstalled()
{
    return !QStandardPaths::findExecutable(QStringLiteral("nasm")).isEmpty() &&
           !QStandardPaths::findExecutable(QStringLiteral("dosbox")).isEmpty();
}

// Prints the greeting and a line break through DOS function 9, then ends with function 4Ch.
inline QByteArray helloComSource(const QByteArray &greeting)
{
    return "org 100h\n"
           "    mov dx, msg\n"
           "    mov ah, 9\n"
           "    int 21h\n"
           "    mov ax, 4C00h\n"
           "    int 21h\n"
           "msg db '" +
           greeting + "', 13, 10, '$'\n";
}

} // namespace velmora::testing
