#if 0
This isn't code, it's a note with "one quote.
#endif
int AfterNote() { return 0; }
char c = '{';
int AfterBraceChar() { return 1; }
char* s = "}\"{";
int AfterEscapes() { return 2; }
