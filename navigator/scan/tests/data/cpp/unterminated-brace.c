int Before() { return 0; }
int Body() {
  if (x) {
