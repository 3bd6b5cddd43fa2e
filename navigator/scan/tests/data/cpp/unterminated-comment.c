int Before() { return 0; }
/* never closed
int Hidden() { return 1; }
