#include <cstdio>
int main() { std::puts("tilesmithery"); return 0; }
