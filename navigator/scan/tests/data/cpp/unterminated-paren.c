int Before() { return 0; }
int Open(int a,
  int b