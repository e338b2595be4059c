; Velmora default template: a small DOS .exe program.
; Assemble with F7, link with F8, run with F9 (or all three with Ctrl+F9).

        .model small            ; one code segment, one data segment
        .stack 100h             ; 256 bytes of stack

        .data
message db      'Hello, world!', 13, 10, '$'   ; text for DOS function 09h, ends with '$'

        .code
start:
        mov     ax, @data       ; DS must point to the data segment:
        mov     ds, ax          ; DOS starts an .exe with DS = the PSP segment

        mov     ah, 09h         ; DOS function 09h: print the string at DS:DX
        mov     dx, offset message
        int     21h

        ; Your code goes here.

        mov     ax, 4C00h       ; DOS function 4Ch: end the program, return code 0
        int     21h

        end     start           ; the program starts at the label start
