@ The BIOS unpacking functions, called with the source in r0 and the destination in r1.
    .text
    .thumb
    .global biosLz77Wram, biosLz77Vram, biosRleWram, biosRleVram
    .thumb_func
biosLz77Wram:
    swi     0x11
    bx      lr
    .thumb_func
biosLz77Vram:
    swi     0x12
    bx      lr
    .thumb_func
biosRleWram:
    swi     0x14
    bx      lr
    .thumb_func
biosRleVram:
    swi     0x15
    bx      lr
