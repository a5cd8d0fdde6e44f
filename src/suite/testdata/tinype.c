int start(void) { return 0; }
