// empty_program: a Windows program that starts and ends at once, built as install_bench is
// (statically linked, the same runtime). The start and end of a process under Wine, which
// scripts/bench-install takes off install_bench's whole-process time, as it takes an empty
// NSIS installer's off NSIS's.
int main() { return 0; }
