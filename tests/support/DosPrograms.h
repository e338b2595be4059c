// Small DOS .com programs the tests build with nasm and run in DOSBox.
#pragma once

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

namespace velmora::testing
{

inline bool dosToolsInstalled()
{
    return !QStandardPaths::findExecutable(QStringLiteral("nasm")).isEmpty() &&
           !QStandardPaths::findExecutable(QStringLiteral("dosbox")).isEmpty();
}

// Assembles source with nasm into the flat binary target (folders made as needed); the
// source is left beside it as target + ".asm". False when nasm fails.
inline bool assembleDosProgram(const QByteArray &source, const QString &target)
{
    QDir().mkpath(QFileInfo(target).absolutePath());
    QFile file(target + QStringLiteral(".asm"));
    if (!file.open(QIODevice::WriteOnly) || file.write(source) != source.size())
        return false;
    file.close();
    return QProcess::execute(QStringLiteral("nasm"), {QStringLiteral("-f"), QStringLiteral("bin"), file.fileName(),
                                                      QStringLiteral("-o"), target}) == 0;
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

// A program that talks: prints "Press a key: " through function 9, reads a key with
// function 1 (which echoes it) and prints "You pressed " and the key on a line of its own.
// Then it writes the text of the screen (80 x 25 characters of video memory) to
// SCREEN.TXT, so that a test without a display sees what the window showed. The tests have
// no keyboard: the program first puts the key into the BIOS keyboard buffer itself, as if
// it had been typed ahead.
inline QByteArray promptComSource(char key)
{
    return "org 100h\n"
           "    mov cx, " +
           QByteArray::number(static_cast<unsigned char>(key)) +
           "\n"
           "    mov ah, 5\n"
           "    int 16h\n"
           "    mov dx, prompt\n"
           "    mov ah, 9\n"
           "    int 21h\n"
           "    mov ah, 1\n"
           "    int 21h\n"
           "    mov [answer], al\n"
           "    mov dx, said\n"
           "    mov ah, 9\n"
           "    int 21h\n"
           "    mov ax, 0B800h\n"
           "    mov ds, ax\n"
           "    xor si, si\n"
           "    mov di, screen\n"
           "    mov cx, 80 * 25\n"
           "copy: lodsw\n"
           "    stosb\n"
           "    loop copy\n"
           "    push cs\n"
           "    pop ds\n"
           "    mov ah, 3Ch\n"
           "    xor cx, cx\n"
           "    mov dx, screenFile\n"
           "    int 21h\n"
           "    mov bx, ax\n"
           "    mov dx, screen\n"
           "    mov cx, 80 * 25\n"
           "    mov ah, 40h\n"
           "    int 21h\n"
           "    mov ah, 3Eh\n"
           "    int 21h\n"
           "    mov ax, 4C00h\n"
           "    int 21h\n"
           "prompt db 'Press a key: $'\n"
           "said db 13, 10, 'You pressed '\n"
           "answer db '?', 13, 10, '$'\n"
           "screenFile db 'SCREEN.TXT', 0\n"
           "screen:\n";
}

} // namespace velmora::testing
