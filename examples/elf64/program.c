/* Writes a greeting and exits, with no C library: a small 64-bit program. */
static const char greeting[] = "Kestrix\n";

void _start(void)
{
    long ret;
    __asm__ volatile("syscall" : "=a"(ret) : "a"(1), "D"(1), "S"(greeting), "d"(sizeof greeting - 1) : "rcx", "r11", "memory");
    __asm__ volatile("syscall" : : "a"(60), "D"(0) : "rcx", "r11");
    for (;;) {}
}
