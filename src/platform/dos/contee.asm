; CONTEE.COM: runs a DOS program so that what it prints shows on the screen and is also
; kept in a capture file.
;
;     CONTEE [/K] capture-file program [tail]
;
; While the program runs, INT 21h is hooked. Console output through DOS (functions 02h,
; 06h, 09h, and 40h to a handle that is the console) is appended to the capture file
; before DOS shows it; for the functions that echo what they read (01h, 0Ah, 0Ch with
; either, and 3Fh from the console) DOS runs first and the echoed text is appended after.
; Writes to files and other devices, including a standard output the program redirected
; itself, are left alone. The program gets the tail as written, leading blank included.
; With /K the screen is cleared first, and after the program ends a note asks for a key,
; so that its window stays open to be read. Ends with the program's return code.
;
; The capture file is a handle of our own PSP: while the program runs its PSP is current,
; so each write makes ours current around it. The program does not inherit the handle: its
; entry in our handle table is put in place only around our own writes. Our own DOS calls
; go straight to the previous handler, so the hook never sees them.

        cpu 8086
        org 100h

%macro dos 0                            ; INT 21h past our hook
        pushf
        call far [cs:old21]
%endmacro

section .text

start:
        mov sp, stack_top
        mov bx, image_end + 15          ; keep only our image and stack: the program
        mov cl, 4                       ; gets the rest of memory
        shr bx, cl
        mov ah, 4Ah
        int 21h
        call parse_tail
        jnc create_capture
        mov dx, usage_text
        mov cx, usage_length
        call show
        mov ax, 4C01h
        int 21h

create_capture:
        mov dx, capture_name
        xor cx, cx
        mov ah, 3Ch
        int 21h
        jnc .created
        mov dx, no_capture_text
        mov cx, no_capture_length
        call show
        mov ax, 4C01h
        int 21h
.created:
        mov [capture], ax
        call conceal
        cmp byte [keep_open], 0
        je .hook
        mov ax, 0003h                   ; a clean text screen for the program
        int 10h
.hook:
        mov ax, 3521h
        int 21h
        mov [old21], bx
        mov [old21 + 2], es
        push cs
        pop es
        mov dx, hook21
        mov ax, 2521h
        int 21h

        mov dx, program_name
        mov bx, exec_block
        mov [exec_block + 4], cs
        mov [exec_block + 8], cs
        mov [exec_block + 12], cs
        mov ax, 4B00h
        int 21h
        cli                             ; EXEC may leave any register but CS:IP changed
        mov bx, cs
        mov ss, bx
        mov sp, stack_top
        sti
        mov ds, bx
        mov es, bx
        jnc ran
        push ax
        call unhook
        mov dx, cannot_run_text
        mov cx, cannot_run_length
        call show_and_capture
        pop ax
        call show_error_number
        mov byte [return_code], 0FFh
        jmp finish

ran:
        call unhook
        mov ah, 4Dh
        int 21h
        mov [return_code], al

finish:
        call reveal
        mov bx, [capture]
        mov ah, 3Eh
        int 21h
        cmp byte [keep_open], 0
        je .exit
        mov ah, 0Fh                     ; BH := active page
        int 10h
        mov ah, 03h                     ; DL := cursor column
        int 10h
        test dl, dl                     ; the note starts a line of its own
        mov dx, close_note
        jz .note
        mov dx, new_line
.note:
        mov ah, 09h
        int 21h
        mov ax, 0C08h                   ; drop keys typed before, then wait for one
        int 21h
.exit:
        mov al, [return_code]
        mov ah, 4Ch
        int 21h

; Gives INT 21h back to the handler it had before.
unhook:
        push ds
        lds dx, [old21]
        mov ax, 2521h
        int 21h
        pop ds
        ret

; Reads our command tail: an optional /K, the capture file's name and the program's name
; (each made NUL-terminated), and the rest, as written, as the program's tail, whose FCBs
; are then parsed. CF set when a name is missing.
parse_tail:
        cld
        mov si, 81h
        call skip_blanks
        cmp word [si], '/K'
        je .keep
        cmp word [si], '/k'
        jne .names
.keep:
        mov byte [keep_open], 1
        add si, 2
        call skip_blanks
.names:
        mov di, capture_name
        call copy_word
        jc .done
        call skip_blanks
        mov di, program_name
        call copy_word
        jc .done
        mov di, program_tail + 1
        xor cx, cx
.rest:
        lodsb
        stosb
        cmp al, 0Dh
        je .tail_end
        inc cx
        jmp .rest
.tail_end:
        mov [program_tail], cl
        mov si, program_tail + 1
        mov di, fcb1
        mov ax, 2901h
        int 21h
        mov di, fcb2
        mov ax, 2901h
        int 21h
        clc
.done:
        ret

skip_blanks:
        cmp byte [si], ' '
        je .next
        cmp byte [si], 9
        jne .done
.next:
        inc si
        jmp skip_blanks
.done:
        ret

; Copies the word at SI to DI with a NUL after it; SI stops at the blank or CR after the
; word. CF set when there is no word.
copy_word:
        mov bx, di
.next:
        mov al, [si]
        cmp al, ' '
        je .end
        cmp al, 9
        je .end
        cmp al, 0Dh
        je .end
        stosb
        inc si
        jmp .next
.end:
        mov byte [di], 0
        cmp bx, di
        je .empty
        clc
        ret
.empty:
        stc
        ret

; Writes CX bytes at DS:DX to the screen (standard error: the program is not running).
show:
        mov bx, 2
        mov ah, 40h
        int 21h
        ret

; The same, and into the capture file.
show_and_capture:
        call show
        call reveal
        mov bx, [capture]
        mov ah, 40h
        int 21h
        call conceal
        ret

; The capture file's entry in our handle table (at 18h in the PSP) is kept empty, so that
; EXEC, which copies the table to the program's PSP, does not hand the program the file:
; DOS does not always honour the no-inherit flag. Both keep every register and flag.
conceal:
        push ax
        push bx
        mov bx, [cs:capture]
        mov al, 0FFh
        xchg al, [cs:bx + 18h]
        mov [cs:capture_entry], al
        pop bx
        pop ax
        ret

reveal:
        push ax
        push bx
        mov bx, [cs:capture]
        mov al, [cs:capture_entry]
        mov [cs:bx + 18h], al
        pop bx
        pop ax
        ret

; Shows and captures AL in decimal, then a line end.
show_error_number:
        mov di, number_text + 3
        mov bl, 10
.digit:
        xor ah, ah
        div bl
        add ah, '0'
        dec di
        mov [di], ah
        test al, al
        jnz .digit
        mov dx, di
        mov cx, number_text + number_length
        sub cx, di
        jmp show_and_capture

; INT 21h while the program runs.
hook21:
        sti
        cmp ah, 02h
        je .output_dl
        cmp ah, 06h
        je .direct
        cmp ah, 09h
        je .output_string
        cmp ah, 40h
        je .output_handle
        cmp ah, 01h
        je .read_char
        cmp ah, 0Ah
        je .read_line
        cmp ah, 3Fh
        je .read_handle
        cmp ah, 0Ch
        je .flush_then
.chain:
        jmp far [cs:old21]

.flush_then:                            ; AL names the function run after the flush
        cmp al, 01h
        je .read_char
        cmp al, 0Ah
        je .read_line
        cmp al, 06h
        jne .chain
.direct:
        cmp dl, 0FFh                    ; DL FFh reads a key, without echo
        je .chain
.output_dl:
        push ax
        mov al, dl
        call capture_char
        pop ax
        jmp .chain
.output_string:
        call capture_string
        jmp .chain
.output_handle:
        call capture_handle_output
        jmp .chain

; The reading functions return through here with DOS's flags.
.read_char:
        dos
        pushf
        test al, al                     ; 0 starts an extended key: nothing shows
        jz .return
        call capture_char
        jmp .return
.read_line:
        dos
        pushf
        call capture_line
        jmp .return
.read_handle:
        dos
        pushf
        jc .return
        call capture_console_read
.return:
        popf
        retf 2

; The capture routines keep every register but the flags.

; AL, when standard output is the console.
capture_char:
        push bx
        mov bx, 1
        call is_console_output
        jc .done
        push cx
        push dx
        push ds
        mov [cs:one_char], al
        push cs
        pop ds
        mov dx, one_char
        mov cx, 1
        call append
        pop ds
        pop dx
        pop cx
.done:
        pop bx
        ret

; The "$"-terminated string at DS:DX, when standard output is the console.
capture_string:
        push bx
        mov bx, 1
        call is_console_output
        jc .done
        push ax
        push cx
        push di
        push es
        push ds
        pop es
        mov di, dx
        mov al, '$'
        mov cx, 0FFFFh
        cld
        repne scasb
        jne .unterminated
        not cx
        dec cx
        call append
.unterminated:
        pop es
        pop di
        pop cx
        pop ax
.done:
        pop bx
        ret

; CX bytes at DS:DX written to handle BX, when that handle is the console.
capture_handle_output:
        jcxz .done
        call is_console_output
        jc .done
        call append
.done:
        ret

; The line function 0Ah read into the buffer at DS:DX, with its CR, when standard output
; is the console.
capture_line:
        push bx
        push cx
        push dx
        mov bx, dx
        cmp byte [bx], 0                ; no room: DOS read nothing
        je .done
        mov cl, [bx + 1]
        xor ch, ch
        inc cx
        add dx, 2
        mov bx, 1
        call is_console_output
        jc .done
        call append
.done:
        pop dx
        pop cx
        pop bx
        ret

; The AX bytes at DS:DX read from handle BX, when that handle is the console: DOS echoed
; them.
capture_console_read:
        test ax, ax
        jz .done
        call is_console_input
        jc .done
        push cx
        mov cx, ax
        call append
        pop cx
.done:
        ret

; CF clear when handle BX is the console's output (or input): a character device whose
; device information has that bit.
is_console_output:
        push dx
        mov dl, 82h
        jmp short device_has
is_console_input:
        push dx
        mov dl, 81h
device_has:
        push ax
        push cx
        mov cl, dl
        mov ax, 4400h
        dos
        jc .done
        and dl, cl
        cmp dl, cl
        je .done                        ; equal: CF is clear
        stc
.done:
        pop cx
        pop ax
        pop dx
        ret

; Appends CX bytes at DS:DX to the capture file, with our PSP current for the write.
append:
        push ax
        push bx
        push cx
        mov ah, 51h
        dos
        push bx
        mov bx, cs                      ; a .com's PSP is its code segment
        mov ah, 50h
        dos
        call reveal
        mov bx, [cs:capture]
        mov ah, 40h
        dos
        call conceal
        pop bx
        mov ah, 50h
        dos
        pop cx
        pop bx
        pop ax
        ret

old21           dd 0
capture         dw 0
capture_entry   db 0FFh
keep_open       db 0
return_code     db 0
one_char        db 0
exec_block      dw 0                    ; the environment: a copy of ours
                dw program_tail, 0
                dw fcb1, 0
                dw fcb2, 0

usage_text      db 'Usage: CONTEE [/K] capture-file program [arguments]', 13, 10
usage_length    equ $ - usage_text
no_capture_text db 'The capture file cannot be created.', 13, 10
no_capture_length equ $ - no_capture_text
cannot_run_text db 13, 10, 'The program cannot be started. DOS error '
cannot_run_length equ $ - cannot_run_text
number_text     db '   ', 13, 10
number_length   equ $ - number_text
new_line        db 13, 10               ; runs on into the note
close_note      db 'Press any key to close this window.$'

section .bss

capture_name    resb 128
program_name    resb 128
program_tail    resb 129
fcb1            resb 37
fcb2            resb 37
                resb 512
stack_top:
image_end:
