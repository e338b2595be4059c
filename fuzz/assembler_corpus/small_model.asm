        .model  small
        .stack  100h
        .data
msg     db      'hi',13,10,'$'
val     dw      3 dup(?)
        .code
start:  mov     ax,@data
        mov     ds,ax
        mov     dx,offset msg
        jmp     done
        mov     [bx+si+2],cl
done:   mov     ax,4C00h
        int     21h
        end     start
