; Шаблон Velmora по умолчанию: небольшая программа DOS в формате .exe.
; F7 - ассемблировать, F8 - скомпоновать, F9 - запустить (или всё сразу: Ctrl+F9).

        .model small            ; один сегмент кода, один сегмент данных
        .stack 100h             ; 256 байт под стек

        .data
message db      'Hello, world!', 13, 10, '$'   ; текст для функции DOS 09h, в конце '$'

        .code
start:
        mov     ax, @data       ; DS должен указывать на сегмент данных:
        mov     ds, ax          ; DOS запускает .exe с DS = сегмент PSP

        mov     ah, 09h         ; функция DOS 09h: вывести строку по адресу DS:DX
        mov     dx, offset message
        int     21h

        ; Здесь ваш код.

        mov     ax, 4C00h       ; функция DOS 4Ch: завершить программу, код возврата 0
        int     21h

        end     start           ; программа начинается с метки start
