@ Start-up code of the test program: the cartridge header, stacks, .data copied from ROM and
@ .bss cleared, then main (Thumb).
    .section .crt0, "ax"
    .arm
    .global _start
_start:
    b       reset
    .fill   0xB2 - 4, 1, 0      @ logo, title, codes: not checked without the real BIOS
    .byte   0x96                @ fixed value of the header
    .fill   0xC0 - 0xB3, 1, 0
reset:
    mov     r0, #0x12           @ IRQ mode stack
    msr     cpsr_c, r0
    ldr     sp, =0x03007FA0
    mov     r0, #0x1F           @ system mode stack
    msr     cpsr_c, r0
    ldr     sp, =0x03007F00
    ldr     r0, =__data_load
    ldr     r1, =__data_start
    ldr     r2, =__data_end
1:  cmp     r1, r2
    ldrlo   r3, [r0], #4
    strlo   r3, [r1], #4
    blo     1b
    ldr     r1, =__bss_start
    ldr     r2, =__bss_end
    mov     r3, #0
2:  cmp     r1, r2
    strlo   r3, [r1], #4
    blo     2b
    ldr     r0, =main
    mov     lr, pc
    bx      r0
3:  b       3b
    .pool
