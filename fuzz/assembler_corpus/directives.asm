show    macro   c
        local   l
l:      mov     dl,c
        endm
point   struc
x       dw      0
point   ends
f       record  a:3,b:5
code    segment
        assume  cs:code
        org     100h
start:  show    'A'
        rept    2
        nop
        endm
if 1
p       point   <5>
endif
code    ends
        end     start
