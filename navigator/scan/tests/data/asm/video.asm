; VIDEO.ASM - low-level screen output for the terminal emulator
        .386
        .MODEL FLAT, STDCALL
        INCLUDE video.inc
        INCLUDE <windows.inc>

COMMENT ~
        This whole block is commentary.
Fake    PROC NEAR
        ~

CELL    STRUC
Char    DB ?
Attr    DB ?
CELL    ENDS

POINT   STRUCT
x       DD ?
y       DD ?
POINT   ENDS

PushAll MACRO regs
        IRP r, <regs>
        push r
        ENDM
ENDM

        EXTRN GetStdHandle:PROC
        ECHO  building PROC tables

        .DATA
hOut    DD 0
msg     DB "PROC inside a string", 0

        .CODE
PutChar PROC NEAR USES ebx esi, ch:BYTE
        mov  al, ch
        ret
PutChar ENDP

ClearScreen     PROC    FAR   PASCAL   ; clears all of it
        ret
ClearScreen     ENDP

PROC Start
        call ClearScreen
        ret
Start   ENDP

        CPROC  InitVideo, near
        BEGINPROC ShutVideo
        mov eax, <1 PROC
        2> ; the angle text above hides this PROC
AfterAngle PROC
        ret
AfterAngle ENDP
