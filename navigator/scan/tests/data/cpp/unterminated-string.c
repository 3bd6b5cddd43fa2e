int Before() { return 0; }
char* s = "never closed